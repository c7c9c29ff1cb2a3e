// The rows of the built-in global functions, in the order compiled images and
// plug-ins were built against. Each row's entry point is referred to weakly
// under its export name, without its real header: the row fills itself when
// the function is linked into the runtime and stays nil until then.
// Parameters are written as the language declares them; the table's builder
// turns them into parameter records.
#include "runtime/exports/GlobalFunctionRows.h"

// clang-format off
extern "C" void ApplicationQuit() __attribute__((weak));
extern "C" void BitwiseAnd() __attribute__((weak));
extern "C" void BitwiseOr() __attribute__((weak));
extern "C" void BitwiseXor() __attribute__((weak));
extern "C" void GetDocumentsFolder() __attribute__((weak));
extern "C" void GetEncodingsObject() __attribute__((weak));
extern "C" void GlobalShowURL() __attribute__((weak));
extern "C" void IsCMMClick() __attribute__((weak));
extern "C" void IsNull() __attribute__((weak));
extern "C" void RuntimeACos() __attribute__((weak));
extern "C" void RuntimeASin() __attribute__((weak));
extern "C" void RuntimeATan() __attribute__((weak));
extern "C" void RuntimeATan2() __attribute__((weak));
extern "C" void RuntimeAbs() __attribute__((weak));
extern "C" void RuntimeAddIntegerScriptParam() __attribute__((weak));
extern "C" void RuntimeAddStringScriptParam() __attribute__((weak));
extern "C" void RuntimeBeep() __attribute__((weak));
extern "C" void RuntimeBin() __attribute__((weak));
extern "C" void RuntimeCMY() __attribute__((weak));
extern "C" void RuntimeCeil() __attribute__((weak));
extern "C" void RuntimeCompleteParamScriptExecute() __attribute__((weak));
extern "C" void RuntimeCompleteParamScriptFunction() __attribute__((weak));
extern "C" void RuntimeConsoleInput() __attribute__((weak));
extern "C" void RuntimeConsolePrint() __attribute__((weak));
extern "C" void RuntimeCos() __attribute__((weak));
extern "C" void RuntimeDebugInstance() __attribute__((weak));
extern "C" void RuntimeDebuggerBreak() __attribute__((weak));
extern "C" void RuntimeExp() __attribute__((weak));
extern "C" void RuntimeFloor() __attribute__((weak));
extern "C" void RuntimeGetDefaultApplicationRegistryItem() __attribute__((weak));
extern "C" void RuntimeGetEndOfLineObject() __attribute__((weak));
extern "C" void RuntimeGetFolderItem() __attribute__((weak));
extern "C" void RuntimeGetImplicitWindow() __attribute__((weak));
extern "C" void RuntimeGetOpenFolderItem() __attribute__((weak));
extern "C" void RuntimeGetSaveFolderItem() __attribute__((weak));
extern "C" void RuntimeGetStdErr() __attribute__((weak));
extern "C" void RuntimeGetStdIn() __attribute__((weak));
extern "C" void RuntimeGetStdOut() __attribute__((weak));
extern "C" void RuntimeGetTrueFolderItem() __attribute__((weak));
extern "C" void RuntimeHSV() __attribute__((weak));
extern "C" void RuntimeHex() __attribute__((weak));
extern "C" void RuntimeInstallInstanceEventHandler() __attribute__((weak));
extern "C" void RuntimeIsNumeric() __attribute__((weak));
extern "C" void RuntimeLog() __attribute__((weak));
extern "C" void RuntimeMassPropertySetter() __attribute__((weak));
extern "C" void RuntimeMax() __attribute__((weak));
extern "C" void RuntimeMicroseconds() __attribute__((weak));
extern "C" void RuntimeMin() __attribute__((weak));
extern "C" void RuntimeMsgBox() __attribute__((weak));
extern "C" void RuntimeOct() __attribute__((weak));
extern "C" void RuntimeOpenPrinter() __attribute__((weak));
extern "C" void RuntimeOpenPrinterDialog() __attribute__((weak));
extern "C" void RuntimePow() __attribute__((weak));
extern "C" void RuntimeRGB() __attribute__((weak));
extern "C" void RuntimeReplaceLineEndings() __attribute__((weak));
extern "C" void RuntimeRound() __attribute__((weak));
extern "C" void RuntimeScriptExecute() __attribute__((weak));
extern "C" void RuntimeScriptFunction() __attribute__((weak));
extern "C" void RuntimeSelectFolder() __attribute__((weak));
extern "C" void RuntimeSign() __attribute__((weak));
extern "C" void RuntimeSin() __attribute__((weak));
extern "C" void RuntimeSpeak() __attribute__((weak));
extern "C" void RuntimeSqrt() __attribute__((weak));
extern "C" void RuntimeStartParamScript() __attribute__((weak));
extern "C" void RuntimeTan() __attribute__((weak));
extern "C" void RuntimeTicks() __attribute__((weak));
extern "C" void RuntimeUBound() __attribute__((weak));
extern "C" void RuntimeUBound2Param() __attribute__((weak));
extern "C" void RuntimeUnhandledException() __attribute__((weak));
extern "C" void StringAsc() __attribute__((weak));
extern "C" void StringChr() __attribute__((weak));
extern "C" void StringConvertEncoding() __attribute__((weak));
extern "C" void StringCountFields() __attribute__((weak));
extern "C" void StringDBCSAsc() __attribute__((weak));
extern "C" void StringDBCSChr() __attribute__((weak));
extern "C" void StringDBCSLeft() __attribute__((weak));
extern "C" void StringDBCSLen() __attribute__((weak));
extern "C" void StringDBCSMid2() __attribute__((weak));
extern "C" void StringDBCSMid3() __attribute__((weak));
extern "C" void StringDBCSRight() __attribute__((weak));
extern "C" void StringExtendsInStr() __attribute__((weak));
extern "C" void StringExtendsInStrB() __attribute__((weak));
extern "C" void StringFormat() __attribute__((weak));
extern "C" void StringGetEncoding() __attribute__((weak));
extern "C" void StringInStr() __attribute__((weak));
extern "C" void StringInStrB() __attribute__((weak));
extern "C" void StringJoin() __attribute__((weak));
extern "C" void StringLCase() __attribute__((weak));
extern "C" void StringLeft() __attribute__((weak));
extern "C" void StringLen() __attribute__((weak));
extern "C" void StringMid2() __attribute__((weak));
extern "C" void StringMid3() __attribute__((weak));
extern "C" void StringNthField() __attribute__((weak));
extern "C" void StringReplace() __attribute__((weak));
extern "C" void StringReplaceAll() __attribute__((weak));
extern "C" void StringReplaceAllB() __attribute__((weak));
extern "C" void StringReplaceB() __attribute__((weak));
extern "C" void StringRight() __attribute__((weak));
extern "C" void StringSetEncoding() __attribute__((weak));
extern "C" void StringSplit() __attribute__((weak));
extern "C" void StringStr() __attribute__((weak));
extern "C" void StringStrCompare() __attribute__((weak));
extern "C" void StringTitleCase() __attribute__((weak));
extern "C" void StringUCase() __attribute__((weak));
extern "C" void StringVal() __attribute__((weak));
extern "C" void VB_RuntimeMsgBox() __attribute__((weak));
extern "C" void VarType() __attribute__((weak));
extern "C" void clearFocus() __attribute__((weak));
extern "C" void debugDumpObjects() __attribute__((weak));
extern "C" void enableMenuItems() __attribute__((weak));
extern "C" void exportPicture() __attribute__((weak));
extern "C" void getAppObject() __attribute__((weak));
extern "C" void getAppleEventTarget() __attribute__((weak));
extern "C" void getAppleMenuFolder() __attribute__((weak));
extern "C" void getApplicationSupportFolder() __attribute__((weak));
extern "C" void getArrowCursor() __attribute__((weak));
extern "C" void getControlPanelsFolder() __attribute__((weak));
extern "C" void getDarkBevelColor() __attribute__((weak));
extern "C" void getDarkTingeColor() __attribute__((weak));
extern "C" void getDesktopFolder() __attribute__((weak));
extern "C" void getExtensionsFolder() __attribute__((weak));
extern "C" void getFillColor() __attribute__((weak));
extern "C" void getFontCount() __attribute__((weak));
extern "C" void getFontName() __attribute__((weak));
extern "C" void getFontTextEncoding() __attribute__((weak));
extern "C" void getFontsFolder() __attribute__((weak));
extern "C" void getFrameColor() __attribute__((weak));
extern "C" void getHilightColor() __attribute__((weak));
extern "C" void getIBeamCursor() __attribute__((weak));
extern "C" void getIndexedObjectDescriptor() __attribute__((weak));
extern "C" void getInternetTextEncoding() __attribute__((weak));
extern "C" void getKeyboardObject() __attribute__((weak));
extern "C" void getLightBevelColor() __attribute__((weak));
extern "C" void getLightTingeColor() __attribute__((weak));
extern "C" void getNamedObjectDescriptor() __attribute__((weak));
extern "C" void getOrdinalObjectDescriptor() __attribute__((weak));
extern "C" void getPreferencesFolder() __attribute__((weak));
extern "C" void getPropertyObjectDescriptor() __attribute__((weak));
extern "C" void getRangeObjectDescriptor() __attribute__((weak));
extern "C" void getScreen() __attribute__((weak));
extern "C" void getScreenCount() __attribute__((weak));
extern "C" void getShutdownItemsFolder() __attribute__((weak));
extern "C" void getStartupItemsFolder() __attribute__((weak));
extern "C" void getStringComparisonObjectDescriptor() __attribute__((weak));
extern "C" void getSystemFolder() __attribute__((weak));
extern "C" void getSystemObject() __attribute__((weak));
extern "C" void getTemporaryFolderItem() __attribute__((weak));
extern "C" void getTemporaryItemsFolder() __attribute__((weak));
extern "C" void getTestObjectDescriptor() __attribute__((weak));
extern "C" void getTextColor() __attribute__((weak));
extern "C" void getTextConverter() __attribute__((weak));
extern "C" void getTextEncoding() __attribute__((weak));
extern "C" void getTrashFolder() __attribute__((weak));
extern "C" void getUniqueIDObjectDescriptor() __attribute__((weak));
extern "C" void getUserCancelled() __attribute__((weak));
extern "C" void getVolume() __attribute__((weak));
extern "C" void getVolumeCount() __attribute__((weak));
extern "C" void getWatchCursor() __attribute__((weak));
extern "C" void getWindow() __attribute__((weak));
extern "C" void getWindowCount() __attribute__((weak));
extern "C" void guessJapaneseEncoding() __attribute__((weak));
extern "C" void newAppleEventObject() __attribute__((weak));
extern "C" void newAppleEventTarget() __attribute__((weak));
extern "C" void newMemoryBlock() __attribute__((weak));
extern "C" void newPicture() __attribute__((weak));
extern "C" void newZANTDatabase() __attribute__((weak));
extern "C" void openURLMovie() __attribute__((weak));
extern "C" void openZANTDatabase() __attribute__((weak));
extern "C" void parseDate() __attribute__((weak));
extern "C" void rnd() __attribute__((weak));
extern "C" void runCDbl() __attribute__((weak));
extern "C" void runCStr() __attribute__((weak));
extern "C" void runLTrim() __attribute__((weak));
extern "C" void runRTrim() __attribute__((weak));
extern "C" void runTrim() __attribute__((weak));
extern "C" void selectColor() __attribute__((weak));

