// How compiled windows bind their controls' events: per-object handlers and
// the self/me exchange; and the accessors of properties mirrored in panes.
#include <gtest/gtest.h>

#include <cstddef>
#include <iterator>

#include "ControlWindowFixture.h"
#include "controls/ControlEntryPoints.h"
#include "controls/ObjFontStructure.h"
#include "runtime/objects/ClassLookup.h"
#include "runtime/objects/ObjectDefinitionConverter.h"
#include "runtime/objects/ValueEntryPoints.h"
#include "support/AlertRecorder.h"

namespace {

void FirstHandler(RuntimeObject *) {}
void SecondHandler(RuntimeObject *) {}

EventEntry *ClassEvents(RuntimeObject *o) { return o->classPtr->events; }

int32_t EventSlot(RuntimeObject *o, const char *name) {
  for (int32_t i = 0; i < o->classPtr->eventCount; ++i)
    if (string::Borrow(o->eventTable[i].name).Compare(string(name)) == 0)
      return i;
  return -1;
}

TEST(InstanceEventHandlers, OneObjectGetsItsOwnHandlerWhateverTheCase) {
  RuntimeObject *a = CreateInstance(RectControlClass());
  RuntimeObject *b = CreateInstance(RectControlClass());
  AlertRecorder recorder;
  RuntimeInstallInstanceEventHandler(a, string("mouseENTER").Storage(),
                                     reinterpret_cast<void *>(FirstHandler));
  int32_t slot = EventSlot(a, "MouseEnter");
  ASSERT_GE(slot, 0);
  EXPECT_NE(a->eventTable, ClassEvents(a));
  EXPECT_EQ(a->eventTable[slot].vector, reinterpret_cast<void *>(FirstHandler));
  EXPECT_EQ(b->eventTable[slot].vector, nullptr); // the class's table is untouched
  EXPECT_EQ(ClassEvents(a)[slot].vector, nullptr);

  EventEntry *table = a->eventTable;
  RuntimeInstallInstanceEventHandler(a, string("Close").Storage(),
                                     reinterpret_cast<void *>(SecondHandler));
  EXPECT_EQ(a->eventTable, table); // one private copy serves every handler
  EXPECT_EQ(a->eventTable[EventSlot(a, "Close")].vector, reinterpret_cast<void *>(SecondHandler));
  RuntimeInstallInstanceEventHandler(a, string("NoSuchEvent").Storage(),
                                     reinterpret_cast<void *>(SecondHandler));
  EXPECT_EQ(recorder.count(), 0u);

  RuntimeInstallInstanceEventHandler(a, string("MouseEnter").Storage(),
                                     reinterpret_cast<void *>(SecondHandler));
  RuntimeInstallInstanceEventHandler(nullptr, string("Close").Storage(), nullptr);
  ASSERT_EQ(recorder.count(), 2u);
  EXPECT_EQ(recorder.alerts()[0].condition, "NULL == target->eventTable[ctr].vector");
  EXPECT_EQ(recorder.alerts()[1].condition, "target");
  RuntimeUnlockObject(a);
  RuntimeUnlockObject(b);
}

// An object registered in a window that is not a control: its window comes
// from its _PaneChild "Window" method.
RuntimeObject *sChildWindow = nullptr;
RuntimeObject *PaneChildWindow(RuntimeObject *) {
  RuntimeLockObject(sChildWindow);
  return sChildWindow;
}
void PaneChildSetWindow(RuntimeObject *, RuntimeObject *) {}
int32_t PaneChildIndex(RuntimeObject *) { return 0; }
void PaneChildSetIndex(RuntimeObject *, int32_t) {}

#define METHOD(name, f) {name, nullptr, nullptr, 0, {{reinterpret_cast<void *>(f), nullptr, {}}, {}}, 0, 0, 0}
PropertyMethod sHelperMethods[] = {
    METHOD("_SetWindow", PaneChildSetWindow),
    METHOD("Window", PaneChildWindow),
    METHOD("_Index", PaneChildIndex),
    METHOD("_SetIndex", PaneChildSetIndex),
};

ObjectDefinition *PaneChildHelperClass() {
  static ObjectDefinition defn;
  if (defn.className.IsEmpty()) {
    defn.className = string("PaneChildHelper");
    defn.objectSize = sizeof(RuntimeObject);
    defn.staticTables = 1;
    defn.methods = FillMethods(sHelperMethods, std::size(sHelperMethods));
    defn.addInterface(PaneChildInterface());
  }
  return &defn;
}

TEST(SelfAndMe, AControlOrPaneChildHandsSelfItsWindowAndBecomesMe) {
  RuntimeObject *window = CreateInstance(TestWindowClass());
  RuntimeObject *control = CreateInstance(RectControlClass());
  reinterpret_cast<RuntimeControl *>(control)->view = window;
  RuntimeObject *self = control, *me = nullptr;
  RuntimeExchangeSelfAndMe(&self, &me);
  EXPECT_EQ(self, window);
  EXPECT_EQ(me, control);
  EXPECT_EQ(window->refCount, 2); // self's own reference
  RuntimeUnlockObject(self);

  sChildWindow = window;
  RuntimeObject *helper = CreateInstance(PaneChildHelperClass());
  self = helper;
  me = nullptr;
  RuntimeExchangeSelfAndMe(&self, &me);
  EXPECT_EQ(self, window);
  EXPECT_EQ(me, helper);
  RuntimeUnlockObject(self);

  AlertRecorder recorder;
  RuntimeObject *plain = CreateInstance(ObjectClass());
  self = plain;
  RuntimeExchangeSelfAndMe(&self, &me);
  EXPECT_EQ(self, plain); // left as it was
  EXPECT_EQ(me, plain);
  RuntimeExchangeSelfAndMe(nullptr, &me);
  RuntimeExchangeSelfAndMe(&self, nullptr);
  ASSERT_EQ(recorder.count(), 3u);
  EXPECT_EQ(recorder.alerts()[0].message, "Non-control object has a window event implementation");
  EXPECT_EQ(recorder.alerts()[1].condition, "selfVar");
  EXPECT_EQ(recorder.alerts()[2].condition, "meVar");
  for (RuntimeObject *o : {plain, helper, control, window})
    RuntimeUnlockObject(o);
}

TEST_F(ControlWindow, SelfBecomesTheNearestContainerOfTheClassAsked) {
  RuntimeObject *box = Add("Box", kNotInControlArray, 20, 20, 300, 200);
  RuntimeObject *group = Add("Group", kNotInControlArray, 30, 30, 200, 100);
  RuntimeObject *inner = Add("Inner", kNotInControlArray, 40, 40, 50, 20);
  Open();
  RuntimeObject *self = inner, *me = nullptr;
  int32_t boxReferences = box->refCount, groupReferences = group->refCount;
  RuntimeExchangeSelfAndMeClass(&self, &me, LookupObjectDefinition(TestControlClass()));
  EXPECT_EQ(self, group);
  EXPECT_EQ(me, inner);
  EXPECT_EQ(group->refCount, groupReferences + 1);
  RuntimeUnlockObject(self);
  EXPECT_EQ(box->refCount, boxReferences);

  AlertRecorder recorder;
  self = box;
  RuntimeExchangeSelfAndMeClass(&self, &me, LookupObjectDefinition(TestControlClass()));
  EXPECT_EQ(self, nullptr); // the box sits on the window itself
  EXPECT_EQ(me, box);
  ASSERT_EQ(recorder.count(), 1u);
  EXPECT_EQ(recorder.alerts()[0].message, "couldn't find TestControl in container chain");
  EXPECT_EQ(group->refCount, groupReferences);
}

// A pane with fields of its own that a control mirrors.
class MirrorPane : public ContainerPane {
public:
  using ContainerPane::ContainerPane;
  int32_t number = 0;
  stringStorage *text = nullptr;
  int32_t Offset(const void *field) const {
    return static_cast<int32_t>(static_cast<const char *>(field) -
                                reinterpret_cast<const char *>(static_cast<const SubPane *>(this)));
  }
};

TEST_F(ControlWindow, MirroredPropertiesLiveInThePaneOnceThereIsOne) {
  RuntimeObject *c = Add("C", kNotInControlArray, 10, 10, 40, 20);
  RuntimeViewWindow *w = Open();
  SubPane *own = Ctl(c)->pane;
  auto *pane = new MirrorPane(w, 0, Ctl(c)->bounds);
  // The control keeps the values in fields it does not use otherwise.
  constexpr int32_t kNumberField = 28, kTextField = 96;
  // Drawn three-dimensional, the third offset counts; the second would not.
  int32_t number = kNumberField | 0x3FF << 10 | pane->Offset(&pane->number) << 20;
  int32_t text = kTextField | 0x3FF << 10 | pane->Offset(&pane->text) << 20;

  Ctl(c)->pane = nullptr;
  paneIntSetter(c, number, 7);
  EXPECT_EQ(paneIntGetter(c, number), 7);
  EXPECT_EQ(Ctl(c)->reserved28, 7);

  Ctl(c)->pane = pane;
  EXPECT_EQ(paneIntGetter(c, number), 0); // read from the pane
  paneIntSetter(c, number, 9);
  EXPECT_EQ(pane->number, 9);
  EXPECT_EQ(Ctl(c)->reserved28, 9); // and always kept in the control
  paneStringSetter(c, text, string("hi").Storage());
  stringStorage *read = paneStringGetter(c, text);
  EXPECT_STREQ(stringStorage::CString(read), "hi");
  EXPECT_EQ(read, pane->text);
  RuntimeUnlockString(read);
  paneStringSetter(c, text, nullptr);
  EXPECT_EQ(pane->text, nullptr);
  Ctl(c)->pane = own;
  pane->Close();
}

TEST(ObjFontStructure, TheBlockBecomesAFontAndKeepsItsName) {
  ObjFontStructure block{};
  block.SetName(string("Courier").Storage());
  block.size = 14;
  block.bold = 1;
  block.underline = 1;
  FontStructure font = block.getFont();
  EXPECT_STREQ(font.name.CString(), "Courier");
  EXPECT_EQ(font.size, 14);
  EXPECT_EQ(font.Style(), 1 | 4);
  block.SetName(nullptr);
  EXPECT_EQ(block.name, nullptr);
  EXPECT_STREQ(font.name.CString(), "Courier"); // the font holds its own reference
  block.Release();
}

} // namespace
