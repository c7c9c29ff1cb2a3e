#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "runtime/exports/ExportTable.h"
#include "support/AlertRecorder.h"

namespace {

// The fixed rows in the order images and plug-ins were built against.
const char kFixedRowNames[] = R"(
    RuntimeReraiseException RuntimeInit GetEncodingFromTEObject FolderItemGetImp ZANTGetCommandLineForUnix RemoteDebuggerStartup DebugRuntimeInit RuntimeExit
    RuntimeRegisterAppObject RuntimeRegisterConsoleAppObject RuntimeLookupClass RuntimeNewClass RuntimeLockUnlockObjects RuntimeNewVtable RuntimeAllocatePluginEntrypointsTable RuntimeLookupPluginEntrypoint
    RuntimeDebuggerEntry RuntimeDebuggerShutdown RuntimeGetDatabaseFromResource RuntimeUnhandledException RuntimeLookupInterfaceVtable RuntimeExchangeSelfAndMe RuntimeExchangeSelfAndMeClass RuntimeCreateArrayCastWrapper
    RuntimeGetBitmapFromResourceManager RuntimeGetCursorFromResourceManager RuntimeGetSoundFromResourceManager RuntimeGetTextFileFromResourceManager RuntimeGetImplicitWindow FolderItemOpenResourceMovie mediaGetBoundPart RuntimeGetMovieFromResource
    popupGetBoundPart editSetString pbAddActionNotificationReceiver pbRemoveActionNotificationReceiver pushButtonPush AppDockItemGetter DockItemIconGraphicsGetter DockItemResetIcon
    DockItemIconUpdate WindowVisibleGetter WindowVisibleSetter windowTitleSetter windowMenusVisibleSetter windowMenusVisibleGetter windowFullScreenSetter windowFullScreenGetter
    windowPosGetter windowPosSetter RuntimeShowWithinWindow RuntimeShowModalWithinWindow WindowForceUpdateFrontBuffer WindowAddControl WindowAddMenuHandler WindowDefaultConstructor
    WindowAllocateObject formDrawInto WindowMenuBarGetter WindowMenuBarSetter windowBackdropSetter windowBackColorSetter formRefresh formRefreshRect
    windowBalloonHelpSetter windowHasBackColorSetter WindowMenuBarGetter WindowMenuBarSetter WindowDockItemGetter windowControlCountGetter windowControl windowMouseXGetter
    windowMouseYGetter windowHWNDGetter windowWindowPtrGetter getterWinHWND groupCaptionGetter groupCaptionSetter radioGetBoundPart rbaAddActionNotificationReceiver
    rbaRemoveActionNotificationReceiver checkBoxGetBoolean checkBoxSetBoolean checkBoxAddDataNotificationReceiver checkBoxRemoveDataNotificationReceiver checkBoxGetBoundPart listGetBoundPart cbaAddActionNotificationReceiver
    lbaAddActionNotificationReceiver cbaRemoveActionNotificationReceiver lbaRemoveActionNotificationReceiver linePosSetter getScreenCount getScreen RuntimeEnableMenu selectColor
    ControlVisibleSetter controlAutoDeactivateGetter controlAutoDeactivateSetter controlActiveGetter controlHelpTagSetter controlBalloonHelpSetter controlDisabledBalloonHelpSetter ControlClose
    ControlInitialParentSetter ControlParentGetter ControlParentSetter controlMacControlHandleGetter controlMouseXGetter controlMouseYGetter ControlTabPanelIndexSetter ControlAddMenuHandler
    controlWindowGetter controlEnabledSetter ctlPosGetter ctlPosSetter controlEnabledGetter windowPlacementGetter windowPlacementSetter windowCloseBoxGetter
    windowCloseBoxSetter windowGrowIconGetter windowGrowIconSetter windowZoomIconGetter windowZoomIconSetter windowFrameGetter windowFrameSetter windowTitleGetter
    windowBackdropGetter windowBackColorGetter controlVisibleGetter controlLockLeftGetter controlLockTopGetter controlLockRightGetter controlLockBottomGetter controlLockLeftSetter
    controlLockTopSetter controlLockRightSetter controlLockBottomSetter screenLeftGetter screenTopGetter screenWidthGetter screenHeightGetter screenDepthGetter
    groupTextFontGetter groupTextFontSetter groupTextSizeGetter groupTextSizeSetter groupBoldGetter groupBoldSetter groupItalicGetter groupItalicSetter
    groupUnderlineGetter groupUnderlineSetter windowHasBackColorGetter controlEnabledSetter ctlPosGetter ctlPosSetter ZANTDBConnectionDialogCreate ZANTDBConnectionDialogAddField
    ZANTDBConnectionDialogShow ZANTDBConnectionDialogDelete IPCSocketClose IPCSocketPoll IPCSocketConnect IPCSocketListen IPCSocketRead IPCSocketReadAll
    IPCSocketWrite IPCSocketLookahead IPCSocketIsConnected RuntimeRegisterFileType RuntimeLockObject RuntimeUnlockObject RuntimeRun RuntimeLockString
    RuntimeUnlockString RuntimeLockUnlockStrings RuntimeNilObject RuntimeControlReference RuntimeNewObject RuntimeProjectObject RuntimeObjectIsa RuntimeFindHookCode
    RuntimeMenuReference RuntimeAddString RuntimeStackCheck RuntimeCheckCast CreateArray RuntimeLockArray RuntimeUnlockArray RuntimeLockUnlockArrays
    RuntimeBackgroundTask readColorRed readColorGreen readColorBlue RuntimeStringCompare RuntimeDebugInstance RuntimeDebugObjectCount RuntimeDebugObjectID
    RuntimeDebugObjectClass RuntimeDebugObjectRefs RuntimeDebugMemoryUsed StringLeft StringRight StringMid2 StringMid3 StringLen
    StringLCase StringUCase StringInStr StringInStrB StringStr StringVal StringAsc StringChr
    SingleToInt FPToInt IntToFP ApplicationQuit RuntimeShowWindow RuntimeShortToInteger paneStringGetter paneStringSetter
    paneBoolGetter paneBoolSetter paneIntGetter paneIntSetter paneObjGetter paneObjSetter paneShortGetter paneShortSetter
    RuntimeControlRefresh RectControlDefaultConstructor RuntimeRGB stringGetter stringSetter objGetter objSetter shortGetter
    shortSetter doubleGetter doubleSetter intGetter intSetter boolGetter boolSetter singleGetter
    singleSetter RuntimeControlRefreshRect RuntimeGetOpenFolderItem RuntimeGetSaveFolderItem TextInputStreamClose ApplicationNewDocument ApplicationOpenDocument ApplicationAddMenuHandler
    RuntimeShowModal RuntimeHideWindow RuntimeCloseWindow RuntimeControlArrayItemReference RuntimeControlFetch timerModeSetter timerPeriodSetter RuntimeTimerReset
    RuntimeTicks RuntimeMicroseconds StringReplace StringReplaceAll StringTitleCase StringCountFields StringNthField StringSplit
    StringJoin RuntimeBeep RuntimeSetFocus GlobalShowURL StringStrCompare StringFormat getUserCancelled getAppObject
    appMouseCursorSetter appResourceForkGetter AppBalloonHelpVisibleGetter AppBalloonHelpVisibleSetter AppMenuBarGetter AppMenuBarSetter AppIntegerVersionStuffGetter AppStringVersionStuffGetter
    getWindowCount getWindow fileRFSizeGetter memoryGetPtr memorySetPtr BitwiseAnd BitwiseOr BitwiseXor
    getFrameColor getFillColor getTextColor getLightTingeColor getDarkTingeColor getLightBevelColor getDarkBevelColor runCStr
    runCDbl runTrim runLTrim runRTrim getKeyboardObject modifierKeyGetter asyncModifierKeyGetter keyboardAsyncKeyDown
    memoryGetUShort StringDBCSLen StringDBCSLeft StringDBCSRight StringDBCSMid2 StringDBCSMid3 StringDBCSInStr StringDBCSAsc
    StringDBCSChr getSystemObject RectShapeContains Group2DCount Group2DAppend Group2DInsert Group2DGetItem Group2DSetItem
    Group2DRemoveByObject Group2DRemoveByIndex Object2DDoubleSetter ArcStartAngleSetter PixmapShapeImageCtor PixmapShapeConstructor RuntimeGraphicsDrawObjectXY RuntimeGraphicsDrawObject
    doublePercentGetter doublePercentSetter CurveOrderSetter CurveGetControlX CurveGetControlY CurveSetControlX CurveSetControlY FigureShapeAddLine
    FigureShapeAddQuad FigureShapeAddCubic RuntimeGraphicsDrawPicture RuntimePictureReference enableMenuItems formSetFocus clearFocus FolderItemSaveAsJPEG
    exportPicture intToVariant doubleToVariant stringToVariant objectToVariant colorToVariant booleanToVariant DateToVariant
    variantToInt variantToBoolean variantToDouble variantToString variantToObject variantToColor VariantToDate VarType
    RuntimeIsNumeric IsNull VariantHash VariantEqual BinaryStreamReadFloat BinaryStreamReadDouble BinaryStreamWriteFloat BinaryStreamWriteDouble
    readColorHue readColorSaturation readColorValue readColorCyan readColorMagenta readColorYellow RuntimeHSV RuntimeCMY
    RuntimeUBound2Param FolderItemMoveFileTo Win32InstallPlugins getMouseX getMouseY getMouseDown textConverterConvert getTextConverter
    EncodingsGetter textEncodingBaseGetter textEncodingVariantGetter textEncodingFormatGetter getTextEncoding getInternetTextEncoding getFontTextEncoding textEncodingInternetName
    GetEncodingsObject StringSetEncoding StringGetEncoding socketRemoteAddressGetter getDatabaseProperty debugDumpObjects guessJapaneseEncoding lineTrace
    systemGestalt systemPixel systemGetKeyScript systemSetKeyScript memoryGetSingle memorySetSingle WindowToWindowPtr StringToPString
    StringToCString StringToOSType textConverterClear parseDate fileVRefNumGetter fileDirIDGetter pictureMaskGetter getTemporaryFolderItem
    SystemGetCommandLine DisableAutoWaitCursor EnableAutoWaitCursor EnableCoreGraphicsTextOnOSX ZANTDatabaseSetError RegisterPluginVersion memoryBlockSetSize ConvertPtrToMemoryBlock
    intInvalidateSetter boolInvalidateSetter stringInvalidateSetter objInvalidateSetter RegisterPluginExports GetEventInstancePPC ZANTinRuntime RuntimeGraphicsDrawLine
    PluginRegisterMethod PluginRegisterControl PluginRegisterClassExtension PluginRegisterDBEngine PluginRegisterDBCursor PluginRegisterClass StringGetCString StringGetPString
    PluginInterpretConstantValue PluginDefaultControlFont PluginDefaultControlCaption PluginDefaultControlFontSize ZANTBuildString ZANTLockObject ZANTUnlockObject ZANTLockString
    ZANTUnlockString GetInterfaceRoutine ZANTBuildPictureFromGWorld ZANTBuildPictureFromPictureDescription lockPictureDescription unlockPictureDescription unlockPictureDescription ZANTPictureClearCache
    ZANTdbCursorFromDBCursor ZANTdbDatabaseFromDBDatabase GetEventInstance PluginGetControlBounds GetControlVisible ZANTGetControlEnabled SetControlVisible ZANTGetControlGraphics
    FolderItemFromPath ZANTpathFromFolderItem ZANTInvalidateControl ZANTInvalidateControlRect getControlWindow PluginNewInstance PluginMarkSocketUsage socketDirectConnect
    socketClose pluginSocketReadAll pluginSocketRead SocketWrite socketLastErrorCode pluginSocketLookahead socketLocalAddressGetter socketPoll
    socketGetEvents RegisterDataSourceInterface RegisterDataSource DesignAddDataSource RuntimeMsgBox controlEnabledSetter ctlPosGetter ctlPosSetter
    pluginPictureGraphicsGetter newPicture newMemoryBlock memoryBlockGetPtr memoryBlockGetSize PtrToMemoryBlock ZANTSetAccelerator ZANTGetQVVersion
    RuntimeRaiseException RuntimeUBound RuntimeDirectReadIntArray RuntimeDirectReadStringArray RuntimeDirectReadObjectArray GetTabPanelVisible ZANTGetControlFocus ZANTSetControlFocus
    ZANTYieldToQV pluginObjectType CreateInstance PluginRegisterInterface ZANTGetControlParent ZANTGetDBHost ZANTGetDBDatabaseName ZANTGetDBPassword
    ZANTGetDBUserName ZANTGetDBFromZANTdbDatabase ZANTConstructDBDatabase ZANTGetStringEncoding ZANTSetStringEncoding ZANTDBConnectionDialogCreate ZANTDBConnectionDialogAddField ZANTDBConnectionDialogShow
    ZANTDBConnectionDialogDelete ZANTGetControlName ZANTIsHIViewWindow ZANTBuildPictureFromBuffer ZANTGetFontEncoding ZANTConvertString ZANTGetPictureMask ZANTInDebugMode
    RuntimeGraphicsDrawString ZANTGetGraphicsFontStyle ZANTSetGraphicsStyle ZANTStripAmpersands RuntimeGraphicsStringWidth RuntimeGraphicsStringHeight RuntimeGraphicsTextHeight RuntimeGraphicsTextAscent
    pluginSocketListen ZANTGetProjectFolder ZANTGetControlHandle ZANTGraphicsDC ZANTDrawPicturePrimitive PluginRegisterModule ZANTLoadGlobalMethod ZANTLoadObjectMethod
    ZANTGetPropValueInt ZANTGetPropValueString ZANTGetPropValueDouble ZANTGetPropValueObject ZANTGetPropValueBool ZANTSetDBIsConnected stringToVariant intToVariant
    doubleToVariant booleanToVariant colorToVariant ZANTSetPropValueInt ZANTSetPropValueString ZANTSetPropValueDouble ZANTSetPropValueObject ZANTSetPropValueBoolean
    ZANTGraphicsGdkDrawable ZANTGetClassMethod ZANTCountClassMethods ZANTGetClassProperty ZANTCountClassProperties ZANTGetStackLimit ZANTSetStackLimit ZANTInitStackChecker
    PluginNewOfSameClass GetControlBounds
)";

