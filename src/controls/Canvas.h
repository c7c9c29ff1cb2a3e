// The Canvas control: a container pane that compiled code paints in its
// Paint event, over an optional backdrop picture, and that takes the keys
// and the mouse. It has no router: the pane fires its object's events.
#pragma once
#include <cstddef>
#include <cstdint>

#include "controls/RuntimeControl.h"
#include "foundation/QVGeometry.h"
#include "runtime/objects/ObjectDefinition.h"
#include "windows/SubPane.h"

struct RuntimeView;

struct CanvasObject {
  RuntimeControl control;
  RuntimeObject *backdrop; // a Picture, counted
  RuntimeObject *graphics; // the Graphics property's object, counted, made on first use
  uint8_t acceptFocus;
  uint8_t acceptTabs;
  uint8_t useFocusRing;
  uint8_t reserved;
};
constexpr int32_t kCanvasInstanceSize = 112;
static_assert(sizeof(CanvasObject) == kCanvasInstanceSize);
static_assert(offsetof(CanvasObject, backdrop) == 100);
static_assert(offsetof(CanvasObject, graphics) == 104);
static_assert(offsetof(CanvasObject, acceptFocus) == 108);
static_assert(offsetof(CanvasObject, acceptTabs) == 109);
static_assert(offsetof(CanvasObject, useFocusRing) == 110);

class RuntimeCanvas final : public ContainerPane {
public:
  RuntimeCanvas(CanvasObject *object, ContainerPane *container, int32_t tabPanelIndex,
                const QV::Rect &bounds);

  void EstablishDrawingSurface() override;
  void Redraw(Graphics *g) override;
  bool HandleClick(int32_t x, int32_t y, int32_t modifiers) override;
  bool HandleCMMClick(int32_t x, int32_t y, int32_t modifiers) override;
  void HandleMouseDrag(int32_t x, int32_t y) override;
  void HandleMouseUp(int32_t x, int32_t y) override;
  void GainedFocus() override;
  void LostFocus() override;
  bool AcceptFocus() override;
  bool HandleKeyPress(int32_t ch, int32_t key, int32_t modifiers) override;
  bool HandleUnicodeInput(int32_t code, int32_t key, int32_t modifiers) override;
  void HandleAction(int32_t action) override;
  void EnableMenuOptions() override;
  bool HandleRuntimeMenuCommand(void *) override { return false; }
  bool UpdateBounds(QV::Rect *r) override;
  void DrawIntoOffscreen(Graphics *g) override;
  // A closing canvas is forgotten by its object.
  void Close() override;

  void ForgetObject() { mObject = nullptr; }
  // Invalidates the pane when its Backdrop's image changed since it was
  // drawn.
  void InvalidateIfBackdropChanged();

private:
  // Copies the Backdrop's image, cut to the pane, to the pane's top-left
  // corner; records its generation.
  void DrawBackdrop(Graphics *g);
  // Fires KeyDown with the text; true when it is handled.
  bool KeyDown(const char *bytes, int n, uint32_t encoding);

  CanvasObject *mObject; // not counted
  uint8_t mVisible;
  int32_t mDrawnGeneration = 0;
};

ObjectDefinition *CanvasClass();
// Redraws the window whose backdrop picture changed since it was drawn, and
// each of its canvases whose backdrop changed; a closing window is left alone.
void InvalidateChangedBackdrop(RuntimeView *window);
void CanvasCreatePane(RuntimeObject *object);
// The events of the class, in slot order.
enum class CanvasEvent {
  kPaint,
  kGotFocus,
  kLostFocus,
  kKeyDown,
  kMouseDown,
  kMouseDrag,
  kMouseUp,
  kEnableMenuItems
};
const ObjectHook *CanvasEventHook(CanvasEvent event);

extern "C" {
RuntimeObject *canvasGraphicsGetter(RuntimeObject *object, int32_t);
void canvasBackdropSetter(RuntimeObject *object, int32_t offset, RuntimeObject *picture);
void canvasScroll(RuntimeObject *object, int32_t dx, int32_t dy, int32_t x, int32_t y,
                  int32_t width, int32_t height, int32_t moveControls);
}
