// Firing a control object's events from its router: the handler is looked
// up on the object (its own table first), and a missing handler does nothing.
#pragma once
#include <cstdint>

struct ObjectHook;
struct RuntimeControl;
struct RuntimeObject;
class SubPane;

// An event without parameters.
void FireEvent(RuntimeObject *object, const ObjectHook *hook);
// A mouse event with coordinates relative to the control; the handler's
// Boolean answer, false without a handler.
bool FireMouseEvent(RuntimeObject *object, const ObjectHook *hook, int32_t x, int32_t y);
// A focus event, which comes from GTK+'s focus signals of the pane's own
// widget: the pane is locked while the handler runs, and a pane the handler
// closed goes from the main loop, after the signal.
void FireFocusEvent(RuntimeObject *object, SubPane *pane, const ObjectHook *hook);
// A press on a pane that fires its own object's MouseDown (x, y in window
// content coordinates, handed on relative to the pane). The handler runs
// with the object held and the pane locked. Answers whether the press is
// consumed: the pane went meanwhile, or MouseDown answered true, and then
// the pane takes the mouse. Without a handler the press is not consumed.
bool FirePaneMouseDown(SubPane *pane, RuntimeObject *object, const ObjectHook *hook, int32_t x,
                       int32_t y);
// MouseDrag or MouseUp of such a pane, in the same way.
void FirePaneMouseEvent(SubPane *pane, RuntimeObject *object, const ObjectHook *hook, int32_t x,
                        int32_t y);
// Whether the window the control belongs to is still there and not closing.
bool ControlWindowStands(RuntimeControl *control);
