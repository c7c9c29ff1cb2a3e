// The application's image as the loader sees it: the runtime entry points it
// imports, and whether the runtime's export table binds every one of them.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "TavrinImage.h"

namespace {

// What the application calls in the runtime, and nothing more.
const std::set<std::string> kExpectedNames = {
    "RuntimeInit", "RuntimeExit", "RuntimeUnlockString", "RuntimeStackCheck",
    "RuntimeLookupClass", "RuntimeNewVtable", "RuntimeLockString", "TCPSocketFlush",
    "socketLastErrorCode", "socketRead", "TCPSocketEof", "RuntimeNewClass", "RuntimeLockObject",
    "StringDBCSLen", "RuntimeUnlockObject", "RuntimeNewObject", "memoryBlockNewConstructor",
    "RuntimeLockUnlockObjects", "RuntimeNilObject", "memoryBlockGetSize", "memorySetString",
    "memoryGetLong", "memoryGetString", "RuntimeLockUnlockStrings", "RuntimeReraiseException",
    "StringDBCSMid2", "memorySetLong", "SocketIsConnected", "SocketWrite", "RuntimeStringCompare",
    "socketPoll", "getAppObject", "RuntimeDoEvents", "RuntimeBackgroundTask", "SocketListen",
    "RuntimeTicks", "RuntimeRaiseException", "SocketReadAll", "RuntimeAddString",
    "RuntimeControlReference", "staticCaptionSetter", "stringGetter", "editTextSetter",
    "socketRemoteAddressGetter", "controlEnabledSetter", "SocketConnect", "GetEncodingsObject",
    "EncodingsGetter", "StringConvertEncoding", "ApplicationQuit", "WindowAllocateObject",
    "intSetter", "RuntimeTimerReset", "RuntimeShowWindow", "WindowMenuBarSetter",
    "RuntimeMassPropertySetter", "RectControlDefaultConstructor", "WindowAddControl",
    "RuntimeInstallInstanceEventHandler", "WindowAddMenuHandler", "RuntimeExchangeSelfAndMe",
    "RuntimeShowWithinWindow", "WindowMenuBarGetter", "RuntimeMenuItemLookup", "RuntimeCheckCast",
    "RuntimeGetImplicitWindow", "WindowDefaultConstructor", "RuntimeMenuItemDefaultConstructor",
    "RuntimeMenuItemAppend", "RuntimeMenuItemItem", "clipboardTextSetter", "clipboardClose",
    "timerPeriodSetter", "timerModeSetter", "clipboardTextAvailable", "clipboardTextGetter",
    "clipboardPictureAvailable", "SocketPortSetter", "SocketDisconnect", "editTextGetter",
    "RuntimeCloseWindow", "GlobalShowURL", "AppMenuBarSetter", "RuntimeRegisterAppObject",
    "WindowForceUpdateFrontBuffer", "RuntimeRegisterFileType", "RuntimeRun",
    "RuntimeUnhandledException", "RuntimeAllocatePluginEntrypointsTable"};

TEST(TavrinImage, ImportsExactlyTheRuntimeEntryPointsItUses) {
  std::vector<RuntimeImport> imports = ReadRuntimeImports();
  EXPECT_EQ(imports.size(), 90u);
  std::set<std::string> names, absolute;
  for (const RuntimeImport &import : imports) {
    names.insert(import.name);
    if (!import.relative)
      absolute.insert(import.name);
  }
  EXPECT_EQ(kExpectedNames.size(), 89u);
  EXPECT_EQ(names, kExpectedNames);
  // Addresses taken for the stream interfaces' tables, not called.
  EXPECT_EQ(absolute, (std::set<std::string>{"TCPSocketFlush", "socketLastErrorCode", "socketRead",
                                             "TCPSocketEof"}));
  EXPECT_EQ(std::count_if(imports.begin(), imports.end(),
                          [](const RuntimeImport &i) { return i.name == "socketLastErrorCode"; }),
            2);
}

// The loader binds by name through the export table the start-up fills. An
// import left unbound would stop the application in the loader's alerts:
// the test names each one.
TEST(TavrinImage, EveryImportIsBoundByTheRuntime) {
  EXPECT_TRUE(UnboundImports().empty()) << DescribeUnbound(UnboundImports());
}

} // namespace
