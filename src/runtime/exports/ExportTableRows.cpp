// The fixed rows of the runtime export table, in the order compiled images
// and plug-ins were built against. Convention: every exported function is
// defined extern "C" under its row's name (three rows carry a function of
// another name, marked below). The functions are referred to weakly so that a
// row fills itself when its function is linked into the runtime and stays nil
// until then; a nil row counts as absent. No real header is included here: the
// rows need only addresses, and the functions' true signatures differ.
#include "runtime/exports/ExportTable.h"

// clang-format off
extern "C" void RuntimeReraiseException() __attribute__((weak));
extern "C" void RuntimeInit() __attribute__((weak));
extern "C" void GetEncodingFromTEObject() __attribute__((weak));
extern "C" void FolderItemGetImp() __attribute__((weak));
extern "C" void ZANTGetCommandLineForUnix() __attribute__((weak));
extern "C" void RemoteDebuggerStartup() __attribute__((weak));
extern "C" void DebugRuntimeInit() __attribute__((weak));
extern "C" void RuntimeExit() __attribute__((weak));
extern "C" void RuntimeRegisterAppObject() __attribute__((weak));
extern "C" void RuntimeRegisterConsoleAppObject() __attribute__((weak));
extern "C" void RuntimeLookupClass() __attribute__((weak));
extern "C" void RuntimeNewClass() __attribute__((weak));
extern "C" void RuntimeLockUnlockObjects() __attribute__((weak));
extern "C" void RuntimeNewVtable() __attribute__((weak));
extern "C" void RuntimeAllocatePluginEntrypointsTable() __attribute__((weak));
extern "C" void RuntimeLookupPluginEntrypoint() __attribute__((weak));
extern "C" void RuntimeDebuggerEntry() __attribute__((weak));
extern "C" void RuntimeDebuggerShutdown() __attribute__((weak));
extern "C" void RuntimeGetDatabaseFromResource() __attribute__((weak));
extern "C" void RuntimeUnhandledException() __attribute__((weak));
extern "C" void RuntimeLookupInterfaceVtable() __attribute__((weak));
extern "C" void RuntimeExchangeSelfAndMe() __attribute__((weak));
extern "C" void RuntimeExchangeSelfAndMeClass() __attribute__((weak));
extern "C" void RuntimeCreateArrayCastWrapper() __attribute__((weak));
extern "C" void RuntimeGetBitmapFromResourceManager() __attribute__((weak));
extern "C" void RuntimeGetCursorFromResourceManager() __attribute__((weak));
extern "C" void RuntimeGetSoundFromResourceManager() __attribute__((weak));
extern "C" void RuntimeGetTextFileFromResourceManager() __attribute__((weak));
extern "C" void RuntimeGetImplicitWindow() __attribute__((weak));
extern "C" void FolderItemOpenResourceMovie() __attribute__((weak));
extern "C" void mediaGetBoundPart() __attribute__((weak));
extern "C" void RuntimeGetMovieFromResource() __attribute__((weak));
extern "C" void popupGetBoundPart() __attribute__((weak));
extern "C" void editSetString() __attribute__((weak));
extern "C" void pbAddActionNotificationReceiver() __attribute__((weak));
extern "C" void pbRemoveActionNotificationReceiver() __attribute__((weak));
extern "C" void pushButtonPush() __attribute__((weak));
extern "C" void AppDockItemGetter() __attribute__((weak));
extern "C" void DockItemIconGraphicsGetter() __attribute__((weak));
extern "C" void DockItemResetIcon() __attribute__((weak));
extern "C" void DockItemIconUpdate() __attribute__((weak));
extern "C" void WindowVisibleGetter() __attribute__((weak));
extern "C" void WindowVisibleSetter() __attribute__((weak));
extern "C" void windowTitleSetter() __attribute__((weak));
extern "C" void windowMenusVisibleSetter() __attribute__((weak));
extern "C" void windowMenusVisibleGetter() __attribute__((weak));
extern "C" void windowFullScreenSetter() __attribute__((weak));
extern "C" void windowFullScreenGetter() __attribute__((weak));
extern "C" void windowPosGetter() __attribute__((weak));
extern "C" void windowPosSetter() __attribute__((weak));
extern "C" void RuntimeShowWithinWindow() __attribute__((weak));
extern "C" void RuntimeShowModalWithinWindow() __attribute__((weak));
extern "C" void WindowForceUpdateFrontBuffer() __attribute__((weak));
extern "C" void WindowAddControl() __attribute__((weak));
extern "C" void WindowAddMenuHandler() __attribute__((weak));
extern "C" void WindowDefaultConstructor() __attribute__((weak));
extern "C" void WindowAllocateObject() __attribute__((weak));
extern "C" void formDrawInto() __attribute__((weak));
extern "C" void WindowMenuBarGetter() __attribute__((weak));
extern "C" void WindowMenuBarSetter() __attribute__((weak));
extern "C" void windowBackdropSetter() __attribute__((weak));
extern "C" void windowBackColorSetter() __attribute__((weak));
extern "C" void formRefresh() __attribute__((weak));
extern "C" void formRefreshRect() __attribute__((weak));
extern "C" void windowBalloonHelpSetter() __attribute__((weak));
extern "C" void windowHasBackColorSetter() __attribute__((weak));
extern "C" void WindowDockItemGetter() __attribute__((weak));
extern "C" void windowControlCountGetter() __attribute__((weak));
extern "C" void windowControl() __attribute__((weak));
extern "C" void windowMouseXGetter() __attribute__((weak));
extern "C" void windowMouseYGetter() __attribute__((weak));
extern "C" void windowHWNDGetter() __attribute__((weak));
extern "C" void windowWindowPtrGetter() __attribute__((weak));
extern "C" void groupCaptionGetter() __attribute__((weak));
extern "C" void groupCaptionSetter() __attribute__((weak));
extern "C" void radioGetBoundPart() __attribute__((weak));
extern "C" void rbaAddActionNotificationReceiver() __attribute__((weak));
extern "C" void rbaRemoveActionNotificationReceiver() __attribute__((weak));
extern "C" void checkBoxGetBoolean() __attribute__((weak));
extern "C" void checkBoxSetBoolean() __attribute__((weak));
extern "C" void checkBoxAddDataNotificationReceiver() __attribute__((weak));
extern "C" void checkBoxRemoveDataNotificationReceiver() __attribute__((weak));
extern "C" void checkBoxGetBoundPart() __attribute__((weak));
extern "C" void listGetBoundPart() __attribute__((weak));
extern "C" void cbaAddActionNotificationReceiver() __attribute__((weak));
extern "C" void lbaAddActionNotificationReceiver() __attribute__((weak));
extern "C" void cbaRemoveActionNotificationReceiver() __attribute__((weak));
extern "C" void lbaRemoveActionNotificationReceiver() __attribute__((weak));
extern "C" void linePosSetter() __attribute__((weak));
extern "C" void getScreenCount() __attribute__((weak));
extern "C" void getScreen() __attribute__((weak));
extern "C" void RuntimeEnableMenu() __attribute__((weak));
extern "C" void selectColor() __attribute__((weak));
extern "C" void ControlVisibleSetter() __attribute__((weak));
extern "C" void controlAutoDeactivateGetter() __attribute__((weak));
extern "C" void controlAutoDeactivateSetter() __attribute__((weak));
extern "C" void controlActiveGetter() __attribute__((weak));
extern "C" void controlHelpTagSetter() __attribute__((weak));
extern "C" void controlBalloonHelpSetter() __attribute__((weak));
extern "C" void controlDisabledBalloonHelpSetter() __attribute__((weak));
extern "C" void ControlClose() __attribute__((weak));
extern "C" void ControlInitialParentSetter() __attribute__((weak));
extern "C" void ControlParentGetter() __attribute__((weak));
extern "C" void ControlParentSetter() __attribute__((weak));
extern "C" void controlMacControlHandleGetter() __attribute__((weak));
extern "C" void controlMouseXGetter() __attribute__((weak));
extern "C" void controlMouseYGetter() __attribute__((weak));
extern "C" void ControlTabPanelIndexSetter() __attribute__((weak));
extern "C" void ControlAddMenuHandler() __attribute__((weak));
extern "C" void controlWindowGetter() __attribute__((weak));
extern "C" void controlEnabledSetter() __attribute__((weak));
extern "C" void ctlPosGetter() __attribute__((weak));
extern "C" void ctlPosSetter() __attribute__((weak));
extern "C" void controlEnabledGetter() __attribute__((weak));
extern "C" void windowPlacementGetter() __attribute__((weak));
extern "C" void windowPlacementSetter() __attribute__((weak));
extern "C" void windowCloseBoxGetter() __attribute__((weak));
extern "C" void windowCloseBoxSetter() __attribute__((weak));
extern "C" void windowGrowIconGetter() __attribute__((weak));
extern "C" void windowGrowIconSetter() __attribute__((weak));
extern "C" void windowZoomIconGetter() __attribute__((weak));
extern "C" void windowZoomIconSetter() __attribute__((weak));
extern "C" void windowFrameGetter() __attribute__((weak));
extern "C" void windowFrameSetter() __attribute__((weak));
extern "C" void windowTitleGetter() __attribute__((weak));
extern "C" void windowBackdropGetter() __attribute__((weak));
extern "C" void windowBackColorGetter() __attribute__((weak));
extern "C" void controlVisibleGetter() __attribute__((weak));
extern "C" void controlLockLeftGetter() __attribute__((weak));
extern "C" void controlLockTopGetter() __attribute__((weak));
extern "C" void controlLockRightGetter() __attribute__((weak));
extern "C" void controlLockBottomGetter() __attribute__((weak));
extern "C" void controlLockLeftSetter() __attribute__((weak));
extern "C" void controlLockTopSetter() __attribute__((weak));
extern "C" void controlLockRightSetter() __attribute__((weak));
extern "C" void controlLockBottomSetter() __attribute__((weak));
extern "C" void screenLeftGetter() __attribute__((weak));
extern "C" void screenTopGetter() __attribute__((weak));
extern "C" void screenWidthGetter() __attribute__((weak));
extern "C" void screenHeightGetter() __attribute__((weak));
extern "C" void screenDepthGetter() __attribute__((weak));
extern "C" void groupTextFontGetter() __attribute__((weak));
extern "C" void groupTextFontSetter() __attribute__((weak));
extern "C" void groupTextSizeGetter() __attribute__((weak));
extern "C" void groupTextSizeSetter() __attribute__((weak));
extern "C" void groupBoldGetter() __attribute__((weak));
extern "C" void groupBoldSetter() __attribute__((weak));
extern "C" void groupItalicGetter() __attribute__((weak));
extern "C" void groupItalicSetter() __attribute__((weak));
extern "C" void groupUnderlineGetter() __attribute__((weak));
extern "C" void groupUnderlineSetter() __attribute__((weak));
extern "C" void windowHasBackColorGetter() __attribute__((weak));
extern "C" void ZANTDBConnectionDialogCreate() __attribute__((weak));
extern "C" void ZANTDBConnectionDialogAddField() __attribute__((weak));
extern "C" void ZANTDBConnectionDialogShow() __attribute__((weak));
extern "C" void ZANTDBConnectionDialogDelete() __attribute__((weak));
extern "C" void IPCSocketClose() __attribute__((weak));
extern "C" void IPCSocketPoll() __attribute__((weak));
extern "C" void IPCSocketConnect() __attribute__((weak));
extern "C" void IPCSocketListen() __attribute__((weak));
extern "C" void IPCSocketRead() __attribute__((weak));
extern "C" void IPCSocketReadAll() __attribute__((weak));
extern "C" void IPCSocketWrite() __attribute__((weak));
extern "C" void IPCSocketLookahead() __attribute__((weak));
extern "C" void IPCSocketIsConnected() __attribute__((weak));
extern "C" void RuntimeRegisterFileType() __attribute__((weak));
extern "C" void RuntimeLockObject() __attribute__((weak));
extern "C" void RuntimeUnlockObject() __attribute__((weak));
extern "C" void RuntimeRun() __attribute__((weak));
extern "C" void RuntimeLockString() __attribute__((weak));
extern "C" void RuntimeUnlockString() __attribute__((weak));
extern "C" void RuntimeLockUnlockStrings() __attribute__((weak));
extern "C" void RuntimeNilObject() __attribute__((weak));
extern "C" void RuntimeControlReference() __attribute__((weak));
extern "C" void RuntimeNewObject() __attribute__((weak));
extern "C" void RuntimeProjectObject() __attribute__((weak));
extern "C" void RuntimeObjectIsa() __attribute__((weak));
extern "C" void RuntimeFindHookCode() __attribute__((weak));
extern "C" void RuntimeMenuReference() __attribute__((weak));
extern "C" void RuntimeAddString() __attribute__((weak));
extern "C" void RuntimeStackCheck() __attribute__((weak));
extern "C" void RuntimeCheckCast() __attribute__((weak));
extern "C" void CreateArray() __attribute__((weak));
extern "C" void RuntimeLockArray() __attribute__((weak));
extern "C" void RuntimeUnlockArray() __attribute__((weak));
extern "C" void RuntimeLockUnlockArrays() __attribute__((weak));
extern "C" void RuntimeBackgroundTask() __attribute__((weak));
extern "C" void readColorRed() __attribute__((weak));
extern "C" void readColorGreen() __attribute__((weak));
extern "C" void readColorBlue() __attribute__((weak));
extern "C" void RuntimeStringCompare() __attribute__((weak));
extern "C" void RuntimeDebugInstance() __attribute__((weak));
extern "C" void RuntimeDebugObjectCount() __attribute__((weak));
extern "C" void RuntimeDebugObjectID() __attribute__((weak));
extern "C" void RuntimeDebugObjectClass() __attribute__((weak));
extern "C" void RuntimeDebugObjectRefs() __attribute__((weak));
extern "C" void RuntimeDebugMemoryUsed() __attribute__((weak));
extern "C" void StringLeft() __attribute__((weak));
extern "C" void StringRight() __attribute__((weak));
extern "C" void StringMid2() __attribute__((weak));
extern "C" void StringMid3() __attribute__((weak));
extern "C" void StringLen() __attribute__((weak));
extern "C" void StringLCase() __attribute__((weak));
extern "C" void StringUCase() __attribute__((weak));
extern "C" void StringInStr() __attribute__((weak));
extern "C" void StringInStrB() __attribute__((weak));
extern "C" void StringStr() __attribute__((weak));
extern "C" void StringVal() __attribute__((weak));
extern "C" void StringAsc() __attribute__((weak));
extern "C" void StringChr() __attribute__((weak));
extern "C" void SingleToInt() __attribute__((weak));
extern "C" void FPToInt() __attribute__((weak));
extern "C" void IntToFP() __attribute__((weak));
extern "C" void ApplicationQuit() __attribute__((weak));
extern "C" void RuntimeShowWindow() __attribute__((weak));
extern "C" void RuntimeShortToInteger() __attribute__((weak));
extern "C" void paneStringGetter() __attribute__((weak));
extern "C" void paneStringSetter() __attribute__((weak));
extern "C" void paneBoolGetter() __attribute__((weak));
extern "C" void paneBoolSetter() __attribute__((weak));
extern "C" void paneIntGetter() __attribute__((weak));
extern "C" void paneIntSetter() __attribute__((weak));
extern "C" void paneObjGetter() __attribute__((weak));
extern "C" void paneObjSetter() __attribute__((weak));
extern "C" void paneShortGetter() __attribute__((weak));
extern "C" void paneShortSetter() __attribute__((weak));
extern "C" void RuntimeControlRefresh() __attribute__((weak));
extern "C" void RectControlDefaultConstructor() __attribute__((weak));
extern "C" void RuntimeRGB() __attribute__((weak));
extern "C" void stringGetter() __attribute__((weak));
extern "C" void stringSetter() __attribute__((weak));
extern "C" void objGetter() __attribute__((weak));
extern "C" void objSetter() __attribute__((weak));
extern "C" void shortGetter() __attribute__((weak));
extern "C" void shortSetter() __attribute__((weak));
extern "C" void doubleGetter() __attribute__((weak));
extern "C" void doubleSetter() __attribute__((weak));
extern "C" void intGetter() __attribute__((weak));
extern "C" void intSetter() __attribute__((weak));
extern "C" void boolGetter() __attribute__((weak));
extern "C" void boolSetter() __attribute__((weak));
extern "C" void singleGetter() __attribute__((weak));
extern "C" void singleSetter() __attribute__((weak));
extern "C" void RuntimeControlRefreshRect() __attribute__((weak));
extern "C" void RuntimeGetOpenFolderItem() __attribute__((weak));
extern "C" void RuntimeGetSaveFolderItem() __attribute__((weak));
extern "C" void TextInputStreamClose() __attribute__((weak));
extern "C" void ApplicationNewDocument() __attribute__((weak));
extern "C" void ApplicationOpenDocument() __attribute__((weak));
extern "C" void ApplicationAddMenuHandler() __attribute__((weak));
extern "C" void RuntimeShowModal() __attribute__((weak));
extern "C" void RuntimeHideWindow() __attribute__((weak));
extern "C" void RuntimeCloseWindow() __attribute__((weak));
extern "C" void RuntimeControlArrayItemReference() __attribute__((weak));
extern "C" void RuntimeControlFetch() __attribute__((weak));
extern "C" void timerModeSetter() __attribute__((weak));
extern "C" void timerPeriodSetter() __attribute__((weak));
extern "C" void RuntimeTimerReset() __attribute__((weak));
extern "C" void RuntimeTicks() __attribute__((weak));
extern "C" void RuntimeMicroseconds() __attribute__((weak));
extern "C" void StringReplace() __attribute__((weak));
extern "C" void StringReplaceAll() __attribute__((weak));
extern "C" void StringTitleCase() __attribute__((weak));
extern "C" void StringCountFields() __attribute__((weak));
extern "C" void StringNthField() __attribute__((weak));
extern "C" void StringSplit() __attribute__((weak));
extern "C" void StringJoin() __attribute__((weak));
extern "C" void RuntimeBeep() __attribute__((weak));
extern "C" void RuntimeSetFocus() __attribute__((weak));
extern "C" void GlobalShowURL() __attribute__((weak));
extern "C" void StringStrCompare() __attribute__((weak));
extern "C" void StringFormat() __attribute__((weak));
extern "C" void getUserCancelled() __attribute__((weak));
extern "C" void getAppObject() __attribute__((weak));
extern "C" void appMouseCursorSetter() __attribute__((weak));
extern "C" void appResourceForkGetter() __attribute__((weak));
extern "C" void AppBalloonHelpVisibleGetter() __attribute__((weak));
extern "C" void AppBalloonHelpVisibleSetter() __attribute__((weak));
extern "C" void AppMenuBarGetter() __attribute__((weak));
extern "C" void AppMenuBarSetter() __attribute__((weak));
extern "C" void AppIntegerVersionStuffGetter() __attribute__((weak));
extern "C" void AppStringVersionStuffGetter() __attribute__((weak));
extern "C" void getWindowCount() __attribute__((weak));
extern "C" void getWindow() __attribute__((weak));
extern "C" void fileRFSizeGetter() __attribute__((weak));
extern "C" void memoryGetPtr() __attribute__((weak));
extern "C" void memorySetPtr() __attribute__((weak));
extern "C" void BitwiseAnd() __attribute__((weak));
extern "C" void BitwiseOr() __attribute__((weak));
extern "C" void BitwiseXor() __attribute__((weak));
extern "C" void getFrameColor() __attribute__((weak));
extern "C" void getFillColor() __attribute__((weak));
extern "C" void getTextColor() __attribute__((weak));
extern "C" void getLightTingeColor() __attribute__((weak));
extern "C" void getDarkTingeColor() __attribute__((weak));
extern "C" void getLightBevelColor() __attribute__((weak));
extern "C" void getDarkBevelColor() __attribute__((weak));
extern "C" void runCStr() __attribute__((weak));
extern "C" void runCDbl() __attribute__((weak));
extern "C" void runTrim() __attribute__((weak));
extern "C" void runLTrim() __attribute__((weak));
extern "C" void runRTrim() __attribute__((weak));
extern "C" void getKeyboardObject() __attribute__((weak));
extern "C" void modifierKeyGetter() __attribute__((weak));
extern "C" void asyncModifierKeyGetter() __attribute__((weak));
extern "C" void keyboardAsyncKeyDown() __attribute__((weak));
extern "C" void memoryGetUShort() __attribute__((weak));
extern "C" void StringDBCSLen() __attribute__((weak));
extern "C" void StringDBCSLeft() __attribute__((weak));
extern "C" void StringDBCSRight() __attribute__((weak));
extern "C" void StringDBCSMid2() __attribute__((weak));
extern "C" void StringDBCSMid3() __attribute__((weak));
extern "C" void StringDBCSInStr() __attribute__((weak));
extern "C" void StringDBCSAsc() __attribute__((weak));
extern "C" void StringDBCSChr() __attribute__((weak));
extern "C" void getSystemObject() __attribute__((weak));
extern "C" void RectShapeContains() __attribute__((weak));
extern "C" void Group2DCount() __attribute__((weak));
extern "C" void Group2DAppend() __attribute__((weak));
extern "C" void Group2DInsert() __attribute__((weak));
extern "C" void Group2DGetItem() __attribute__((weak));
extern "C" void Group2DSetItem() __attribute__((weak));
extern "C" void Group2DRemoveByObject() __attribute__((weak));
extern "C" void Group2DRemoveByIndex() __attribute__((weak));
extern "C" void Object2DDoubleSetter() __attribute__((weak));
extern "C" void ArcStartAngleSetter() __attribute__((weak));
extern "C" void PixmapShapeImageCtor() __attribute__((weak));
extern "C" void PixmapShapeConstructor() __attribute__((weak));
extern "C" void RuntimeGraphicsDrawObjectXY() __attribute__((weak));
extern "C" void RuntimeGraphicsDrawObject() __attribute__((weak));
extern "C" void doublePercentGetter() __attribute__((weak));
extern "C" void doublePercentSetter() __attribute__((weak));
extern "C" void CurveOrderSetter() __attribute__((weak));
extern "C" void CurveGetControlX() __attribute__((weak));
extern "C" void CurveGetControlY() __attribute__((weak));
extern "C" void CurveSetControlX() __attribute__((weak));
extern "C" void CurveSetControlY() __attribute__((weak));
extern "C" void FigureShapeAddLine() __attribute__((weak));
extern "C" void FigureShapeAddQuad() __attribute__((weak));
extern "C" void FigureShapeAddCubic() __attribute__((weak));
extern "C" void RuntimeGraphicsDrawPicture() __attribute__((weak));
extern "C" void RuntimePictureReference() __attribute__((weak));
extern "C" void enableMenuItems() __attribute__((weak));
extern "C" void formSetFocus() __attribute__((weak));
extern "C" void clearFocus() __attribute__((weak));
extern "C" void FolderItemSaveAsJPEG() __attribute__((weak));
extern "C" void exportPicture() __attribute__((weak));
extern "C" void intToVariant() __attribute__((weak));
extern "C" void doubleToVariant() __attribute__((weak));
extern "C" void stringToVariant() __attribute__((weak));
extern "C" void objectToVariant() __attribute__((weak));
extern "C" void colorToVariant() __attribute__((weak));
extern "C" void booleanToVariant() __attribute__((weak));
extern "C" void DateToVariant() __attribute__((weak));
extern "C" void variantToInt() __attribute__((weak));
extern "C" void variantToBoolean() __attribute__((weak));
extern "C" void variantToDouble() __attribute__((weak));
extern "C" void variantToString() __attribute__((weak));
extern "C" void variantToObject() __attribute__((weak));
extern "C" void variantToColor() __attribute__((weak));
extern "C" void VariantToDate() __attribute__((weak));
extern "C" void VarType() __attribute__((weak));
extern "C" void RuntimeIsNumeric() __attribute__((weak));
extern "C" void IsNull() __attribute__((weak));
extern "C" void VariantHash() __attribute__((weak));
extern "C" void VariantEqual() __attribute__((weak));
extern "C" void BinaryStreamReadFloat() __attribute__((weak));
extern "C" void BinaryStreamReadDouble() __attribute__((weak));
extern "C" void BinaryStreamWriteFloat() __attribute__((weak));
extern "C" void BinaryStreamWriteDouble() __attribute__((weak));
extern "C" void readColorHue() __attribute__((weak));
extern "C" void readColorSaturation() __attribute__((weak));
extern "C" void readColorValue() __attribute__((weak));
extern "C" void readColorCyan() __attribute__((weak));
extern "C" void readColorMagenta() __attribute__((weak));
extern "C" void readColorYellow() __attribute__((weak));
extern "C" void RuntimeHSV() __attribute__((weak));
extern "C" void RuntimeCMY() __attribute__((weak));
extern "C" void RuntimeUBound2Param() __attribute__((weak));
extern "C" void FolderItemMoveFileTo() __attribute__((weak));
extern "C" void Win32InstallPlugins() __attribute__((weak));
extern "C" void getMouseX() __attribute__((weak));
extern "C" void getMouseY() __attribute__((weak));
extern "C" void getMouseDown() __attribute__((weak));
extern "C" void textConverterConvert() __attribute__((weak));
extern "C" void getTextConverter() __attribute__((weak));
extern "C" void EncodingsGetter() __attribute__((weak));
extern "C" void textEncodingBaseGetter() __attribute__((weak));
extern "C" void textEncodingVariantGetter() __attribute__((weak));
extern "C" void textEncodingFormatGetter() __attribute__((weak));
extern "C" void getTextEncoding() __attribute__((weak));
extern "C" void getInternetTextEncoding() __attribute__((weak));
extern "C" void getFontTextEncoding() __attribute__((weak));
extern "C" void textEncodingInternetName() __attribute__((weak));
extern "C" void GetEncodingsObject() __attribute__((weak));
extern "C" void StringSetEncoding() __attribute__((weak));
extern "C" void StringGetEncoding() __attribute__((weak));
extern "C" void socketRemoteAddressGetter() __attribute__((weak));
extern "C" void getDatabaseProperty() __attribute__((weak));
extern "C" void debugDumpObjects() __attribute__((weak));
extern "C" void guessJapaneseEncoding() __attribute__((weak));
extern "C" void lineTrace() __attribute__((weak));
extern "C" void systemGestalt() __attribute__((weak));
extern "C" void systemPixel() __attribute__((weak));
extern "C" void systemGetKeyScript() __attribute__((weak));
extern "C" void systemSetKeyScript() __attribute__((weak));
extern "C" void memoryGetSingle() __attribute__((weak));
extern "C" void memorySetSingle() __attribute__((weak));
extern "C" void WindowToWindowPtr() __attribute__((weak));
extern "C" void StringToPString() __attribute__((weak));
extern "C" void StringToCString() __attribute__((weak));
extern "C" void StringToOSType() __attribute__((weak));
extern "C" void textConverterClear() __attribute__((weak));
extern "C" void parseDate() __attribute__((weak));
extern "C" void fileVRefNumGetter() __attribute__((weak));
extern "C" void fileDirIDGetter() __attribute__((weak));
extern "C" void pictureMaskGetter() __attribute__((weak));
extern "C" void getTemporaryFolderItem() __attribute__((weak));
extern "C" void SystemGetCommandLine() __attribute__((weak));
extern "C" void DisableAutoWaitCursor() __attribute__((weak));
extern "C" void EnableAutoWaitCursor() __attribute__((weak));
extern "C" void EnableCoreGraphicsTextOnOSX() __attribute__((weak));
extern "C" void ZANTDatabaseSetError() __attribute__((weak));
extern "C" void RegisterPluginVersion() __attribute__((weak));
extern "C" void memoryBlockSetSize() __attribute__((weak));
extern "C" void ConvertPtrToMemoryBlock() __attribute__((weak));
extern "C" void intInvalidateSetter() __attribute__((weak));
extern "C" void boolInvalidateSetter() __attribute__((weak));
extern "C" void stringInvalidateSetter() __attribute__((weak));
extern "C" void objInvalidateSetter() __attribute__((weak));
extern "C" void RegisterPluginExports() __attribute__((weak));
extern "C" void GetEventInstancePPC() __attribute__((weak));
extern "C" void ZANTinRuntime() __attribute__((weak));
extern "C" void RuntimeGraphicsDrawLine() __attribute__((weak));
extern "C" void PluginRegisterMethod() __attribute__((weak));
extern "C" void PluginRegisterControl() __attribute__((weak));
extern "C" void PluginRegisterClassExtension() __attribute__((weak));
extern "C" void PluginRegisterDBEngine() __attribute__((weak));
extern "C" void PluginRegisterDBCursor() __attribute__((weak));
extern "C" void PluginRegisterClass() __attribute__((weak));
extern "C" void StringGetCString() __attribute__((weak));
extern "C" void StringGetPString() __attribute__((weak));
extern "C" void PluginInterpretConstantValue() __attribute__((weak));
extern "C" void PluginDefaultControlFont() __attribute__((weak));
extern "C" void PluginDefaultControlCaption() __attribute__((weak));
extern "C" void PluginDefaultControlFontSize() __attribute__((weak));
extern "C" void ZANTBuildString() __attribute__((weak));
extern "C" void ZANTLockObject() __attribute__((weak));
extern "C" void ZANTUnlockObject() __attribute__((weak));
extern "C" void ZANTLockString() __attribute__((weak));
extern "C" void ZANTUnlockString() __attribute__((weak));
extern "C" void GetInterfaceRoutine() __attribute__((weak));
extern "C" void ZANTBuildPictureFromGWorld() __attribute__((weak));
extern "C" void ZANTBuildPictureFromPictureDescription() __attribute__((weak));
extern "C" void lockPictureDescription() __attribute__((weak));
extern "C" void unlockPictureDescription() __attribute__((weak));
extern "C" void ZANTPictureClearCache() __attribute__((weak));
extern "C" void ZANTdbCursorFromDBCursor() __attribute__((weak));
extern "C" void ZANTdbDatabaseFromDBDatabase() __attribute__((weak));
extern "C" void GetEventInstance() __attribute__((weak));
extern "C" void PluginGetControlBounds() __attribute__((weak));
extern "C" void GetControlVisible() __attribute__((weak));
extern "C" void ZANTGetControlEnabled() __attribute__((weak));
extern "C" void SetControlVisible() __attribute__((weak));
extern "C" void ZANTGetControlGraphics() __attribute__((weak));
extern "C" void FolderItemFromPath() __attribute__((weak));
extern "C" void ZANTpathFromFolderItem() __attribute__((weak));
extern "C" void ZANTInvalidateControl() __attribute__((weak));
extern "C" void ZANTInvalidateControlRect() __attribute__((weak));
extern "C" void getControlWindow() __attribute__((weak));
extern "C" void PluginNewInstance() __attribute__((weak));
extern "C" void PluginMarkSocketUsage() __attribute__((weak));
extern "C" void socketDirectConnect() __attribute__((weak));
extern "C" void socketClose() __attribute__((weak));
extern "C" void pluginSocketReadAll() __attribute__((weak));
extern "C" void pluginSocketRead() __attribute__((weak));
extern "C" void SocketWrite() __attribute__((weak));
extern "C" void socketLastErrorCode() __attribute__((weak));
extern "C" void pluginSocketLookahead() __attribute__((weak));
extern "C" void socketLocalAddressGetter() __attribute__((weak));
extern "C" void socketPoll() __attribute__((weak));
extern "C" void socketGetEvents() __attribute__((weak));
extern "C" void RegisterDataSourceInterface() __attribute__((weak));
extern "C" void RegisterDataSource() __attribute__((weak));
extern "C" void DesignAddDataSource() __attribute__((weak));
extern "C" void RuntimeMsgBox() __attribute__((weak));
extern "C" void pluginPictureGraphicsGetter() __attribute__((weak));
extern "C" void newPicture() __attribute__((weak));
extern "C" void newMemoryBlock() __attribute__((weak));
extern "C" void memoryBlockGetPtr() __attribute__((weak));
extern "C" void memoryBlockGetSize() __attribute__((weak));
extern "C" void PtrToMemoryBlock() __attribute__((weak));
extern "C" void ZANTSetAccelerator() __attribute__((weak));
extern "C" void ZANTGetQVVersion() __attribute__((weak));
extern "C" void RuntimeRaiseException() __attribute__((weak));
extern "C" void RuntimeUBound() __attribute__((weak));
extern "C" void RuntimeDirectReadIntArray() __attribute__((weak));
extern "C" void RuntimeDirectReadStringArray() __attribute__((weak));
extern "C" void RuntimeDirectReadObjectArray() __attribute__((weak));
extern "C" void GetTabPanelVisible() __attribute__((weak));
extern "C" void ZANTGetControlFocus() __attribute__((weak));
extern "C" void ZANTSetControlFocus() __attribute__((weak));
extern "C" void ZANTYieldToQV() __attribute__((weak));
extern "C" void pluginObjectType() __attribute__((weak));
extern "C" void CreateInstance() __attribute__((weak));
extern "C" void PluginRegisterInterface() __attribute__((weak));
extern "C" void ZANTGetControlParent() __attribute__((weak));
extern "C" void ZANTGetDBHost() __attribute__((weak));
extern "C" void ZANTGetDBDatabaseName() __attribute__((weak));
extern "C" void ZANTGetDBPassword() __attribute__((weak));
extern "C" void ZANTGetDBUserName() __attribute__((weak));
extern "C" void ZANTGetDBFromZANTdbDatabase() __attribute__((weak));
extern "C" void ZANTConstructDBDatabase() __attribute__((weak));
extern "C" void ZANTGetStringEncoding() __attribute__((weak));
extern "C" void ZANTSetStringEncoding() __attribute__((weak));
extern "C" void ZANTGetControlName() __attribute__((weak));
extern "C" void ZANTIsHIViewWindow() __attribute__((weak));
extern "C" void ZANTBuildPictureFromBuffer() __attribute__((weak));
extern "C" void ZANTGetFontEncoding() __attribute__((weak));
extern "C" void ZANTConvertString() __attribute__((weak));
extern "C" void ZANTGetPictureMask() __attribute__((weak));
extern "C" void ZANTInDebugMode() __attribute__((weak));
extern "C" void RuntimeGraphicsDrawString() __attribute__((weak));
extern "C" void ZANTGetGraphicsFontStyle() __attribute__((weak));
extern "C" void ZANTSetGraphicsStyle() __attribute__((weak));
extern "C" void ZANTStripAmpersands() __attribute__((weak));
extern "C" void RuntimeGraphicsStringWidth() __attribute__((weak));
extern "C" void RuntimeGraphicsStringHeight() __attribute__((weak));
extern "C" void RuntimeGraphicsTextHeight() __attribute__((weak));
extern "C" void RuntimeGraphicsTextAscent() __attribute__((weak));
extern "C" void pluginSocketListen() __attribute__((weak));
extern "C" void ZANTGetProjectFolder() __attribute__((weak));
extern "C" void ZANTGetControlHandle() __attribute__((weak));
extern "C" void ZANTGraphicsDC() __attribute__((weak));
extern "C" void ZANTDrawPicturePrimitive() __attribute__((weak));
extern "C" void PluginRegisterModule() __attribute__((weak));
extern "C" void ZANTLoadGlobalMethod() __attribute__((weak));
extern "C" void ZANTLoadObjectMethod() __attribute__((weak));
extern "C" void ZANTGetPropValueInt() __attribute__((weak));
extern "C" void ZANTGetPropValueString() __attribute__((weak));
extern "C" void ZANTGetPropValueDouble() __attribute__((weak));
extern "C" void ZANTGetPropValueObject() __attribute__((weak));
extern "C" void ZANTGetPropValueBool() __attribute__((weak));
extern "C" void ZANTSetDBIsConnected() __attribute__((weak));
extern "C" void ZANTSetPropValueInt() __attribute__((weak));
extern "C" void ZANTSetPropValueString() __attribute__((weak));
extern "C" void ZANTSetPropValueDouble() __attribute__((weak));
extern "C" void ZANTSetPropValueObject() __attribute__((weak));
extern "C" void ZANTSetPropValueBoolean() __attribute__((weak));
extern "C" void ZANTGraphicsGdkDrawable() __attribute__((weak));
extern "C" void ZANTGetClassMethod() __attribute__((weak));
extern "C" void ZANTCountClassMethods() __attribute__((weak));
extern "C" void ZANTGetClassProperty() __attribute__((weak));
extern "C" void ZANTCountClassProperties() __attribute__((weak));
extern "C" void ZANTGetStackLimit() __attribute__((weak));
extern "C" void ZANTSetStackLimit() __attribute__((weak));
extern "C" void InitStackChecker() __attribute__((weak));
extern "C" void PluginNewOfSameClass() __attribute__((weak));

