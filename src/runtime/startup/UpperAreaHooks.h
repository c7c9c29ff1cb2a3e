// What the runtime, and areas that cannot include each other, call in the
// areas above them, besides the class builders (BuiltinClassBuilders.h).
// Each area fills its members before main runs, in every program that links
// it; a test checks that every member is filled in the linked program.
// Nothing here is called before main.
#pragma once

#include "foundation/String.h"

struct FinalDialogText;
struct RuntimeObject;
struct RuntimeView;
struct stringStorage;

struct UpperAreaHooks {
  // windows: installs its PaneHooks and WindowHooks. Start-up calls it once,
  // before the built-in classes are registered.
  void (*installWindowsAreaHooks)();
  // controls: shows the final dialog modally, the message dialog with the
  // error icon.
  void (*presentFinalDialog)(const FinalDialogText &text);
  // controls: redraws the window, and each of its canvases, whose backdrop
  // picture changed since it was drawn.
  void (*invalidateChangedBackdrop)(RuntimeView *window);
  // desktop: opens the URL with the desktop's handler for it.
  void (*launchURL)(const string &url);
  // language: the number at the start of the text, as Val reads it.
  double (*stringVal)(stringStorage *text);
  // net, for the windows area: closes the object's socket when it is one (a
  // ServerSocket stops listening, any other socket object closes); other
  // objects are left alone.
  void (*closeSocketOfObject)(RuntimeObject *object);
  // desktop: a new System object (one reference for the caller).
  RuntimeObject *(*newSystemObject)();
};

UpperAreaHooks &UpperAreaHooksToFill();
const UpperAreaHooks &GetUpperAreaHooks();
