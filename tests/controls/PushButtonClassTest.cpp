// The PushButton object: its stored properties, Push with and without a
// pane, and the router's Action.
#include <gtest/gtest.h>

#include "controls/PushButtonClass.h"
#include "controls/PushButtonGTK.h"
#include "runtime/objects/ClassLookup.h"
#include "runtime/objects/ObjectDefinitionConverter.h"
#include "runtime/objects/ValueEntryPoints.h"
#include "windows/WindowsTestSupport.h"

namespace {

int sActions = 0;
void CountAction(RuntimeObject *) { ++sActions; }

class Buttons : public testing::Test {
protected:
  void SetUp() override {
    sActions = 0;
    object = CreateInstance(PushButtonClass());
    ASSERT_NE(object, nullptr);
    button = reinterpret_cast<PushButtonObject *>(object);
    EventEntry *table = MakePrivateEventTable(object);
    // Action is the class's first event after those it inherits.
    const int32_t inherited = object->classPtr->base ? object->classPtr->base->eventCount : 0;
    table[inherited].vector = reinterpret_cast<void *>(CountAction);
  }
  void TearDown() override {
    if (w) {
      button->control.pane = nullptr;
      w->Close();
      StepUntil([] { return true; });
    }
    RuntimeUnlockObject(object);
  }
  RuntimeObject *object = nullptr;
  PushButtonObject *button = nullptr;
  RecordingWindow *w = nullptr;
};

TEST_F(Buttons, SettersOnlyStoreBeforeThePaneAndTextSizeKeeps16Bits) {
  pushButtonTextSizeSetter(object, 0, 70000);
  EXPECT_EQ(pushButtonTextSizeGetter(object, 0), 4464);
  pushButtonTitleSetter(object, 0, string("&Go").Storage());
  stringStorage *caption = pushButtonTitleGetter(object, 0);
  EXPECT_STREQ(stringStorage::CString(caption), "&Go");
  RuntimeUnlockString(caption);
  pushButtonDefaultSetter(object, 0, 1);
  EXPECT_EQ(pushButtonDefaultGetter(object, 0), 1);
  EXPECT_EQ(pushButtonCancelGetter(object, 0), 0);
  pushButtonPush(object);
  EXPECT_EQ(sActions, 0) << "Push before the pane exists does nothing";
}

TEST_F(Buttons, ThePaneTakesTheStoredStateAndPushFiresActionOnce) {
  if (!HaveDisplay())
    GTEST_SKIP() << "no display";
  w = new RecordingWindow(MakeRect(50, 60, 350, 260));
  button->control.container = w;
  button->control.visible = button->control.enabled = 1;
  button->control.bounds = MakeRect(10, 10, 110, 40);
  pushButtonTitleSetter(object, 0, string("&Go").Storage());
  pushButtonDefaultSetter(object, 0, 1);
  pushButtonCancelSetter(object, 0, 1);
  PushButtonCreatePane(object);
  auto *pane = static_cast<PushButtonGTK *>(button->control.pane);
  ASSERT_NE(pane, nullptr);
  EXPECT_TRUE(pane->IsDefault());
  EXPECT_TRUE(pane->IsCancel());
  EXPECT_TRUE(GTK_WIDGET_HAS_DEFAULT(pane->GetWidget()));
  EXPECT_STREQ(gtk_label_get_label(GTK_LABEL(pane->Label())), "_Go");
  pushButtonPush(object);
  EXPECT_EQ(sActions, 1);
  pushButtonDefaultSetter(object, 0, 0);
  EXPECT_EQ(w->getDefaultPane(), nullptr);
  EXPECT_EQ(w->getCancelPane(), pane);
}

} // namespace
