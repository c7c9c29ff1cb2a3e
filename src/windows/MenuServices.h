// What the native windows use of the menus and of the Window class: the
// menu-enabling pass, the menu bar's show and hide, installing a window
// object's menu bar, full-screen mode and the implicit-window list.
#pragma once
#include <cstdint>

class Window;
struct RuntimeObject;

void EnableMenus(bool force, Window *w);
void rmbShowMenuBar();
void rmbHideMenuBar();
extern "C" void WindowMenuBarSetter(RuntimeObject *view, int32_t index, RuntimeObject *menuBar);
extern "C" void windowFullScreenSetter(RuntimeObject *view, int32_t index, int32_t on);
void RemoveFromImplicitWindowList(RuntimeObject *view);
// Takes a window's menu bar out of its box, keeping the bar's widgets alive
// for the menu nodes (a window destroys what its box still holds); the bar
// forgets the window. Nothing without a bar.
void DetachMenuBar(Window *w);
