// The System, Screen and Keyboard modules: their answers from the process,
// the network interfaces, the display and the key state.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include <gdk/gdkkeysyms.h>
#include <gtk/gtk.h>
#include <sched.h>
#include <sys/wait.h>
#include <unistd.h>

#include "desktop/KeyboardClass.h"
#include "desktop/ScreenClass.h"
#include "desktop/SystemClass.h"
#include "foundation/TextEncodings.h"
#include "net/NetworkInterfacesPosix.h"
#include "net/SocketObjects.h"
#include "runtime/application/CommonRuntimeFunctions.h"
#include "runtime/exceptions/ExceptionClasses.h"
#include "runtime/exceptions/RuntimeExceptions.h"
#include "runtime/objects/ObjectDefinitionConverter.h"
#include "runtime/startup/BuiltinClassBuilders.h"
#include "runtime/startup/ProgramArguments.h"
#include "support/CommandOutput.h"
#include "support/WindowsTestSupport.h"
#include "windows/GTKHelper.h"

namespace {

// Exceptions raised outside compiled code, by class name.
std::vector<std::string> &Raised() {
  static std::vector<std::string> raised;
  return raised;
}

struct RaisedExceptions {
  RaisedExceptions() {
    OutOfBoundsExceptionClass();
    Raised().clear();
    SetUnhandledExceptionHook([](RuntimeObject *e) {
      Raised().push_back(stringStorage::CString(e->classPtr->name));
    });
  }
  ~RaisedExceptions() { SetUnhandledExceptionHook(nullptr); }
};

// A string a function handed over, as text; the reference is released.
std::string Take(stringStorage *s) {
  std::string text = stringStorage::CString(s);
  stringStorage::RemoveReference(s);
  return text;
}

stringStorage *Text(const char *s) { return string(s).ExtractStringStorage(); }

// The names of a definition's properties, in order.
std::vector<std::string> PropertyNames(ObjectDefinition *defn) {
  std::vector<std::string> names;
  for (InstanceVariable *p = defn->GetPropertyListHead(); p; p = p->next)
    names.push_back(p->name.CString());
  return names;
}

} // namespace

TEST(KeyboardModule, KeyNamesComeFromTheTableOrTheHexadecimalCode) {
  const struct {
    int32_t code;
    const char *name;
  } cases[] = {{53, "Esc"},          {76, "Enter"},       {52, "Enter"},   {78, "KP-"},
               {67, "KP-"},          {124, "Right"},      {0, "key00000000"}, {255, "key000000FF"},
               {-1, "keyFFFFFFFF"}};
  for (const auto &c : cases)
    EXPECT_EQ(Take(keyboardKeyName(nullptr, c.code)), c.name) << c.code;
}

TEST(KeyboardModule, ModifiersOfTheLastKeyPressAndHeldKeys) {
  gLastModifiers = kShiftKeyMask | kControlKeyMask;
  EXPECT_EQ(modifierKeyGetter(nullptr, kShiftKeyMask), 1);
  EXPECT_EQ(modifierKeyGetter(nullptr, kControlKeyMask), 1);
  EXPECT_EQ(modifierKeyGetter(nullptr, kOptionKeyMask), 0);
  EXPECT_EQ(modifierKeyGetter(nullptr, kCommandKeyMask), 0);

  // The right Shift key held counts for AsyncShiftKey; releasing it ends it.
  EXPECT_EQ(asyncModifierKeyGetter(nullptr, kShiftKeyMask), 0);
  GTKHelper::NoteKeyEvent(true, GDK_Shift_R, 62);
  EXPECT_EQ(asyncModifierKeyGetter(nullptr, kShiftKeyMask), 1);
  EXPECT_EQ(asyncModifierKeyGetter(nullptr, kControlKeyMask), 0);
  EXPECT_EQ(asyncModifierKeyGetter(nullptr, 1), 0); // not a modifier mask
  GTKHelper::NoteKeyEvent(false, GDK_Shift_R, 62);
  EXPECT_EQ(asyncModifierKeyGetter(nullptr, kShiftKeyMask), 0);
}

