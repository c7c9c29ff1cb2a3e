// The Application class: its fresh state, its accessors (also given a nil
// application), menu handlers, version fields and the quit test.
#include <gtest/gtest.h>

#include "ImageBuilder.h"
#include "ObjectModelFixtures.h"
#include "runtime/application/ApplicationClass.h"
#include "runtime/application/ApplicationObject.h"
#include "runtime/image/ResourceManager.h"
#include "runtime/loop/WindowInterface.h"
#include "runtime/objects/ClassLookup.h"
#include "runtime/objects/ObjectDefinitionConverter.h"
#include "support/AlertRecorder.h"

namespace {

int Handler(RuntimeObject *, int32_t) { return 0; }
int OtherHandler(RuntimeObject *, int32_t) { return 1; }

TEST(ApplicationClass, DefinitionHasItsFixedShape) {
  ObjectDefinition *defn = ApplicationClass();
  EXPECT_STREQ(defn->className.CString(), "Application");
  EXPECT_EQ(defn->objectSize, 52);
  int hooks = 0, properties = 0, methods = 0;
  for (ObjectHook *hook = defn->hooks; hook; hook = hook->next)
    ++hooks;
  for (InstanceVariable *p = defn->properties; p; p = p->next)
    ++properties;
  for (ObjectMethod *m = defn->methods; m; m = m->next)
    ++methods;
  EXPECT_EQ(hooks, 9);
  EXPECT_EQ(properties, 17);
  EXPECT_EQ(methods, 4);
  EXPECT_STREQ(defn->methods->next->next->name.CString(), "DoEvents");
  EXPECT_EQ(ReadableInterface()->isInterface, 1);
  EXPECT_STREQ(WriteableInterface()->className.CString(), "Writeable");
}

TEST(ApplicationClass, FreshObjectQuitsAutomaticallyAndHasNoMenuBar) {
  ObjectHolder app(CreateInstance(ApplicationClass()));
  EXPECT_EQ(AppAutoCloseGetter(app.get(), 0), 1);
  EXPECT_EQ(AppBalloonHelpVisibleGetter(app.get(), 0), 0);
  EXPECT_EQ(AppMenuBarGetter(app.get(), 0), nullptr);
  AppAutoCloseSetter(app.get(), 0, 0x100); // only the low byte counts
  EXPECT_EQ(AppAutoCloseGetter(app.get(), 0), 0);
  AppBalloonHelpVisibleSetter(app.get(), 0, 1);
  EXPECT_EQ(AppBalloonHelpVisibleGetter(app.get(), 0), 1);
  EXPECT_EQ(AppDockItemGetter(app.get(), 0), nullptr);
}

TEST(ApplicationClass, MenuBarSetterSwapsReferences) {
  ObjectHolder app(CreateInstance(ApplicationClass()));
  ObjectHolder bar(CreateInstance(ApplicationClass())); // any object stands in
  AppMenuBarSetter(app.get(), 0, bar.get());
  EXPECT_EQ(bar->refCount, 2);
  RuntimeObject *got = AppMenuBarGetter(app.get(), 0);
  EXPECT_EQ(got, bar.get());
  EXPECT_EQ(bar->refCount, 3);
  RuntimeUnlockObject(got);
  AppMenuBarSetter(app.get(), 0, nullptr);
  EXPECT_EQ(bar->refCount, 1);
}

TEST(ApplicationClass, NilApplicationAlertsAndDoesNothing) {
  AlertRecorder recorder;
  EXPECT_EQ(AppAutoCloseGetter(nullptr, 0), 0);
  AppAutoCloseSetter(nullptr, 0, 1);
  EXPECT_EQ(AppMenuBarGetter(nullptr, 0), nullptr);
  AppMenuBarSetter(nullptr, 0, nullptr);
  ApplicationAddMenuHandler(nullptr, string("Quit").Storage(), reinterpret_cast<void *>(Handler));
  const AlertSite *sites[] = {&kAppAutoCloseGetterAlert, &kAppAutoCloseSetterAlert,
                              &kAppMenuBarGetterAlert, &kAppMenuBarSetterAlert,
                              &kAddMenuHandlerSelfAlert};
  ASSERT_EQ(recorder.count(), std::size(sites));
  for (size_t i = 0; i < std::size(sites); ++i) {
    EXPECT_EQ(recorder.alerts()[i].condition, sites[i]->condition) << i;
    EXPECT_EQ(recorder.alerts()[i].line, sites[i]->line) << i;
    EXPECT_EQ(recorder.alerts()[i].file, sites[i]->file) << i;
  }
}

TEST(ApplicationClass, MenuHandlersAreKeyedByNameWithoutRegardToCase) {
  ObjectHolder app(CreateInstance(ApplicationClass()));
  ApplicationAddMenuHandler(app.get(), string("FileQuit").Storage(), nullptr); // ignored
  EXPECT_EQ(AsApplication(app.get())->menuHandlers, nullptr);
  ApplicationAddMenuHandler(app.get(), string("FileQuit").Storage(),
                            reinterpret_cast<void *>(Handler));
  ApplicationAddMenuHandler(app.get(), string("filequit").Storage(),
                            reinterpret_cast<void *>(OtherHandler));
  StringMap<void *> *map = AsApplication(app.get())->menuHandlers;
  ASSERT_NE(map, nullptr);
  EXPECT_EQ(map->EntryCount(), 1);
  void *found = nullptr;
  EXPECT_TRUE(map->GetEntry(string("FILEQUIT"), &found));
  EXPECT_EQ(found, reinterpret_cast<void *>(OtherHandler));
  AlertRecorder recorder;
  ApplicationAddMenuHandler(app.get(), nullptr, reinterpret_cast<void *>(Handler));
  ASSERT_EQ(recorder.count(), 1u);
  EXPECT_EQ(recorder.alerts()[0].line, kAddMenuHandlerNameAlert.line);
}

TEST(ApplicationClass, VersionFieldsWithAndWithoutAVersionRecord) {
  ASSERT_EQ(gResourceManager.GetVersionInfo(), nullptr);
  for (int32_t index : {0, 5, 6, -1})
    EXPECT_EQ(AppIntegerVersionStuffGetter(nullptr, index), -1) << index;
  EXPECT_EQ(AppStringVersionStuffGetter(nullptr, 0), nullptr); // the empty string

  static Bytes record;
  AppendVersionOption(record, {3, 1, 4, 1, 5, 9}, {"3.1", "3.1 long", "pkg"});
  record.erase(record.begin()); // the option's tag byte
  gResourceManager.Add(kVersionResourceType, 0, record.data(), uint32_t(record.size()), 0);
  EXPECT_EQ(AppIntegerVersionStuffGetter(nullptr, 0), 3);
  EXPECT_EQ(AppIntegerVersionStuffGetter(nullptr, 5), 9);
  EXPECT_EQ(AppIntegerVersionStuffGetter(nullptr, 6), -1);
  struct Case {
    int32_t index;
    const char *text;
  } texts[] = {{0, "3.1"}, {1, "3.1 long"}, {2, "pkg"}, {3, ""}};
  for (const Case &c : texts) {
    string got = string::Adopt(AppStringVersionStuffGetter(nullptr, c.index));
    EXPECT_STREQ(got.CString(), c.text) << c.index;
  }
  EXPECT_EQ(MacNonIDEIntVer(0), -1);
  EXPECT_EQ(MacNonIDEStringVer(0), nullptr);
}

// Windows of the language through pretend window hooks.
struct PretendWindows {
  static inline int vetoAt = -1; // the window whose CancelClose answers true
  static inline int asked = 0, closed = 0;
  static inline RuntimeView windows[2] = {};