namespace {
constexpr int32_t UI = 0;                      // only with a user interface
constexpr int32_t ANY = kConsoleAvailableFlag; // also in console applications
constexpr int32_t CONSOLE = kConsoleOnlyFlags; // only in console applications
} // namespace

#define ENTRY(function) function, #function

const GlobalFunctionRow kGlobalFunctionRows[kGlobalFunctionRowCount] = {
    /*   0 */ {"OpenURLMovie", "url As String", "Movie", ENTRY(openURLMovie), UI},
    /*   1 */ {"Speak", "text As String, interrupt As Boolean = 0", nullptr, ENTRY(RuntimeSpeak), UI},
    /*   2 */ {"Window", "index As Integer", "Window", ENTRY(getWindow), UI},
    /*   3 */ {"WatchCursor", "", "MouseCursor", ENTRY(getWatchCursor), UI},
    /*   4 */ {"IBeamCursor", "", "MouseCursor", ENTRY(getIBeamCursor), UI},
    /*   5 */ {"ArrowCursor", "", "MouseCursor", ENTRY(getArrowCursor), UI},
    /*   6 */ {"App", "", "Application", ENTRY(getAppObject), ANY},
    /*   7 */ {"Screen", "value As Integer", "Screen", ENTRY(getScreen), UI},
    /*   8 */ {"_GetImplicitWindow", "className As String", "Window", ENTRY(RuntimeGetImplicitWindow), UI},
    /*   9 */ {"OpenPrinter", "setup As PrinterSetup", "Graphics", ENTRY(RuntimeOpenPrinter), ANY},
    /*  10 */ {"OpenPrinterDialog", "setup As PrinterSetup, parent As Window", "Graphics", ENTRY(RuntimeOpenPrinterDialog), UI},
    /*  11 */ {"ScreenCount", "", "Integer", ENTRY(getScreenCount), UI},
    /*  12 */ {"GetNamedObjectDescriptor", "classID As String, container As AppleEventObjectSpecifier, name As String", "AppleEventObjectSpecifier", ENTRY(getNamedObjectDescriptor), UI},
    /*  13 */ {"GetUniqueIDObjectDescriptor", "classID As String, container As AppleEventObjectSpecifier, id As Integer", "AppleEventObjectSpecifier", ENTRY(getUniqueIDObjectDescriptor), UI},
    /*  14 */ {"GetIndexedObjectDescriptor", "classID As String, container As AppleEventObjectSpecifier, index As Integer", "AppleEventObjectSpecifier", ENTRY(getIndexedObjectDescriptor), UI},
    /*  15 */ {"GetPropertyObjectDescriptor", "container As AppleEventObjectSpecifier, propertyID As String", "AppleEventObjectSpecifier", ENTRY(getPropertyObjectDescriptor), UI},
    /*  16 */ {"GetOrdinalObjectDescriptor", "classID As String, container As AppleEventObjectSpecifier, ordinal As String", "AppleEventObjectSpecifier", ENTRY(getOrdinalObjectDescriptor), UI},
    /*  17 */ {"GetStringComparisonObjectDescriptor", "comparisonKey As String, comparisonForm As String, field As String, value As String", "AppleEventObjectSpecifier", ENTRY(getStringComparisonObjectDescriptor), UI},
    /*  18 */ {"GetTestObjectDescriptor", "classID As String, container As AppleEventObjectSpecifier, test As AppleEventObjectSpecifier", "AppleEventObjectSpecifier", ENTRY(getTestObjectDescriptor), UI},
    /*  19 */ {"GetRangeObjectDescriptor", "classID As String, container As AppleEventObjectSpecifier, startObject As AppleEventObjectSpecifier, stopObject As AppleEventObjectSpecifier", "AppleEventObjectSpecifier", ENTRY(getRangeObjectDescriptor), UI},
    /*  20 */ {"NewAppleEvent", "eventClass As String, eventID As String, signature As String", "AppleEvent", ENTRY(newAppleEventObject), UI},
    /*  21 */ {"GetAppleEventTarget", "signature As String", "AppleEventTarget", ENTRY(getAppleEventTarget), UI},
    /*  22 */ {"NewAppleEventTarget", "signature As String", "AppleEventTarget", ENTRY(newAppleEventTarget), UI},
    /*  23 */ {"SelectColor", "ByRef value As Color, prompt As String", "Boolean", ENTRY(selectColor), UI},
    /*  24 */ {"MsgBox", "message As String", nullptr, ENTRY(RuntimeMsgBox), UI},
    /*  25 */ {"MsgBox", "message As String, buttons As Integer = 0, title As String = empty", "Integer", ENTRY(VB_RuntimeMsgBox), UI},
    /*  26 */ {"Quit", "status As Integer = 0", nullptr, ENTRY(ApplicationQuit), ANY},
    /*  27 */ {"Break", "", nullptr, ENTRY(RuntimeDebuggerBreak), ANY},
    /*  28 */ {"Rnd", "", "Double", ENTRY(rnd), ANY},
    /*  29 */ {"Ticks", "", "Integer", ENTRY(RuntimeTicks), ANY},
    /*  30 */ {"Microseconds", "", "Double", ENTRY(RuntimeMicroseconds), ANY},
    /*  31 */ {"Beep", "", nullptr, ENTRY(RuntimeBeep), UI},
    /*  32 */ {"AppleMenuFolder", "", "FolderItem", ENTRY(getAppleMenuFolder), ANY},
    /*  33 */ {"ControlPanelsFolder", "", "FolderItem", ENTRY(getControlPanelsFolder), ANY},
    /*  34 */ {"ExtensionsFolder", "", "FolderItem", ENTRY(getExtensionsFolder), ANY},
    /*  35 */ {"DesktopFolder", "", "FolderItem", ENTRY(getDesktopFolder), ANY},
    /*  36 */ {"PreferencesFolder", "", "FolderItem", ENTRY(getPreferencesFolder), ANY},
    /*  37 */ {"Runtime", "", "Runtime", ENTRY(RuntimeDebugInstance), ANY},
    /*  38 */ {"StartupItemsFolder", "", "FolderItem", ENTRY(getStartupItemsFolder), ANY},
    /*  39 */ {"ShutdownItemsFolder", "", "FolderItem", ENTRY(getShutdownItemsFolder), ANY},
    /*  40 */ {"ApplicationSupportFolder", "", "FolderItem", ENTRY(getApplicationSupportFolder), ANY},
    /*  41 */ {"FontsFolder", "", "FolderItem", ENTRY(getFontsFolder), ANY},
    /*  42 */ {"TrashFolder", "", "FolderItem", ENTRY(getTrashFolder), ANY},
    /*  43 */ {"SystemFolder", "", "FolderItem", ENTRY(getSystemFolder), ANY},
    /*  44 */ {"TemporaryFolder", "", "FolderItem", ENTRY(getTemporaryItemsFolder), ANY},
    /*  45 */ {"DocumentsFolder", "", "FolderItem", ENTRY(GetDocumentsFolder), ANY},
    /*  46 */ {"ShowURL", "url As String", nullptr, ENTRY(GlobalShowURL), UI},
    /*  47 */ {"UserCancelled", "", "Boolean", ENTRY(getUserCancelled), ANY},
    /*  48 */ {"FontCount", "", "Integer", ENTRY(getFontCount), UI},
    /*  49 */ {"FrameColor", "", "Color", ENTRY(getFrameColor), UI},
    /*  50 */ {"FillColor", "", "Color", ENTRY(getFillColor), UI},
    /*  51 */ {"TextColor", "", "Color", ENTRY(getTextColor), UI},
    /*  52 */ {"LightTingeColor", "", "Color", ENTRY(getLightTingeColor), UI},
    /*  53 */ {"DarkTingeColor", "", "Color", ENTRY(getDarkTingeColor), UI},
    /*  54 */ {"LightBevelColor", "", "Color", ENTRY(getLightBevelColor), UI},
    /*  55 */ {"DarkBevelColor", "", "Color", ENTRY(getDarkBevelColor), UI},
    /*  56 */ {"WindowCount", "", "Integer", ENTRY(getWindowCount), UI},
    /*  57 */ {"VolumeCount", "", "Integer", ENTRY(getVolumeCount), ANY},
    /*  58 */ {"IsCMMClick", "", "Boolean", ENTRY(IsCMMClick), UI},
    /*  59 */ {"HighlightColor", "", "Color", ENTRY(getHilightColor), UI},
    /*  60 */ {"Keyboard", "", "Keyboard", ENTRY(getKeyboardObject), ANY},
    /*  61 */ {"System", "", "System", ENTRY(getSystemObject), ANY},
    /*  62 */ {"ClearFocus", "", nullptr, ENTRY(clearFocus), UI},
    /*  63 */ {"EnableMenuItems", "", nullptr, ENTRY(enableMenuItems), UI},
    /*  64 */ {"DebugDumpObjects", "", nullptr, ENTRY(debugDumpObjects), ANY},
    /*  65 */ {"GetTemporaryFolderItem", "", "FolderItem", ENTRY(getTemporaryFolderItem), ANY},
    /*  66 */ {"Encodings", "", "Encodings", ENTRY(GetEncodingsObject), ANY},
    /*  67 */ {"_ScriptExecute", "source As String", nullptr, ENTRY(RuntimeScriptExecute), UI},
    /*  68 */ {"_AddStringScriptParam", "value As String", nullptr, ENTRY(RuntimeAddStringScriptParam), UI},
    /*  69 */ {"_AddIntegerScriptParam", "value As Integer", nullptr, ENTRY(RuntimeAddIntegerScriptParam), UI},
    /*  70 */ {"_CompleteParamScriptExecute", "source As String", nullptr, ENTRY(RuntimeCompleteParamScriptExecute), UI},
    /*  71 */ {"ReplaceLineEndings", "source As String, lineEnding As String", "String", ENTRY(RuntimeReplaceLineEndings), ANY},
    /*  72 */ {"EndOfLine", "", "EndOfLine", ENTRY(RuntimeGetEndOfLineObject), ANY},
    /*  73 */ {"GetFolderItem", "path As String", "FolderItem", ENTRY(RuntimeGetFolderItem), ANY},
    /*  74 */ {"GetTrueFolderItem", "path As String", "FolderItem", ENTRY(RuntimeGetTrueFolderItem), ANY},
    /*  75 */ {"GetOpenFolderItem", "filter As String", "FolderItem", ENTRY(RuntimeGetOpenFolderItem), UI},
    /*  76 */ {"GetSaveFolderItem", "filter As String, defaultName As String", "FolderItem", ENTRY(RuntimeGetSaveFolderItem), UI},
    /*  77 */ {"SelectFolder", "", "FolderItem", ENTRY(RuntimeSelectFolder), UI},
    /*  78 */ {"RGB", "red As Integer, green As Integer, blue As Integer", "Color", ENTRY(RuntimeRGB), ANY},
    /*  79 */ {"HSV", "hue As Double, saturation As Double, value As Double", "Color", ENTRY(RuntimeHSV), ANY},
    /*  80 */ {"CMY", "cyan As Double, magenta As Double, yellow As Double", "Color", ENTRY(RuntimeCMY), ANY},
    /*  81 */ {"LeftB", "source As String, count As Integer", "String", ENTRY(StringLeft), ANY},
    /*  82 */ {"Left", "source As String, count As Integer", "String", ENTRY(StringDBCSLeft), ANY},
    /*  83 */ {"RightB", "source As String, count As Integer", "String", ENTRY(StringRight), ANY},
    /*  84 */ {"Right", "source As String, count As Integer", "String", ENTRY(StringDBCSRight), ANY},
    /*  85 */ {"LenB", "source As String", "Integer", ENTRY(StringLen), ANY},
    /*  86 */ {"Len", "source As String", "Integer", ENTRY(StringDBCSLen), ANY},
    /*  87 */ {"AscB", "source As String", "Integer", ENTRY(StringAsc), ANY},
    /*  88 */ {"Asc", "source As String", "Integer", ENTRY(StringDBCSAsc), ANY},
    /*  89 */ {"ChrB", "value As Integer", "String", ENTRY(StringChr), ANY},
    /*  90 */ {"Chr", "value As Integer", "String", ENTRY(StringDBCSChr), ANY},
    /*  91 */ {"Val", "source As String", "Double", ENTRY(StringVal), ANY},
    /*  92 */ {"ACos", "value As Double", "Double", ENTRY(RuntimeACos), ANY},
    /*  93 */ {"ASin", "value As Double", "Double", ENTRY(RuntimeASin), ANY},
    /*  94 */ {"ATan", "value As Double", "Double", ENTRY(RuntimeATan), ANY},
    /*  95 */ {"ATan2", "y As Double, x As Double", "Double", ENTRY(RuntimeATan2), ANY},
    /*  96 */ {"Cos", "value As Double", "Double", ENTRY(RuntimeCos), ANY},
    /*  97 */ {"Exp", "value As Double", "Double", ENTRY(RuntimeExp), ANY},
    /*  98 */ {"Log", "value As Double", "Double", ENTRY(RuntimeLog), ANY},
    /*  99 */ {"Sin", "value As Double", "Double", ENTRY(RuntimeSin), ANY},
    /* 100 */ {"Pow", "base As Double, exponent As Double", "Double", ENTRY(RuntimePow), ANY},
    /* 101 */ {"Sqrt", "value As Double", "Double", ENTRY(RuntimeSqrt), ANY},
    /* 102 */ {"Tan", "value As Double", "Double", ENTRY(RuntimeTan), ANY},
    /* 103 */ {"Ceil", "value As Double", "Double", ENTRY(RuntimeCeil), ANY},
    /* 104 */ {"Floor", "value As Double", "Double", ENTRY(RuntimeFloor), ANY},
    /* 105 */ {"Round", "value As Double", "Double", ENTRY(RuntimeRound), ANY},
    /* 106 */ {"Abs", "value As Double", "Double", ENTRY(RuntimeAbs), ANY},
    /* 107 */ {"Sign", "value As Double", "Integer", ENTRY(RuntimeSign), ANY},
    /* 108 */ {"Max", "a As Double, b As Double", "Double", ENTRY(RuntimeMax), ANY},
    /* 109 */ {"Min", "a As Double, b As Double", "Double", ENTRY(RuntimeMin), ANY},
    /* 110 */ {"Hex", "value As Integer", "String", ENTRY(RuntimeHex), ANY},
    /* 111 */ {"Oct", "value As Integer", "String", ENTRY(RuntimeOct), ANY},
    /* 112 */ {"Bin", "value As Integer", "String", ENTRY(RuntimeBin), ANY},
    /* 113 */ {"Replace", "source As String, oldText As String, newText As String", "String", ENTRY(StringReplace), ANY},
    /* 114 */ {"ReplaceAll", "source As String, oldText As String, newText As String", "String", ENTRY(StringReplaceAll), ANY},
    /* 115 */ {"ReplaceB", "source As String, oldText As String, newText As String", "String", ENTRY(StringReplaceB), ANY},
    /* 116 */ {"ReplaceAllB", "source As String, oldText As String, newText As String", "String", ENTRY(StringReplaceAllB), ANY},
    /* 117 */ {"Uppercase", "source As String", "String", ENTRY(StringUCase), ANY},
    /* 118 */ {"Lowercase", "source As String", "String", ENTRY(StringLCase), ANY},
    /* 119 */ {"Titlecase", "source As String", "String", ENTRY(StringTitleCase), ANY},
    /* 120 */ {"Encoding", "source As String", "TextEncoding", ENTRY(StringGetEncoding), ANY},
    /* 121 */ {"DefineEncoding", "source As String, encoding As TextEncoding", "String", ENTRY(StringSetEncoding), ANY},
    /* 122 */ {"ConvertEncoding", "source As String, encoding As TextEncoding", "String", ENTRY(StringConvertEncoding), ANY},
    /* 123 */ {"CountFields", "source As String, delimiter As String", "Integer", ENTRY(StringCountFields), ANY},
    /* 124 */ {"NthField", "source As String, delimiter As String, index As Integer", "String", ENTRY(StringNthField), ANY},
    /* 125 */ {"Split", "source As String, delimiter As String = \" \"", "String()", ENTRY(StringSplit), ANY},
    /* 126 */ {"Join", "fields() As String, delimiter As String = \" \"", "String", ENTRY(StringJoin), ANY},
    /* 127 */ {"StrComp", "a As String, b As String, mode As Integer", "Integer", ENTRY(StringStrCompare), ANY},
    /* 128 */ {"Format", "value As Double, pattern As String", "String", ENTRY(StringFormat), ANY},
    /* 129 */ {"NewPicture", "width As Integer, height As Integer, depth As Integer", "Picture", ENTRY(newPicture), ANY},
    /* 130 */ {"NewMemoryBlock", "size As Integer", "MemoryBlock", ENTRY(newMemoryBlock), ANY},
    /* 131 */ {"Font", "index As Integer", "String", ENTRY(getFontName), UI},
    /* 132 */ {"Volume", "index As Integer", "FolderItem", ENTRY(getVolume), ANY},
    /* 133 */ {"BitwiseAnd", "a As Integer, b As Integer", "Integer", ENTRY(BitwiseAnd), ANY},
    /* 134 */ {"BitwiseOr", "a As Integer, b As Integer", "Integer", ENTRY(BitwiseOr), ANY},
    /* 135 */ {"BitwiseXor", "a As Integer, b As Integer", "Integer", ENTRY(BitwiseXor), ANY},
    /* 136 */ {"CStr", "value As Variant", "String", ENTRY(runCStr), ANY},
    /* 137 */ {"CDbl", "source As String", "Double", ENTRY(runCDbl), ANY},
    /* 138 */ {"Trim", "source As String", "String", ENTRY(runTrim), ANY},
    /* 139 */ {"LTrim", "source As String", "String", ENTRY(runLTrim), ANY},
    /* 140 */ {"RTrim", "source As String", "String", ENTRY(runRTrim), ANY},
    /* 141 */ {"ExportPicture", "picture As Picture", "Boolean", ENTRY(exportPicture), UI},
    /* 142 */ {"VarType", "value As Variant", "Integer", ENTRY(VarType), ANY},
    /* 143 */ {"IsNumeric", "value As Variant", "Boolean", ENTRY(RuntimeIsNumeric), ANY},
    /* 144 */ {"IsNull", "value As Variant", "Boolean", ENTRY(IsNull), ANY},
    /* 145 */ {"ParseDate", "text As String, ByRef parsedDate As Date", "Boolean", ENTRY(parseDate), ANY},
    /* 146 */ {"GetTextEncoding", "base As Integer, variant As Integer = 0, format As Integer = 0", "TextEncoding", ENTRY(getTextEncoding), ANY},
    /* 147 */ {"GetInternetTextEncoding", "name As String", "TextEncoding", ENTRY(getInternetTextEncoding), ANY},
    /* 148 */ {"GetFontTextEncoding", "fontName As String", "TextEncoding", ENTRY(getFontTextEncoding), ANY},
    /* 149 */ {"GetTextConverter", "source As TextEncoding, destination As TextEncoding", "TextConverter", ENTRY(getTextConverter), ANY},
    /* 150 */ {"GuessJapaneseEncoding", "source As String", "TextEncoding", ENTRY(guessJapaneseEncoding), ANY},
    /* 151 */ {"NewZANTDatabaseOldFormat", "file As FolderItem", "Database", ENTRY(newZANTDatabase), ANY},
    /* 152 */ {"OpenZANTDatabaseOldFormat", "file As FolderItem", "Database", ENTRY(openZANTDatabase), ANY},
    /* 153 */ {"GetApplicationRegistryItem", "", "RegistryItem", ENTRY(RuntimeGetDefaultApplicationRegistryItem), ANY},
    /* 154 */ {"Print", "message As String", nullptr, ENTRY(RuntimeConsolePrint), CONSOLE},
    /* 155 */ {"Input", "", "String", ENTRY(RuntimeConsoleInput), CONSOLE},
    /* 156 */ {"stdin", "", "StandardInputStream", ENTRY(RuntimeGetStdIn), CONSOLE},
    /* 157 */ {"stdout", "", "StandardOutputStream", ENTRY(RuntimeGetStdOut), CONSOLE},
    /* 158 */ {"stderr", "", "StandardOutputStream", ENTRY(RuntimeGetStdErr), CONSOLE},
    /* 159 */ {"_ScriptFunction", "source As String", "String", ENTRY(RuntimeScriptFunction), UI},
    /* 160 */ {"_StartParamScript", "source As String", nullptr, ENTRY(RuntimeStartParamScript), UI},
    /* 161 */ {"_CompleteParamScriptFunction", "source As String", "String", ENTRY(RuntimeCompleteParamScriptFunction), UI},
    /* 162 */ {"Str", "value As Double", "String", ENTRY(StringStr), ANY},
    /* 163 */ {"InStr", "start As Integer = 0, source As String, find As String", "Integer", ENTRY(StringInStr), ANY},
    /* 164 */ {"InStrB", "start As Integer = 0, source As String, find As String", "Integer", ENTRY(StringInStrB), ANY},
    /* 165 */ {"Mid", "source As String, start As Integer", "String", ENTRY(StringDBCSMid2), ANY},
    /* 166 */ {"Mid", "source As String, start As Integer, length As Integer", "String", ENTRY(StringDBCSMid3), ANY},
    /* 167 */ {"MidB", "source As String, start As Integer", "String", ENTRY(StringMid2), ANY},
    /* 168 */ {"MidB", "source As String, start As Integer, length As Integer", "String", ENTRY(StringMid3), ANY},
    /* 169 */ {"UBound", "array() As Object", "Integer", ENTRY(RuntimeUBound), ANY},
    /* 170 */ {"UBound", "array() As Object, dimension As Integer", "Integer", ENTRY(RuntimeUBound2Param), ANY},
    /* 171 */ {"_SetProperties", "target As Object, properties As Ptr", nullptr, ENTRY(RuntimeMassPropertySetter), UI},
    /* 172 */ {"_UnhandledException", "exception As RuntimeException", nullptr, ENTRY(RuntimeUnhandledException), ANY},
    /* 173 */ {"_InstallInstanceEventHandler", "target As Object, eventName As String, handler As Ptr", nullptr, ENTRY(RuntimeInstallInstanceEventHandler), UI},
    // The Extends forms whose parameters differ from their global forms'.
    {"InStr", "source As String, start As Integer = 0, find As String", "Integer", ENTRY(StringExtendsInStr), ANY},
    {"InStrB", "source As String, start As Integer = 0, find As String", "Integer", ENTRY(StringExtendsInStrB), ANY},
};

const int32_t kExtendsFormsOfGlobalRows[kExtendsFormCount] = {
    165, 166, 167, 168, 138, 139, 140, 137, 113, 114, 115, 116, 117, 118, 119, 120, 121, 122, 123, 124, 81, 82, 83, 84, 85, 86, 87, 88, 91, 125,
};