std::vector<std::string> ExpectedFixedRows() {
  std::istringstream words(kFixedRowNames);
  std::vector<std::string> names;
  for (std::string name; words >> name;)
    names.push_back(name);
  return names;
}

const RelocEntry *FirstFixedRow(bool withAddress) {
  for (const RelocEntry &entry : kFixedRelocTable)
    if ((entry.address != nullptr) == withAddress)
      return &entry;
  return nullptr;
}

std::string Lowered(std::string name) {
  for (char &c : name)
    c = char(std::tolower(uint8_t(c)));
  return name;
}

extern "C" void ExportTableTestFunction() {}
extern "C" void ExportTableTestOtherFunction() {}

} // namespace

TEST(ExportTable, FixedRowsKeepTheirNamesOrderAndCount) {
  std::vector<std::string> expected = ExpectedFixedRows();
  ASSERT_EQ(expected.size(), 578u);
  ASSERT_EQ(kFixedRelocEntryCount, 578);
  for (int32_t i = 0; i < kFixedRelocEntryCount; ++i)
    EXPECT_EQ(GetRelocEntry(i)->name, expected[size_t(i)]) << "row " << i;
}

TEST(ExportTable, RepeatedAndAliasRowsShareTheirFunction) {
  auto address = [](int32_t row) { return GetRelocEntry(row)->address; };
  EXPECT_EQ(address(75), address(73));   // getterWinHWND: windowHWNDGetter
  EXPECT_EQ(address(577), address(467)); // GetControlBounds: PluginGetControlBounds
  EXPECT_EQ(address(66), address(58));   // WindowMenuBarGetter twice
  EXPECT_EQ(address(493), address(113)); // controlEnabledSetter again
  EXPECT_EQ(address(558), address(355)); // stringToVariant again
}

