// The language's PagePanel and TabPanel: the objects' fields after the
// control's, the tab panel's router, the classes with their "CreatePane"
// handlers, and the exported accessors.
#pragma once
#include <cstddef>
#include <cstdint>

#include "controls/ObjFontStructure.h"
#include "controls/PagedPanes.h"
#include "controls/RuntimeControl.h"
#include "runtime/objects/ObjectDefinition.h"

class RuntimeTabPanelRouter;

struct PagePanelObject {
  RuntimeControl control;
  int32_t panelCount;
};
constexpr int32_t kPagePanelInstanceSize = 104;
static_assert(sizeof(PagePanelObject) == kPagePanelInstanceSize);
static_assert(offsetof(PagePanelObject, panelCount) == 100);

struct TabPanelObject {
  PagePanelObject page;
  stringStorage *tabDefinition;
  RuntimeTabPanelRouter *router; // owned
  ObjFontStructure font;
  uint8_t smallTabs;
  uint8_t reserved[3];
  int32_t facing;
};
constexpr int32_t kTabPanelInstanceSize = 132;
static_assert(sizeof(TabPanelObject) == kTabPanelInstanceSize);
static_assert(offsetof(TabPanelObject, tabDefinition) == 104);
static_assert(offsetof(TabPanelObject, router) == 108);
static_assert(offsetof(TabPanelObject, font) == 112);
static_assert(offsetof(TabPanelObject, smallTabs) == 124);
static_assert(offsetof(TabPanelObject, facing) == 128);

// Turns the tab panel's reports into the object's events.
class RuntimeTabPanelRouter final : public TabPanelDelegate {
public:
  explicit RuntimeTabPanelRouter(TabPanelObject *object) : mObject(object) {}
  virtual ~RuntimeTabPanelRouter() = default;
  // Shows the new page's children, then fires Change.
  void tabPanelChanged(TabPanel *pane) override;
  void TabPanelGotFocus(TabPanel *pane) override;
  void TabPanelLostFocus(TabPanel *pane) override;
  // Fires MouseDown; true whenever a handler exists.
  bool TabPanelHandleClick(TabPanel *pane, int32_t x, int32_t y, int32_t modifiers) override;

private:
  TabPanelObject *mObject; // not counted: the object owns the router
};

ObjectDefinition *PagePanelClass();
ObjectDefinition *TabPanelClass();
// Builds a tab panel's pane for a TabPanel, a page panel's for any other.
void PagePanelCreatePane(RuntimeObject *object);
void TabPanelCreatePane(RuntimeObject *object);

// The tab panel's events, in slot order.
enum class TabPanelEvent { kChange, kGotFocus, kLostFocus, kMouseDown, kMouseDrag, kMouseUp };
const ObjectHook *TabPanelEventHook(TabPanelEvent event);
const ObjectHook *PagePanelChangeHook();

extern "C" {
int32_t PagePanelValueGetter(RuntimeObject *object, int32_t);
void PagePanelValueSetter(RuntimeObject *object, int32_t, int32_t value);
int32_t tabPanelValueGetter(RuntimeObject *object, int32_t);
void tabPanelValueSetter(RuntimeObject *object, int32_t, int32_t value);
stringStorage *tabPanelCaptionGetter(RuntimeObject *object, int32_t index);
void tabPanelCaptionSetter(RuntimeObject *object, int32_t index, stringStorage *caption);
void tabPanelTextFontSetter(RuntimeObject *object, int32_t, stringStorage *name);
void tabPanelTextSizeSetter(RuntimeObject *object, int32_t, int32_t size);
void tabPanelBoldSetter(RuntimeObject *object, int32_t, int32_t on);
void tabPanelItalicSetter(RuntimeObject *object, int32_t, int32_t on);
void tabPanelUnderlineSetter(RuntimeObject *object, int32_t, int32_t on);
}
