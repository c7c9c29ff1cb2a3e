#include "windows/menus/ContextualMenuGTK.h"

#include <algorithm>
#include <vector>

#include "foundation/AssertionAlert.h"
#include "windows/menus/MenuItemClasses.h"

namespace {

// The live contexts: the chosen row finds its context through its root.
std::vector<CMMContext *> sContexts;

void AddRow(CMMContext *context, const string &text, RuntimeObject *data) {
  if (!context || !context->root)
    return;
  RunMenuItem *row = NewMenuItem();
  if (!row)
    return;
  row->mImp->SetText(text);
  if (data)
    row->mImp->SetTag(data);
  context->root->mImp->AddChild(row);
  RuntimeUnlockObject(&row->header); // the root's child list keeps the row
}

void FreeContext(CMMContext *context) {
  sContexts.erase(std::remove(sContexts.begin(), sContexts.end(), context), sContexts.end());
  RunMenuItem *root = context->root;
  context->root = nullptr;
  if (root)
    RuntimeUnlockObject(&root->header);
  delete context;
}

} // namespace

void CMMContext::HandleMenuAction(XMenuGTK *node) {
  XMenuGTK *top = node->GetParent();
  if (!top) {
    ShowAlert(AlertSite{"../Common/Linux/ContextualMenuGTK", 88, "parent"});
    return;
  }
  while (top->GetParent())
    top = top->GetParent();
  for (CMMContext *context : sContexts)
    if (context->root && context->root->mImp == top)
      context->chosen = node;
}

extern "C" {

CMMContext *newCMMContext() {
  auto *context = new CMMContext;
  context->root = NewMenuItem();
  if (XMenuGTK *root = GTKNodeOf(context->root)) {
    root->SetText(string("TopLevel"));
    root->SetCustomMenuActionFunction(CMMContext::HandleMenuAction);
  }
  sContexts.push_back(context);
  return context;
}

void closeCMMContext(CMMContext *context) {
  if (!context)
    return;
  if (context->popups) {
    context->closeRequested = true;
    return;
  }
  FreeContext(context);
}

void addCMMContextItem(CMMContext *context, stringStorage *text, RuntimeObject *data) {
  AddRow(context, string::Borrow(text), data);
}

void addCMMContextSeparator(CMMContext *context) { AddRow(context, string("-"), nullptr); }

int32_t triggerCMMContext(CMMContext *context, int32_t, Window *) {
  XMenuGTK *root = context ? GTKNodeOf(context->root) : nullptr;
  if (!root || !root->MenuWidget())
    return 0;
  guint button = 0;
  guint32 time = gtk_get_current_event_time();
  if (GdkEvent *event = gtk_get_current_event()) {
    if (event->type == GDK_BUTTON_PRESS)
      button = event->button.button;
    gdk_event_free(event);
  }
  context->chosen = nullptr;
  ++context->popups;
  RuntimeLockObject(&context->root->header);
  GtkWidget *menu = root->MenuWidget();
  g_object_ref(menu);
  gtk_menu_popup(GTK_MENU(menu), nullptr, nullptr, nullptr, nullptr, button, time);
  // Waits for events while the menu is up; a chosen row records itself
  // before the menu hides.
  while (GTK_WIDGET_VISIBLE(menu))
    gtk_main_iteration_do(TRUE);
  g_object_unref(menu);
  RuntimeUnlockObject(&context->root->header);
  --context->popups;
  bool chosen = context->chosen != nullptr;
  if (context->closeRequested && !context->popups) {
    FreeContext(context);
    return 0;
  }
  return chosen ? 1 : 0;
}

stringStorage *GetCMMHitText(CMMContext *context) {
  if (!context || !context->chosen)
    return string("").ExtractStringStorage();
  return context->chosen->GetText().ExtractStringStorage();
}

RuntimeObject *GetCMMHitData(CMMContext *context) {
  if (!context || !context->chosen)
    return nullptr;
  RuntimeObject *data = context->chosen->GetTag();
  RuntimeLockObject(data);
  return data;
}

void *addCMMParentItem(CMMContext *, stringStorage *, RuntimeObject *) { return nullptr; }
void *addCMMContextParent(CMMContext *, stringStorage *) { return nullptr; }
void *addCMMParentParent(void *, stringStorage *) { return nullptr; }
void *GetCMMHitParent(CMMContext *) { return nullptr; }
RuntimeObject *GetCMMParentData(void *) { return nullptr; }

} // extern "C"

ContextualMenuImp::ContextualMenuImp() : mRoot(CreateRunMenuItem(string(""), string(""), nullptr)) {}

ContextualMenuImp::~ContextualMenuImp() {
  // The root's child lists hold the tree: releasing the root releases it.
  if (mRoot)
    RuntimeUnlockObject(&mRoot->header);
}

bool ContextualMenuImp::ShowContextualMenu(QV::Point *) { return false; }

ContextualMenuImp *CreateContextualMenu() { return nullptr; }

RunMenuItem *CreateRunMenuItem(const string &name, const string &text, void *) {
  RunMenuItem *item = NewMenuItem();
  if (!item) {
    ShowAlert(AlertSite{"../Common/ContextualMenu", 40, "ret"});
    return nullptr;
  }
  if (!item->mImp) {
    ShowAlert(AlertSite{"../Common/ContextualMenu", 41, "imp"});
    return item;
  }
  item->mImp->SetName(name);
  item->mImp->SetText(text);
  return item;
}