TEST(ExportTable, NamesResolveWithoutRegardToCaseAndNilRowsAreAbsent) {
  const RelocEntry *linked = FirstFixedRow(true);
  ASSERT_NE(linked, nullptr) << "no exported function is linked into the runtime";
  const RelocEntry *found = resolveRelocEntry(Lowered(linked->name).c_str());
  ASSERT_NE(found, nullptr);
  EXPECT_EQ(found->address, linked->address);
  EXPECT_EQ(FindFirstRelocEntry(Lowered(linked->name).c_str()), linked);

  if (const RelocEntry *unlinked = FirstFixedRow(false)) {
    EXPECT_EQ(resolveRelocEntry(unlinked->name), nullptr);
    EXPECT_EQ(FindFirstRelocEntry(unlinked->name), nullptr);
  }
  EXPECT_EQ(resolveRelocEntry("NoSuchExportedFunction"), nullptr);
  EXPECT_EQ(resolveRelocEntry(nullptr), nullptr);
}

TEST(ExportTable, DynamicEntriesExtendTheTableAfterTheFixedRows) {
  AlertRecorder recorder;
  int32_t before = GetRelocEntryTableSize();
  ASSERT_GE(before, kFixedRelocEntryCount);
  auto function = reinterpret_cast<void *>(&ExportTableTestFunction);

  AddRelocEntry("ExportTableTestFunction", function);
  ASSERT_EQ(GetRelocEntryTableSize(), before + 1);
  EXPECT_EQ(GetRelocEntry(before)->address, function);
  EXPECT_EQ(resolveRelocEntry("EXPORTTABLETESTFUNCTION"), GetRelocEntry(before));

  // The same registration again changes nothing; a nil address is ignored.
  AddRelocEntry("exporttabletestfunction", function);
  AddRelocEntry("ExportTableTestNothing", nullptr);
  EXPECT_EQ(GetRelocEntryTableSize(), before + 1);
  EXPECT_EQ(resolveRelocEntry("ExportTableTestNothing"), nullptr);

  // A nil name counts but cannot be looked up.
  AddRelocEntry(nullptr, reinterpret_cast<void *>(&ExportTableTestOtherFunction));
  EXPECT_EQ(GetRelocEntryTableSize(), before + 2);
  EXPECT_EQ(recorder.count(), 0u);
}

TEST(ExportTable, RegisteringANameWithAnotherAddressAlertsAndKeepsTheFirst) {
  AlertRecorder recorder;
  auto first = reinterpret_cast<void *>(&ExportTableTestFunction);
  auto other = reinterpret_cast<void *>(&ExportTableTestOtherFunction);
  AddRelocEntry("ExportTableTestFunction", first);
  int32_t size = GetRelocEntryTableSize();

  AddRelocEntry("ExportTableTestFunction", other);
  ASSERT_EQ(recorder.count(), 1u);
  EXPECT_EQ(recorder.alerts()[0].condition, "functionPtr == oldEntry->code");
  EXPECT_EQ(GetRelocEntryTableSize(), size);
  EXPECT_EQ(resolveRelocEntry("ExportTableTestFunction")->address, first);

  if (const RelocEntry *linked = FirstFixedRow(true)) {
    recorder.clear();
    AddRelocEntry(linked->name, linked->address);
    EXPECT_EQ(recorder.count(), 0u);
    AddRelocEntry(linked->name, other);
    EXPECT_EQ(recorder.count(), 1u);
    EXPECT_EQ(resolveRelocEntry(linked->name)->address, linked->address);
  }
}
