// A row engine with a recording delegate and provider, rows of a fixed
// height, and the exceptions the runtime raises while a test runs.
#pragma once
#include <string>
#include <vector>

#include <gtk/gtk.h>

#include "listbox/NuListbox.h"
#include "runtime/exceptions/ExceptionClasses.h"
#include "runtime/exceptions/RuntimeExceptions.h"
#include "runtime/objects/RuntimeObject.h"
#include "windows/GTKHelper.h"

using Strings = std::vector<std::string>;

class TestList : public NuListbox, public NuListboxDelegate, public NuListboxProvider {
public:
  // withWidget: a fixed container in the window, so that clicks reach it.
  TestList(ContainerPane *parent, const QV::Rect &bounds, int32_t selectionType,
           bool withWidget = false)
      : NuListbox(this, this, parent, 0, bounds, true, selectionType) {
    if (withWidget) {
      SetWidget(gtk_fixed_new());
      GTKHelper::SetupWidget(this, true);
      GTK_WIDGET_SET_FLAGS(GetWidget(), GTK_CAN_FOCUS);
    }
  }

  int32_t rowHeight = 16;
  Strings log;
  int invalidations = 0;
  int32_t wholeInvalidations = 0;

  int32_t GetRowHeight(int32_t) override { return rowHeight; }
  void InvalidateCell(int32_t row, int32_t column) override {
    ++invalidations;
    if (row == -1 && column == -1)
      ++wholeInvalidations;
  }
  void InvalidateRow(int32_t row) override { InvalidateCell(row, -1); }
  void InvalidateColumn(int32_t column) override { InvalidateCell(-1, column); }
  void InvalidateRowAndAllAfter(int32_t row) override {
    log.push_back("after row " + std::to_string(row));
  }
  void InvalidateColumnAndAllAfter(int32_t column) override {
    log.push_back("after column " + std::to_string(column));
  }
  void ListboxHeaderPress(int32_t column) override {
    log.push_back("press " + std::to_string(column));
  }

  void ListboxDoubleClick(NuListbox *) override { log.push_back("double"); }
  void ListboxSelChanging(NuListbox *) override { log.push_back("changing"); }
  void ListboxSelChange(NuListbox *) override { log.push_back("change"); }
  void ListboxScrolled(NuListbox *, int32_t pixels) override {
    log.push_back("scrolled " + std::to_string(pixels));
  }

  void HandleDrawEnvironment(Graphics *, const QV::Rect &) override {}
  void HandleDrawRow(Graphics *, int32_t, const QV::Rect &, bool) override {}
  void HandleHighlightRow(Graphics *, int32_t, const QV::Rect &, bool) override {}
  bool HandleExternalClick(int32_t x, int32_t y, int32_t) override {
    log.push_back("external " + std::to_string(x) + "," + std::to_string(y));
    return true;
  }
  bool takeRowClicks = false;
  bool HandleRowClick(int32_t row, int32_t, int32_t, int32_t) override {
    if (takeRowClicks)
      log.push_back("row click " + std::to_string(row));
    return takeRowClicks;
  }

  // The selected rows, lowest first.
  std::vector<int32_t> Selected() {
    std::vector<int32_t> rows;
    for (int32_t r = 0; r < GetRowCount(); ++r)
      if (getSelected(r))
        rows.push_back(r);
    return rows;
  }
  // The ranges as "first..last", in list order.
  Strings Ranges() {
    Strings out;
    for (NuSelectionRange *r = GetSelectionRange(); r; r = r->next)
      out.push_back(r->count == 1 ? std::to_string(r->first)
                                  : std::to_string(r->first) + ".." +
                                        std::to_string(r->first + r->count - 1));
    return out;
  }
};

// Records "Class: message" of every exception nobody handles.
struct RaisedExceptions {
  RaisedExceptions() {
    Seen().clear();
    OutOfBoundsExceptionClass(); // registers the class the runtime raises
    SetUnhandledExceptionHook([](RuntimeObject *e) {
      auto *fields = reinterpret_cast<RuntimeExceptionObject *>(e);
      Seen().push_back(std::string(stringStorage::CString(e->classPtr->name)) + ": " +
                       stringStorage::CString(fields->message));
    });
  }
  ~RaisedExceptions() { SetUnhandledExceptionHook(nullptr); }
  static Strings &Seen() {
    static Strings seen;
    return seen;
  }
};