TEST(SystemModule, DottedAddressesAndPenButtons) {
  EXPECT_STREQ(DottedAddress(0xC0A80102).CString(), "192.168.1.2");
  EXPECT_STREQ(DottedAddress(0).CString(), "0.0.0.0");
  EXPECT_STREQ(DottedAddress(0xFFFFFF00).CString(), "255.255.255.0");
  EXPECT_EQ(DottedAddress(0x0A000001).Encoding(), kEncodingASCII);
  for (int32_t index : {32, -1, 0, 31})
    EXPECT_EQ(SystemGetPenButton(nullptr, index), 0) << index;
  EXPECT_EQ(SystemGetPenPressure(nullptr), 0);
  int32_t result = 7;
  EXPECT_EQ(systemGestalt(nullptr, nullptr, &result), 0);
  EXPECT_EQ(result, 0);
}

TEST(SystemModule, CommandLineJoinsEveryArgumentUnquoted) {
  char program[] = "/opt/prog", first[] = "a b", second[] = "c";
  char *argv[] = {program, first, second, nullptr};
  gArgc = 3;
  gArgv = argv;
  EXPECT_EQ(Take(SystemGetCommandLine(nullptr)), "/opt/prog a b c");
  gArgc = 1; // kept from the first call
  EXPECT_EQ(Take(SystemGetCommandLine(nullptr)), "/opt/prog a b c");
  gArgv = nullptr;
}

TEST(SystemModule, EnvironmentVariablesReadBackAndReachChildren) {
  SystemSetEnvVariable(nullptr, Text("SYSTEM_MODULE_TEST"), Text("one two"));
  EXPECT_EQ(Take(SystemGetEnvVariable(nullptr, Text("SYSTEM_MODULE_TEST"))), "one two");
  EXPECT_EQ(CommandOutput("sh -c 'printf %s \"$SYSTEM_MODULE_TEST\"'"), "one two");

  // Valid UTF-8 is tagged UTF-8; other bytes stay ASCII-tagged.
  setenv("SYSTEM_MODULE_TEST", "caf\xC3\xA9", 1);
  stringStorage *value = SystemGetEnvVariable(nullptr, Text("SYSTEM_MODULE_TEST"));
  EXPECT_EQ(string::Borrow(value).Encoding(), kEncodingUTF8);
  EXPECT_EQ(Take(value), "caf\xC3\xA9");
  setenv("SYSTEM_MODULE_TEST", "caf\xE9", 1);
  value = SystemGetEnvVariable(nullptr, Text("SYSTEM_MODULE_TEST"));
  EXPECT_EQ(string::Borrow(value).Encoding(), kEncodingASCII);
  stringStorage::RemoveReference(value);

  // A nil value sets the empty text; a nil name does nothing.
  SystemSetEnvVariable(nullptr, Text("SYSTEM_MODULE_TEST"), nullptr);
  EXPECT_STREQ(getenv("SYSTEM_MODULE_TEST"), "");
  SystemSetEnvVariable(nullptr, nullptr, Text("x"));
  EXPECT_EQ(SystemGetEnvVariable(nullptr, nullptr), nullptr);
  unsetenv("SYSTEM_MODULE_TEST");
  EXPECT_EQ(SystemGetEnvVariable(nullptr, Text("SYSTEM_MODULE_TEST")), nullptr);
}

TEST(SystemModule, NetworkInterfaceIndexesOutsideTheListRaise) {
  RaisedExceptions raised;
  const int32_t count = GetNetworkInterfaceCount();
  for (int32_t index : {-2, count}) {
    Raised().clear();
    EXPECT_EQ(GetNetworkInterfaceObject(nullptr, index), nullptr) << index;
    EXPECT_EQ(Raised(), std::vector<std::string>{"OutOfBoundsException"}) << index;
  }
  Raised().clear();
  RuntimeObject *object = GetNetworkInterfaceObject(nullptr, -1);
  ASSERT_NE(object, nullptr);
  EXPECT_TRUE(Raised().empty());
  EXPECT_EQ(reinterpret_cast<NetworkInterfaceObject *>(object)->number, -1);
  EXPECT_EQ(Take(SystemGetIPAddress(object)), std::string(DottedAddress(GetLocalIPAddress(-1)).CString()));
  RuntimeUnlockObject(object);
}

