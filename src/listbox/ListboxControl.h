// The ListBox object of the language: the control part, then the fields the
// property table reaches by byte offset, the font block, the column tables
// and the binding state. The class that owns it is registered with the
// ListBox class; the pane reads its fields and fires its events.
#pragma once
#include <cstddef>
#include <cstdint>

#include "controls/DataBindingServices.h"
#include "controls/ObjFontStructure.h"
#include "controls/RuntimeControl.h"
#include "runtime/objects/ClassTables.h"

struct ListboxControl {
  RuntimeControl control;
  stringStorage *dataSource;
  stringStorage *dataField;
  uint8_t hierarchical;
  uint8_t enableDrag;
  uint8_t enableDragReorder;
  uint8_t hasHeading;
  uint8_t useFocusRing;
  uint8_t scrollBarHorizontal;
  uint8_t scrollBarVertical;
  uint8_t pad115;
  int32_t selectionType; // 0 single, 1 multiple
  int32_t initialSortedColumn;
  int32_t initialColumnCount; // 1 when constructed
  int32_t initialScrollRow;
  int32_t initialScrollX;
  int32_t gridLinesHorizontal; // border styles
  int32_t gridLinesVertical;
  stringStorage *initialValue;
  stringStorage *columnWidths;
  uint8_t columnsResizable;
  uint8_t pad153[3];
  int32_t defaultRowHeight; // negative: measured from the font
  ObjFontStructure font;
  uint8_t inChange; // set while Change runs
  uint8_t columnTypes[64];
  uint8_t columnAlignments[64];
  uint8_t pad301;
  int16_t columnAlignmentOffsets[64];
  uint8_t pad430[2];
  int32_t lastIndex;
  RuntimeObject *boundProvider; // counted while bound
  ActionNotifierHandler gotFocusNotifiers;
  ActionNotifierHandler lostFocusNotifiers;
};
constexpr int32_t kListboxInstanceSize = 448;
static_assert(sizeof(ListboxControl) == kListboxInstanceSize);
static_assert(offsetof(ListboxControl, dataSource) == 100);
static_assert(offsetof(ListboxControl, dataField) == 104);
static_assert(offsetof(ListboxControl, hierarchical) == 108);
static_assert(offsetof(ListboxControl, enableDrag) == 109);
static_assert(offsetof(ListboxControl, enableDragReorder) == 110);
static_assert(offsetof(ListboxControl, hasHeading) == 111);
static_assert(offsetof(ListboxControl, useFocusRing) == 112);
static_assert(offsetof(ListboxControl, scrollBarHorizontal) == 113);
static_assert(offsetof(ListboxControl, scrollBarVertical) == 114);
static_assert(offsetof(ListboxControl, selectionType) == 116);
static_assert(offsetof(ListboxControl, initialSortedColumn) == 120);
static_assert(offsetof(ListboxControl, initialColumnCount) == 124);
static_assert(offsetof(ListboxControl, initialScrollRow) == 128);
static_assert(offsetof(ListboxControl, initialScrollX) == 132);
static_assert(offsetof(ListboxControl, gridLinesHorizontal) == 136);
static_assert(offsetof(ListboxControl, gridLinesVertical) == 140);
static_assert(offsetof(ListboxControl, initialValue) == 144);
static_assert(offsetof(ListboxControl, columnWidths) == 148);
static_assert(offsetof(ListboxControl, columnsResizable) == 152);
static_assert(offsetof(ListboxControl, defaultRowHeight) == 156);
static_assert(offsetof(ListboxControl, font) == 160);
static_assert(offsetof(ListboxControl, inChange) == 172);
static_assert(offsetof(ListboxControl, columnTypes) == 173);
static_assert(offsetof(ListboxControl, columnAlignments) == 237);
static_assert(offsetof(ListboxControl, columnAlignmentOffsets) == 302);
static_assert(offsetof(ListboxControl, lastIndex) == 432);
static_assert(offsetof(ListboxControl, boundProvider) == 436);
static_assert(offsetof(ListboxControl, gotFocusNotifiers) == 440);
static_assert(offsetof(ListboxControl, lostFocusNotifiers) == 444);

// The events of the ListBox class, in slot order.
enum class ListboxEvent : int32_t {
  kChange,
  kDoubleClick,
  kKeyDown,
  kEnableMenuItems,
  kExpandRow,
  kCollapseRow,
  kDragRow,
  kSortColumn,
  kCellAction,
  kGotFocus,
  kLostFocus,
  kCellBackgroundPaint,
  kCellTextPaint,
  kCellClick,
  kCellKeyDown,
  kCellTextChange,
  kCellGotFocus,
  kCellLostFocus,
  kMouseDown,
  kMouseDrag,
  kMouseUp,
  kCompareRows,
  kDragReorderRows,
  kHeaderPressed,
};
constexpr int32_t kListboxEventCount = 24;

// The event table the class fills its hooks from; each row's hook is nil
// until the class is built.
extern ObjectHookTemplate ListboxHooks[kListboxEventCount];