#define ROW(name) {#name, reinterpret_cast<void *>(&name)}
#define ALIAS_ROW(name, function) {#name, reinterpret_cast<void *>(&function)}

const RelocEntry kFixedRelocTable[kFixedRelocEntryCount] = {
  // rows 0 to 49
  ROW(RuntimeReraiseException),
  ROW(RuntimeInit),
  ROW(GetEncodingFromTEObject),
  ROW(FolderItemGetImp),
  ROW(ZANTGetCommandLineForUnix),
  ROW(RemoteDebuggerStartup),
  ROW(DebugRuntimeInit),
  ROW(RuntimeExit),
  ROW(RuntimeRegisterAppObject),
  ROW(RuntimeRegisterConsoleAppObject),
  ROW(RuntimeLookupClass),
  ROW(RuntimeNewClass),
  ROW(RuntimeLockUnlockObjects),
  ROW(RuntimeNewVtable),
  ROW(RuntimeAllocatePluginEntrypointsTable),
  ROW(RuntimeLookupPluginEntrypoint),
  ROW(RuntimeDebuggerEntry),
  ROW(RuntimeDebuggerShutdown),
  ROW(RuntimeGetDatabaseFromResource),
  ROW(RuntimeUnhandledException),
  ROW(RuntimeLookupInterfaceVtable),
  ROW(RuntimeExchangeSelfAndMe),
  ROW(RuntimeExchangeSelfAndMeClass),
  ROW(RuntimeCreateArrayCastWrapper),
  ROW(RuntimeGetBitmapFromResourceManager),
  ROW(RuntimeGetCursorFromResourceManager),
  ROW(RuntimeGetSoundFromResourceManager),
  ROW(RuntimeGetTextFileFromResourceManager),
  ROW(RuntimeGetImplicitWindow),
  ROW(FolderItemOpenResourceMovie),
  ROW(mediaGetBoundPart),
  ROW(RuntimeGetMovieFromResource),
  ROW(popupGetBoundPart),
  ROW(editSetString),
  ROW(pbAddActionNotificationReceiver),
  ROW(pbRemoveActionNotificationReceiver),
  ROW(pushButtonPush),
  ROW(AppDockItemGetter),
  ROW(DockItemIconGraphicsGetter),
  ROW(DockItemResetIcon),
  ROW(DockItemIconUpdate),
  ROW(WindowVisibleGetter),
  ROW(WindowVisibleSetter),
  ROW(windowTitleSetter),
  ROW(windowMenusVisibleSetter),
  ROW(windowMenusVisibleGetter),
  ROW(windowFullScreenSetter),
  ROW(windowFullScreenGetter),
  ROW(windowPosGetter),
  ROW(windowPosSetter),
  // rows 50 to 99
  ROW(RuntimeShowWithinWindow),
  ROW(RuntimeShowModalWithinWindow),
  ROW(WindowForceUpdateFrontBuffer),
  ROW(WindowAddControl),
  ROW(WindowAddMenuHandler),
  ROW(WindowDefaultConstructor),
  ROW(WindowAllocateObject),
  ROW(formDrawInto),
  ROW(WindowMenuBarGetter),
  ROW(WindowMenuBarSetter),
  ROW(windowBackdropSetter),
  ROW(windowBackColorSetter),
  ROW(formRefresh),
  ROW(formRefreshRect),
  ROW(windowBalloonHelpSetter),
  ROW(windowHasBackColorSetter),
  ROW(WindowMenuBarGetter),
  ROW(WindowMenuBarSetter),
  ROW(WindowDockItemGetter),
  ROW(windowControlCountGetter),
  ROW(windowControl),
  ROW(windowMouseXGetter),
  ROW(windowMouseYGetter),
  ROW(windowHWNDGetter),
  ROW(windowWindowPtrGetter),
  ALIAS_ROW(getterWinHWND, windowHWNDGetter),
  ROW(groupCaptionGetter),
  ROW(groupCaptionSetter),
  ROW(radioGetBoundPart),
  ROW(rbaAddActionNotificationReceiver),
  ROW(rbaRemoveActionNotificationReceiver),
  ROW(checkBoxGetBoolean),
  ROW(checkBoxSetBoolean),
  ROW(checkBoxAddDataNotificationReceiver),
  ROW(checkBoxRemoveDataNotificationReceiver),
  ROW(checkBoxGetBoundPart),
  ROW(listGetBoundPart),
  ROW(cbaAddActionNotificationReceiver),
  ROW(lbaAddActionNotificationReceiver),
  ROW(cbaRemoveActionNotificationReceiver),
  ROW(lbaRemoveActionNotificationReceiver),
  ROW(linePosSetter),
  ROW(getScreenCount),
  ROW(getScreen),
  ROW(RuntimeEnableMenu),
  ROW(selectColor),
  ROW(ControlVisibleSetter),
  ROW(controlAutoDeactivateGetter),
  ROW(controlAutoDeactivateSetter),
  ROW(controlActiveGetter),
  // rows 100 to 149
  ROW(controlHelpTagSetter),
  ROW(controlBalloonHelpSetter),
  ROW(controlDisabledBalloonHelpSetter),
  ROW(ControlClose),
  ROW(ControlInitialParentSetter),
  ROW(ControlParentGetter),
  ROW(ControlParentSetter),
  ROW(controlMacControlHandleGetter),
  ROW(controlMouseXGetter),
  ROW(controlMouseYGetter),
  ROW(ControlTabPanelIndexSetter),
  ROW(ControlAddMenuHandler),
  ROW(controlWindowGetter),
  ROW(controlEnabledSetter),
  ROW(ctlPosGetter),
  ROW(ctlPosSetter),
  ROW(controlEnabledGetter),
  ROW(windowPlacementGetter),
  ROW(windowPlacementSetter),
  ROW(windowCloseBoxGetter),
  ROW(windowCloseBoxSetter),
  ROW(windowGrowIconGetter),
  ROW(windowGrowIconSetter),
  ROW(windowZoomIconGetter),
  ROW(windowZoomIconSetter),
  ROW(windowFrameGetter),
  ROW(windowFrameSetter),
  ROW(windowTitleGetter),
  ROW(windowBackdropGetter),
  ROW(windowBackColorGetter),
  ROW(controlVisibleGetter),
  ROW(controlLockLeftGetter),
  ROW(controlLockTopGetter),
  ROW(controlLockRightGetter),
  ROW(controlLockBottomGetter),
  ROW(controlLockLeftSetter),
  ROW(controlLockTopSetter),
  ROW(controlLockRightSetter),
  ROW(controlLockBottomSetter),
  ROW(screenLeftGetter),
  ROW(screenTopGetter),
  ROW(screenWidthGetter),
  ROW(screenHeightGetter),
  ROW(screenDepthGetter),
  ROW(groupTextFontGetter),
  ROW(groupTextFontSetter),
  ROW(groupTextSizeGetter),
  ROW(groupTextSizeSetter),
  ROW(groupBoldGetter),
  ROW(groupBoldSetter),
  // rows 150 to 199
  ROW(groupItalicGetter),
  ROW(groupItalicSetter),
  ROW(groupUnderlineGetter),
  ROW(groupUnderlineSetter),
  ROW(windowHasBackColorGetter),
  ROW(controlEnabledSetter),
  ROW(ctlPosGetter),
  ROW(ctlPosSetter),
  ROW(ZANTDBConnectionDialogCreate),
  ROW(ZANTDBConnectionDialogAddField),
  ROW(ZANTDBConnectionDialogShow),
  ROW(ZANTDBConnectionDialogDelete),
  ROW(IPCSocketClose),
  ROW(IPCSocketPoll),
  ROW(IPCSocketConnect),
  ROW(IPCSocketListen),
  ROW(IPCSocketRead),
  ROW(IPCSocketReadAll),
  ROW(IPCSocketWrite),
  ROW(IPCSocketLookahead),
  ROW(IPCSocketIsConnected),
  ROW(RuntimeRegisterFileType),
  ROW(RuntimeLockObject),
  ROW(RuntimeUnlockObject),
  ROW(RuntimeRun),
  ROW(RuntimeLockString),
  ROW(RuntimeUnlockString),
  ROW(RuntimeLockUnlockStrings),
  ROW(RuntimeNilObject),
  ROW(RuntimeControlReference),
  ROW(RuntimeNewObject),
  ROW(RuntimeProjectObject),
  ROW(RuntimeObjectIsa),
  ROW(RuntimeFindHookCode),
  ROW(RuntimeMenuReference),
  ROW(RuntimeAddString),
  ROW(RuntimeStackCheck),
  ROW(RuntimeCheckCast),
  ROW(CreateArray),
  ROW(RuntimeLockArray),
  ROW(RuntimeUnlockArray),
  ROW(RuntimeLockUnlockArrays),
  ROW(RuntimeBackgroundTask),
  ROW(readColorRed),
  ROW(readColorGreen),
  ROW(readColorBlue),
  ROW(RuntimeStringCompare),
  ROW(RuntimeDebugInstance),
  ROW(RuntimeDebugObjectCount),
  ROW(RuntimeDebugObjectID),
  // rows 200 to 249
  ROW(RuntimeDebugObjectClass),
  ROW(RuntimeDebugObjectRefs),
  ROW(RuntimeDebugMemoryUsed),
  ROW(StringLeft),
  ROW(StringRight),
  ROW(StringMid2),
  ROW(StringMid3),
  ROW(StringLen),
  ROW(StringLCase),
  ROW(StringUCase),
  ROW(StringInStr),
  ROW(StringInStrB),
  ROW(StringStr),
  ROW(StringVal),
  ROW(StringAsc),
  ROW(StringChr),
  ROW(SingleToInt),
  ROW(FPToInt),
  ROW(IntToFP),
  ROW(ApplicationQuit),
  ROW(RuntimeShowWindow),
  ROW(RuntimeShortToInteger),
  ROW(paneStringGetter),
  ROW(paneStringSetter),
  ROW(paneBoolGetter),
  ROW(paneBoolSetter),
  ROW(paneIntGetter),
  ROW(paneIntSetter),
  ROW(paneObjGetter),
  ROW(paneObjSetter),
  ROW(paneShortGetter),
  ROW(paneShortSetter),
  ROW(RuntimeControlRefresh),
  ROW(RectControlDefaultConstructor),
  ROW(RuntimeRGB),
  ROW(stringGetter),
  ROW(stringSetter),
  ROW(objGetter),
  ROW(objSetter),
  ROW(shortGetter),
  ROW(shortSetter),
  ROW(doubleGetter),
  ROW(doubleSetter),
  ROW(intGetter),
  ROW(intSetter),
  ROW(boolGetter),
  ROW(boolSetter),
  ROW(singleGetter),
  ROW(singleSetter),
  ROW(RuntimeControlRefreshRect),
  // rows 250 to 299
  ROW(RuntimeGetOpenFolderItem),
  ROW(RuntimeGetSaveFolderItem),
  ROW(TextInputStreamClose),
  ROW(ApplicationNewDocument),
  ROW(ApplicationOpenDocument),
  ROW(ApplicationAddMenuHandler),
  ROW(RuntimeShowModal),
  ROW(RuntimeHideWindow),
  ROW(RuntimeCloseWindow),
  ROW(RuntimeControlArrayItemReference),
  ROW(RuntimeControlFetch),
  ROW(timerModeSetter),
  ROW(timerPeriodSetter),
  ROW(RuntimeTimerReset),
  ROW(RuntimeTicks),
  ROW(RuntimeMicroseconds),
  ROW(StringReplace),
  ROW(StringReplaceAll),
  ROW(StringTitleCase),
  ROW(StringCountFields),
  ROW(StringNthField),
  ROW(StringSplit),
  ROW(StringJoin),
  ROW(RuntimeBeep),
  ROW(RuntimeSetFocus),
  ROW(GlobalShowURL),
  ROW(StringStrCompare),
  ROW(StringFormat),
  ROW(getUserCancelled),
  ROW(getAppObject),
  ROW(appMouseCursorSetter),
  ROW(appResourceForkGetter),
  ROW(AppBalloonHelpVisibleGetter),
  ROW(AppBalloonHelpVisibleSetter),
  ROW(AppMenuBarGetter),
  ROW(AppMenuBarSetter),
  ROW(AppIntegerVersionStuffGetter),
  ROW(AppStringVersionStuffGetter),
  ROW(getWindowCount),
  ROW(getWindow),
  ROW(fileRFSizeGetter),
  ROW(memoryGetPtr),
  ROW(memorySetPtr),
  ROW(BitwiseAnd),
  ROW(BitwiseOr),
  ROW(BitwiseXor),
  ROW(getFrameColor),
  ROW(getFillColor),
  ROW(getTextColor),
  ROW(getLightTingeColor),
  // rows 300 to 349
  ROW(getDarkTingeColor),
  ROW(getLightBevelColor),
  ROW(getDarkBevelColor),
  ROW(runCStr),
  ROW(runCDbl),
  ROW(runTrim),
  ROW(runLTrim),
  ROW(runRTrim),
  ROW(getKeyboardObject),
  ROW(modifierKeyGetter),
  ROW(asyncModifierKeyGetter),
  ROW(keyboardAsyncKeyDown),
  ROW(memoryGetUShort),
  ROW(StringDBCSLen),
  ROW(StringDBCSLeft),
  ROW(StringDBCSRight),
  ROW(StringDBCSMid2),
  ROW(StringDBCSMid3),
  ROW(StringDBCSInStr),
  ROW(StringDBCSAsc),
  ROW(StringDBCSChr),
  ROW(getSystemObject),
  ROW(RectShapeContains),
  ROW(Group2DCount),
  ROW(Group2DAppend),
  ROW(Group2DInsert),
  ROW(Group2DGetItem),
  ROW(Group2DSetItem),
  ROW(Group2DRemoveByObject),
  ROW(Group2DRemoveByIndex),
  ROW(Object2DDoubleSetter),
  ROW(ArcStartAngleSetter),
  ROW(PixmapShapeImageCtor),
  ROW(PixmapShapeConstructor),
  ROW(RuntimeGraphicsDrawObjectXY),
  ROW(RuntimeGraphicsDrawObject),
  ROW(doublePercentGetter),
  ROW(doublePercentSetter),
  ROW(CurveOrderSetter),
  ROW(CurveGetControlX),
  ROW(CurveGetControlY),
  ROW(CurveSetControlX),
  ROW(CurveSetControlY),
  ROW(FigureShapeAddLine),
  ROW(FigureShapeAddQuad),
  ROW(FigureShapeAddCubic),
  ROW(RuntimeGraphicsDrawPicture),
  ROW(RuntimePictureReference),
  ROW(enableMenuItems),
  ROW(formSetFocus),
  // rows 350 to 399
  ROW(clearFocus),
  ROW(FolderItemSaveAsJPEG),
  ROW(exportPicture),
  ROW(intToVariant),
  ROW(doubleToVariant),
  ROW(stringToVariant),
  ROW(objectToVariant),
  ROW(colorToVariant),
  ROW(booleanToVariant),
  ROW(DateToVariant),
  ROW(variantToInt),
  ROW(variantToBoolean),
  ROW(variantToDouble),
  ROW(variantToString),
  ROW(variantToObject),
  ROW(variantToColor),
  ROW(VariantToDate),
  ROW(VarType),
  ROW(RuntimeIsNumeric),
  ROW(IsNull),
  ROW(VariantHash),
  ROW(VariantEqual),
  ROW(BinaryStreamReadFloat),
  ROW(BinaryStreamReadDouble),
  ROW(BinaryStreamWriteFloat),
  ROW(BinaryStreamWriteDouble),
  ROW(readColorHue),
  ROW(readColorSaturation),
  ROW(readColorValue),
  ROW(readColorCyan),
  ROW(readColorMagenta),
  ROW(readColorYellow),
  ROW(RuntimeHSV),
  ROW(RuntimeCMY),
  ROW(RuntimeUBound2Param),
  ROW(FolderItemMoveFileTo),
  ROW(Win32InstallPlugins),
  ROW(getMouseX),
  ROW(getMouseY),
  ROW(getMouseDown),
  ROW(textConverterConvert),
  ROW(getTextConverter),
  ROW(EncodingsGetter),
  ROW(textEncodingBaseGetter),
  ROW(textEncodingVariantGetter),
  ROW(textEncodingFormatGetter),
  ROW(getTextEncoding),
  ROW(getInternetTextEncoding),
  ROW(getFontTextEncoding),
  ROW(textEncodingInternetName),
  // rows 400 to 449
  ROW(GetEncodingsObject),
  ROW(StringSetEncoding),
  ROW(StringGetEncoding),
  ROW(socketRemoteAddressGetter),
  ROW(getDatabaseProperty),
  ROW(debugDumpObjects),
  ROW(guessJapaneseEncoding),
  ROW(lineTrace),
  ROW(systemGestalt),
  ROW(systemPixel),
  ROW(systemGetKeyScript),
  ROW(systemSetKeyScript),
  ROW(memoryGetSingle),
  ROW(memorySetSingle),
  ROW(WindowToWindowPtr),
  ROW(StringToPString),
  ROW(StringToCString),
  ROW(StringToOSType),
  ROW(textConverterClear),
  ROW(parseDate),
  ROW(fileVRefNumGetter),
  ROW(fileDirIDGetter),
  ROW(pictureMaskGetter),
  ROW(getTemporaryFolderItem),
  ROW(SystemGetCommandLine),
  ROW(DisableAutoWaitCursor),
  ROW(EnableAutoWaitCursor),
  ROW(EnableCoreGraphicsTextOnOSX),
  ROW(ZANTDatabaseSetError),
  ROW(RegisterPluginVersion),
  ROW(memoryBlockSetSize),
  ROW(ConvertPtrToMemoryBlock),
  ROW(intInvalidateSetter),
  ROW(boolInvalidateSetter),
  ROW(stringInvalidateSetter),
  ROW(objInvalidateSetter),
  ROW(RegisterPluginExports),
  ROW(GetEventInstancePPC),
  ROW(ZANTinRuntime),
  ROW(RuntimeGraphicsDrawLine),
  ROW(PluginRegisterMethod),
  ROW(PluginRegisterControl),
  ROW(PluginRegisterClassExtension),
  ROW(PluginRegisterDBEngine),
  ROW(PluginRegisterDBCursor),
  ROW(PluginRegisterClass),
  ROW(StringGetCString),
  ROW(StringGetPString),
  ROW(PluginInterpretConstantValue),
  ROW(PluginDefaultControlFont),
  // rows 450 to 499
  ROW(PluginDefaultControlCaption),
  ROW(PluginDefaultControlFontSize),
  ROW(ZANTBuildString),
  ROW(ZANTLockObject),
  ROW(ZANTUnlockObject),
  ROW(ZANTLockString),
  ROW(ZANTUnlockString),
  ROW(GetInterfaceRoutine),
  ROW(ZANTBuildPictureFromGWorld),
  ROW(ZANTBuildPictureFromPictureDescription),
  ROW(lockPictureDescription),
  ROW(unlockPictureDescription),
  ROW(unlockPictureDescription),
  ROW(ZANTPictureClearCache),
  ROW(ZANTdbCursorFromDBCursor),
  ROW(ZANTdbDatabaseFromDBDatabase),
  ROW(GetEventInstance),
  ROW(PluginGetControlBounds),
  ROW(GetControlVisible),
  ROW(ZANTGetControlEnabled),
  ROW(SetControlVisible),
  ROW(ZANTGetControlGraphics),
  ROW(FolderItemFromPath),
  ROW(ZANTpathFromFolderItem),
  ROW(ZANTInvalidateControl),
  ROW(ZANTInvalidateControlRect),
  ROW(getControlWindow),
  ROW(PluginNewInstance),
  ROW(PluginMarkSocketUsage),
  ROW(socketDirectConnect),
  ROW(socketClose),
  ROW(pluginSocketReadAll),
  ROW(pluginSocketRead),
  ROW(SocketWrite),
  ROW(socketLastErrorCode),
  ROW(pluginSocketLookahead),
  ROW(socketLocalAddressGetter),
  ROW(socketPoll),
  ROW(socketGetEvents),
  ROW(RegisterDataSourceInterface),
  ROW(RegisterDataSource),
  ROW(DesignAddDataSource),
  ROW(RuntimeMsgBox),
  ROW(controlEnabledSetter),
  ROW(ctlPosGetter),
  ROW(ctlPosSetter),
  ROW(pluginPictureGraphicsGetter),
  ROW(newPicture),
  ROW(newMemoryBlock),
  ROW(memoryBlockGetPtr),
  // rows 500 to 549
  ROW(memoryBlockGetSize),
  ROW(PtrToMemoryBlock),
  ROW(ZANTSetAccelerator),
  ROW(ZANTGetQVVersion),
  ROW(RuntimeRaiseException),
  ROW(RuntimeUBound),
  ROW(RuntimeDirectReadIntArray),
  ROW(RuntimeDirectReadStringArray),
  ROW(RuntimeDirectReadObjectArray),
  ROW(GetTabPanelVisible),
  ROW(ZANTGetControlFocus),
  ROW(ZANTSetControlFocus),
  ROW(ZANTYieldToQV),
  ROW(pluginObjectType),
  ROW(CreateInstance),
  ROW(PluginRegisterInterface),
  ROW(ZANTGetControlParent),
  ROW(ZANTGetDBHost),
  ROW(ZANTGetDBDatabaseName),
  ROW(ZANTGetDBPassword),
  ROW(ZANTGetDBUserName),
  ROW(ZANTGetDBFromZANTdbDatabase),
  ROW(ZANTConstructDBDatabase),
  ROW(ZANTGetStringEncoding),
  ROW(ZANTSetStringEncoding),
  ROW(ZANTDBConnectionDialogCreate),
  ROW(ZANTDBConnectionDialogAddField),
  ROW(ZANTDBConnectionDialogShow),
  ROW(ZANTDBConnectionDialogDelete),
  ROW(ZANTGetControlName),
  ROW(ZANTIsHIViewWindow),
  ROW(ZANTBuildPictureFromBuffer),
  ROW(ZANTGetFontEncoding),
  ROW(ZANTConvertString),
  ROW(ZANTGetPictureMask),
  ROW(ZANTInDebugMode),
  ROW(RuntimeGraphicsDrawString),
  ROW(ZANTGetGraphicsFontStyle),
  ROW(ZANTSetGraphicsStyle),
  ROW(ZANTStripAmpersands),
  ROW(RuntimeGraphicsStringWidth),
  ROW(RuntimeGraphicsStringHeight),
  ROW(RuntimeGraphicsTextHeight),
  ROW(RuntimeGraphicsTextAscent),
  ROW(pluginSocketListen),
  ROW(ZANTGetProjectFolder),
  ROW(ZANTGetControlHandle),
  ROW(ZANTGraphicsDC),
  ROW(ZANTDrawPicturePrimitive),
  ROW(PluginRegisterModule),
  // rows 550 to 577
  ROW(ZANTLoadGlobalMethod),
  ROW(ZANTLoadObjectMethod),
  ROW(ZANTGetPropValueInt),
  ROW(ZANTGetPropValueString),
  ROW(ZANTGetPropValueDouble),
  ROW(ZANTGetPropValueObject),
  ROW(ZANTGetPropValueBool),
  ROW(ZANTSetDBIsConnected),
  ROW(stringToVariant),
  ROW(intToVariant),
  ROW(doubleToVariant),
  ROW(booleanToVariant),
  ROW(colorToVariant),
  ROW(ZANTSetPropValueInt),
  ROW(ZANTSetPropValueString),
  ROW(ZANTSetPropValueDouble),
  ROW(ZANTSetPropValueObject),
  ROW(ZANTSetPropValueBoolean),
  ROW(ZANTGraphicsGdkDrawable),
  ROW(ZANTGetClassMethod),
  ROW(ZANTCountClassMethods),
  ROW(ZANTGetClassProperty),
  ROW(ZANTCountClassProperties),
  ROW(ZANTGetStackLimit),
  ROW(ZANTSetStackLimit),
  ALIAS_ROW(ZANTInitStackChecker, InitStackChecker),
  ROW(PluginNewOfSameClass),
  ALIAS_ROW(GetControlBounds, PluginGetControlBounds),
};
// clang-format on
