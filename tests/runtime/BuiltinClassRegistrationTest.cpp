#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "runtime/objects/ClassLookup.h"
#include "runtime/startup/BuiltinClassRegistration.h"
#include "runtime/startup/RuntimeStartup.h"
#include "support/AlertRecorder.h"

namespace {

std::vector<std::string> NamesOf(std::span<const BuiltinClassRow> rows, int32_t step) {
  std::vector<std::string> names;
  for (const BuiltinClassRow &row : rows)
    if (row.step == step)
      names.push_back(row.name);
  return names;
}

} // namespace

TEST(BuiltinClassRegistration, ApplicationStepsNameEveryBuilderInOrder) {
  const std::vector<std::vector<std::string>> expected = {
      {"NetworkInterfaceClass", "QTInstallStatusClass", "SystemClass"},
      {"ReadableInterface", "WriteableInterface"},
      {"ConsoleApplicationClass", "StdInputStreamClass", "StdOutputStreamClass",
       "ServiceApplicationClass"},
      {"RegistryItemClass"},
      {"ThreadClass", "SemaphoreClass", "CriticalSectionClass"},
      {"CollectionElementClass", "CollectionClass", "DateClass"},
      {"CreateDatabaseClasses"},
      {"CreateDataBindClasses"},
      {"MemoryBlockClass", "VariantClass", "DictionaryClass", "VirtVolClass"},
      {"CreateTextInputStreamClass", "CreateTextOutputStreamClass", "CreateBinaryStreamClass",
       "CreateResourceForkClass"},
      {"InitBitwiseClass"},
      {"RandomClass", "EndOfLineClass", "KeyboardClass", "FolderItemClass", "TextEncodingClass",
       "TextConverterClass", "EncodingsClass", "RuntimeDebugClass", "ObjectCursorClass"},
      {"CreateObject2DClasses", "InitStyledTextClass", "AddRuntimeExceptions"},
      {"QuitMenuItemClass", "PrefsMenuItemClass", "AppleMenuItemClass"},
      {"CreateClipboardClass", "InitFolderItemDialogClasses"},
      {"MDIWindowClass", "InitMenuClasses", "InitMessageDialogClasses"},
      {"KeyChainClass", "KeyChainItemClass", "OLEObjectClass", "OLEParameterClass",
       "RegisterAppleEventClasses"},
      {"DockItemClass", "DragItemClass", "ScreenClass"},
      {"ApplicationClass"},
  };
  auto rows = ApplicationClassSteps();
  int32_t previousStep = 0;
  for (const BuiltinClassRow &row : rows) {
    EXPECT_GE(row.step, previousStep) << row.name; // steps never go back
    previousStep = row.step;
  }
  for (int32_t step = 1; step <= 19; ++step)
    EXPECT_EQ(NamesOf(rows, step), expected[step - 1]) << "step " << step;
  EXPECT_EQ(rows.size(), 56u);
}

TEST(BuiltinClassRegistration, BuildersKindFollowsTheirName) {
  // Create..., Init..., Register... and AddRuntimeExceptions register their
  // own classes; every other builder returns one definition.
  auto check = [](std::span<const BuiltinClassRow> rows) {
    for (const BuiltinClassRow &row : rows) {
      const std::string name = row.name;
      const bool registers = name.starts_with("Create") || name.starts_with("Init") ||
                             name.starts_with("Register") || name == "AddRuntimeExceptions";
      if (!row.IsPlaceholder()) {
        EXPECT_EQ(row.registrar != nullptr, registers) << name;
      }
    }
  };
  check(ApplicationClassSteps());
  check(ControlClassBuilders());
}

TEST(BuiltinClassRegistration, ControlListHas55WithTimerNinth) {
  auto rows = ControlClassBuilders();
  ASSERT_EQ(rows.size(), 55u);
  EXPECT_STREQ(rows[0].name, "SocketCoreClass");
  EXPECT_STREQ(rows[7].name, "ObjectClass");
  EXPECT_STREQ(rows[8].name, "TimerClass");
  EXPECT_STREQ(rows[9].name, "InitPictureClass");
  EXPECT_STREQ(rows[27].name, "WindowBaseClass");
  EXPECT_STREQ(rows[54].name, "DataControlClass");
}

TEST(BuiltinClassRegistration, TheRuntimesOwnBuildersAreLinked) {
  for (const char *name : {"ReadableInterface", "WriteableInterface", "AddRuntimeExceptions",
                           "RuntimeDebugClass", "ObjectCursorClass", "ApplicationClass"})
    for (const BuiltinClassRow &row : ApplicationClassSteps())
      if (std::string(row.name) == name) {
        EXPECT_FALSE(row.IsPlaceholder()) << name;
      }
  EXPECT_FALSE(ControlClassBuilders()[8].IsPlaceholder()); // TimerClass
}

TEST(BuiltinClassRegistration, StartUpRegistersWithoutAlertsAndTheRuntimesClassesAreFound) {
  AlertRecorder recorder;
  RegisterBuiltInClasses();
  EXPECT_EQ(recorder.count(), 0u);
  EXPECT_EQ(gOKtoCreateObjects, 1);
  for (const char *name :
       {"NilObjectException", "EndException", "Application", "Timer", "Readable", "Writeable"})
    EXPECT_NE(RuntimeLookupClass(string(name).Storage()), nullptr) << name;
}
