// Contextual menus on GTK+: a private menu tree whose root pops its rows up
// at the pointer and, instead of dispatching a chosen row, records it.
#pragma once
#include <cstdint>

#include "foundation/QVGeometry.h"
#include "windows/menus/XMenuGTK.h"

struct CMMContext {
  RunMenuItem *root = nullptr; // one reference
  XMenuGTK *chosen = nullptr;  // the row chosen in the last popup
  int32_t popups = 0;          // popups running on it
  bool closeRequested = false; // closed during a popup: freed when it ends

  // The root's custom action: records the activated row.
  static void HandleMenuAction(XMenuGTK *node);
};

extern "C" {
CMMContext *newCMMContext();
void closeCMMContext(CMMContext *context);
void addCMMContextItem(CMMContext *context, stringStorage *text, RuntimeObject *data);
void addCMMContextSeparator(CMMContext *context);
// Shows the popup and waits until it closes; true when a row was chosen.
int32_t triggerCMMContext(CMMContext *context, int32_t useCMM, Window *window);
stringStorage *GetCMMHitText(CMMContext *context);
RuntimeObject *GetCMMHitData(CMMContext *context);
// Submenus of contextual menus do not exist on this platform.
void *addCMMParentItem(CMMContext *context, stringStorage *text, RuntimeObject *data);
void *addCMMContextParent(CMMContext *context, stringStorage *text);
void *addCMMParentParent(void *parent, stringStorage *text);
void *GetCMMHitParent(CMMContext *context);
RuntimeObject *GetCMMParentData(void *parent);
}

// The platform-neutral contextual menu; nothing makes one on this platform.
class ContextualMenuImp {
public:
  ContextualMenuImp();
  virtual ~ContextualMenuImp();
  ContextualMenuImp(const ContextualMenuImp &) = delete;
  ContextualMenuImp &operator=(const ContextualMenuImp &) = delete;
  virtual bool ShowContextualMenu(QV::Point *where);
  RunMenuItem *Root() const { return mRoot; }

private:
  RunMenuItem *mRoot;
};
ContextualMenuImp *CreateContextualMenu();
// A MenuItem with that name and text and one reference; data is not used.
RunMenuItem *CreateRunMenuItem(const string &name, const string &text, void *data);