// In a network namespace of its own with one veth end at 192.168.1.2/24, the
// interface's address and mask read back. Needs the right to make namespaces.
TEST(SystemModule, AnInterfaceAddressAndMaskReadBack) {
  pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    if (unshare(CLONE_NEWNET) != 0)
      _exit(77);
    if (system("ip link add t0 type veth peer name t1 && ip addr add 192.168.1.2/24 dev t0 && "
               "ip link set t0 up && ip link set t1 up") != 0)
      _exit(77);
    int32_t count = GetNetworkInterfaceCount();
    int32_t found = -1;
    for (int32_t i = 0; i < count; ++i)
      if (GetLocalIPAddress(i) == 0xC0A80102)
        found = i;
    if (found < 0)
      _exit(1);
    RuntimeObject *object = GetNetworkInterfaceObject(nullptr, found);
    bool ok = object && Take(SystemGetIPAddress(object)) == "192.168.1.2" &&
              Take(SystemGetSubnetMask(object)) == "255.255.255.0";
    _exit(ok ? 0 : 2);
  }
  int status = 0;
  waitpid(child, &status, 0);
  ASSERT_TRUE(WIFEXITED(status));
  if (WEXITSTATUS(status) == 77)
    GTEST_SKIP() << "no network namespaces here";
  EXPECT_EQ(WEXITSTATUS(status), 0);
}

TEST(SystemModule, ClassesAndTheSocketPropertyThatNamesNetworkInterface) {
  EXPECT_EQ(GetBuiltinClassHooks().NetworkInterfaceClass, &NetworkInterfaceClass);
  EXPECT_EQ(NetworkInterfaceClass()->objectSize, 28);
  EXPECT_EQ(SystemClass()->objectSize, 24);
  EXPECT_EQ(ScreenClass()->objectSize, 60);
  EXPECT_EQ(PropertyNames(NetworkInterfaceClass()),
            (std::vector<std::string>{"MACAddress", "IPAddress", "SubnetMask"}));

  ObjectDefinition *core = GetBuiltinClassHooks().SocketCoreClass();
  InstanceVariable *property = core->GetPropertyListHead();
  while (property && std::string(property->name.CString()) != "NetworkInterface")
    property = property->next;
  ASSERT_NE(property, nullptr);
  EXPECT_EQ(property->type, NetworkInterfaceClass()->AsType());

  RuntimeObject *system = getSystemObject();
  ASSERT_NE(system, nullptr);
  EXPECT_EQ(system->classPtr, LookupObjectDefinition(SystemClass()));
  RuntimeObject *status = systemGetQTInstallStatus(system);
  ASSERT_NE(status, nullptr);
  EXPECT_EQ(QTInstalledGetter(status), 0);
  EXPECT_EQ(systemGetDefaultKeyChain(system), nullptr);
  EXPECT_EQ(systemGetKeyChainCount(system), 0);
  RuntimeUnlockObject(status);
  RuntimeUnlockObject(system);
}

TEST(ScreenModule, ScreenZeroIsTheDisplay) {
  ASSERT_TRUE(HaveDisplay());
  EXPECT_EQ(getScreenCount(), 1);
  EXPECT_EQ(getScreen(1), nullptr);
  EXPECT_EQ(getScreen(-1), nullptr);
  RuntimeObject *screen = getScreen(0);
  ASSERT_NE(screen, nullptr);
  auto *s = reinterpret_cast<ScreenObject *>(screen);
  EXPECT_EQ(screenWidthGetter(screen), gdk_screen_width());
  EXPECT_EQ(screenHeightGetter(screen), gdk_screen_height());
  EXPECT_EQ(screenDepthGetter(screen), gdk_drawable_get_depth(gdk_get_default_root_window()));
  EXPECT_EQ(screenLeftGetter(screen), 0);
  EXPECT_EQ(s->availableWidth, s->width);
  EXPECT_EQ(s->availableHeight, s->height);
  RuntimeUnlockObject(screen);
}

TEST(SystemModule, PointerAndPixelsOfTheScreen) {
  ASSERT_TRUE(HaveDisplay());
  EXPECT_TRUE(XDoToolUntil("mousemove 123 45", [] { return getMouseX() == 123 && getMouseY() == 45; }));
  EXPECT_EQ(getMouseDown(), 0);
  for (auto [x, y] : {std::pair{-1, 0}, {0, -5}, {100000, 3}, {3, 100000}})
    EXPECT_EQ(systemPixel(nullptr, x, y), 0u) << x << "," << y;
  EXPECT_EQ(systemPixel(nullptr, 0, 0) >> 24, 0u); // a colour, nothing above it
}