  static void Iterate(LanguageWindowVisitor visit, void *ref) {
    for (RuntimeView &window : windows)
      if (!visit(&window, ref))
        return;
  }
  static bool CancelClose(RuntimeView *window, bool appQuitting) {
    EXPECT_TRUE(appQuitting);
    ++asked;
    return window == &windows[0] + vetoAt;
  }
  static void Close(RuntimeViewWindow *) { ++closed; }
};

TEST(ApplicationClass, QuitTestAsksEveryWindowThenClosesThemUnlessOneVetoes) {
  WindowHooks hooks{};
  hooks.IterateLanguageWindows = PretendWindows::Iterate;
  hooks.FireCancelCloseEvent = PretendWindows::CancelClose;
  hooks.CloseNativeWindow = PretendWindows::Close; // asked already: no second CancelClose
  InstallWindowHooks(&hooks);
  for (RuntimeView &window : PretendWindows::windows)
    window.nativeWindow = reinterpret_cast<RuntimeViewWindow *>(&window);

  EXPECT_TRUE(TestApplicationQuit()); // no application object: nothing to ask
  EXPECT_EQ(PretendWindows::asked, 0);

  gApplicationObject = CreateInstance(ApplicationClass());
  PretendWindows::vetoAt = 1;
  EXPECT_FALSE(TestApplicationQuit());
  EXPECT_EQ(PretendWindows::asked, 2);
  EXPECT_EQ(PretendWindows::closed, 0);
  EXPECT_EQ(AsApplication(gApplicationObject)->quitting, 0); // can be asked again

  PretendWindows::vetoAt = -1;
  PretendWindows::asked = 0;
  EXPECT_TRUE(TestApplicationQuit());
  EXPECT_EQ(PretendWindows::asked, 2);
  EXPECT_EQ(PretendWindows::closed, 2);

  AsApplication(gApplicationObject)->quitting = 1; // a quit test already running
  EXPECT_FALSE(TestApplicationQuit());
  RuntimeUnlockObject(gApplicationObject); // the finaliser clears the global
  EXPECT_EQ(gApplicationObject, nullptr);
  InstallWindowHooks(nullptr);
}

} // namespace
