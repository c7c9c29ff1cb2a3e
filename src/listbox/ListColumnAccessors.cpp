// The ListColumn object's accessors. While its ListBox's window is open
// (live) they read and change that list's column, or every column for the
// index -1; otherwise, and in addition when setting, the values stored in
// the object.
#include "listbox/ListboxClasses.h"
#include "listbox/RuntimeListbox.h"
#include "runtime/exceptions/RuntimeExceptions.h"
#include "runtime/objects/ValueEntryPoints.h"

namespace {

ListColumnObject *AsColumn(RuntimeObject *object) {
  return reinterpret_cast<ListColumnObject *>(object);
}

RuntimeListbox *LivePane(ListColumnObject *c) { return ListboxPaneOf(c->listbox); }

// The index may be -1 (every column) only where allowed; the tables end at 63.
bool LiveIndex(RuntimeListbox *pane, int32_t index, bool all) {
  if (index >= (all ? -1 : 0) && index <= pane->ColumnCount() && index < kMaxListColumns)
    return true;
  RaiseOutOfBoundsException();
  return false;
}

// Calls set(column) for the object's column, or for each column for -1.
template <typename Set> void ForColumns(RuntimeListbox *pane, int32_t index, Set set) {
  if (index >= 0) {
    set(index);
    return;
  }
  for (int32_t c = 0; c < pane->ColumnCount(); ++c)
    set(c);
}

// The width changed: the columns are laid out again and shown. A new
// expression takes effect at once, not only at the next resize.
void WidthsChanged(RuntimeListbox *pane, ListColumnObject *c, bool expression) {
  if (expression)
    pane->ReCalculateColumnWidths();
  pane->UpdateColumnPositions();
  if (reinterpret_cast<ListboxControl *>(c->listbox)->hasHeading)
    pane->UpdateHeaders();
  pane->InvalidatePane(true);
}

// A setter's part on a live list: set(column) for the object's column or
// every column, then, for the width itself (which 0), the layout again.
// False when the index failed its check and nothing may be stored.
template <typename Set>
bool SetLive(ListColumnObject *c, int32_t which, bool expression, Set set) {
  RuntimeListbox *pane = LivePane(c);
  if (!pane)
    return true;
  if (!LiveIndex(pane, c->index, true))
    return false;
  ForColumns(pane, c->index, [&](int32_t col) { set(pane, col); });
  if (which == 0)
    WidthsChanged(pane, c, expression);
  return true;
}

} // namespace

extern "C" {

void listColumnConstructor(RuntimeObject *object) { AsColumn(object)->listbox = nullptr; }

void listColumnDestructor(RuntimeObject *object) {
  ListColumnObject *c = AsColumn(object);
  for (stringStorage *&s : c->expressions) {
    RuntimeUnlockString(s);
    s = nullptr;
  }
  RuntimeObject *list = c->listbox;
  c->listbox = nullptr;
  RuntimeUnlockObject(list);
}

int32_t listColUserResizableGetter(RuntimeObject *object, int32_t) {
  if (!object)
    return 0;
  ListColumnObject *c = AsColumn(object);
  if (RuntimeListbox *pane = LivePane(c))
    return LiveIndex(pane, c->index, false) && pane->IsUserResizable(c->index) ? 1 : 0;
  return (c->userResizable & 0xff) != 0 ? 1 : 0;
}

void listColUserResizableSetter(RuntimeObject *object, int32_t, int32_t on) {
  if (!object)
    return;
  ListColumnObject *c = AsColumn(object);
  if (SetLive(c, -1, false, [&](RuntimeListbox *pane, int32_t col) {
        pane->SetColumnUserResizable(col, on != 0);
      }))
    c->userResizable = on;
}

stringStorage *listColWidthExpressionGetter(RuntimeObject *object, int32_t which) {
  if (!object || which < 0 || which > 2)
    return nullptr;
  ListColumnObject *c = AsColumn(object);
  if (RuntimeListbox *pane = LivePane(c)) {
    if (!LiveIndex(pane, c->index, false))
      return nullptr;
    const string text = which == 0   ? pane->GetColWidthExpression(c->index)
                        : which == 1 ? pane->GetMinColWidthExpression(c->index)
                                     : pane->GetMaxColWidthExpression(c->index);
    return RuntimeLockString(text.Storage());
  }
  return RuntimeLockString(c->expressions[which]);
}

void listColWidthExpressionSetter(RuntimeObject *object, int32_t which, stringStorage *text) {
  if (!object || which < 0 || which > 2)
    return;
  ListColumnObject *c = AsColumn(object);
  const string expression = string::Borrow(text);
  const bool stored = SetLive(c, which, true, [&](RuntimeListbox *pane, int32_t col) {
    if (which == 0)
      pane->SetColWidthExpression(col, expression);
    else if (which == 1)
      pane->SetMinColWidthExpression(col, expression);
    else
      pane->SetMaxColWidthExpression(col, expression);
  });
  if (!stored)
    return;
  RuntimeLockString(text);
  RuntimeUnlockString(c->expressions[which]);
  c->expressions[which] = text;
}

int32_t listColWidthActualGetter(RuntimeObject *object, int32_t which) {
  if (!object || which < 0 || which > 2)
    return 0;
  ListColumnObject *c = AsColumn(object);
  if (RuntimeListbox *pane = LivePane(c)) {
    if (!LiveIndex(pane, c->index, false))
      return 0;
    return which == 0   ? pane->GetColWidthActual(c->index)
           : which == 1 ? pane->GetMinColWidthActual(c->index)
                        : pane->GetMaxColWidthActual(c->index);
  }
  return c->actuals[which];
}

void listColWidthActualSetter(RuntimeObject *object, int32_t which, int32_t width) {
  if (!object || which < 0 || which > 2)
    return;
  ListColumnObject *c = AsColumn(object);
  const bool stored = SetLive(c, which, false, [&](RuntimeListbox *pane, int32_t col) {
    if (which == 0)
      pane->SetColWidthActual(col, width);
    else if (which == 1)
      pane->SetMinColWidthActual(col, width);
    else
      pane->SetMaxColWidthActual(col, width);
  });
  if (stored)
    c->actuals[which] = width;
}

} // extern "C"
