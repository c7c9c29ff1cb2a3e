// The DataControl's pane: a navigation bar of four square buttons (first,
// previous, next, last) around a framed white box with the caption. It
// tracks the mouse over the buttons, fires its control's navigation events
// through a delegate, and keeps the record state the DataControl works on
// (the record set, the current row, the counted rows, the column names and
// which halves of the buttons are active).
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "foundation/FontStructure.h"
#include "foundation/QVColor.h"
#include "foundation/QVGeometry.h"
#include "foundation/String.h"
#include "windows/SubPane.h"

struct DataControlObject;
class Graphics;

enum NavButton : int32_t { kNavNone = 0, kNavFirst = 1, kNavPrevious = 2, kNavNext = 3, kNavLast = 4 };
enum ValidAction : int32_t { kValidInsert = 0, kValidUpdate = 1, kValidDelete = 2 };

// The pane's link to its control's events. The Boolean answers say whether
// the handler took over (a move, an insert) or cancelled (Validate).
class DataControlDelegate {
public:
  virtual ~DataControlDelegate() = default;
  virtual bool DataControlAddNew(DataControlObject *object) = 0;
  virtual void DataControlDelete(DataControlObject *object) = 0;
  virtual bool DataControlMoveFirst(DataControlObject *object) = 0;
  virtual bool DataControlMoveLast(DataControlObject *object) = 0;
  virtual bool DataControlMoveNext(DataControlObject *object) = 0;
  virtual bool DataControlMovePrev(DataControlObject *object) = 0;
  virtual void DataControlReposition(DataControlObject *object, int32_t row) = 0;
  virtual void DataControlUpdate(DataControlObject *object) = 0;
  virtual bool DataControlValidate(DataControlObject *object, int32_t action) = 0;
};

// The side of every button: the pane's height, or a fifth of its width when
// the width is under five heights, never above 35 pixels.
int32_t CalculateButtonWidth(int32_t width, int32_t height);
// A button's rectangle in a bar with those bounds.
QV::Rect NavButtonRect(const QV::Rect &bounds, int32_t button);
// The GTK+ state a button is drawn in: active (1) pressed; else, enabled
// with its half's flag set, prelight (2) under the mouse or normal (0);
// otherwise insensitive (4).
int32_t NavButtonState(int32_t button, int32_t pressed, int32_t hover, bool enabled, bool back,
                       bool forward);
// The caption's left edge in the box between the buttons: e = left + 2w + 5;
// left, centred or right alignment, never left of e.
int32_t CaptionStart(const QV::Rect &bounds, int32_t w, int32_t alignment, int32_t textWidth);
// The text colour 0xRRGGBB as 16-bit components; dimmed ((c + 0x18000) / 4)
// for a disabled pane or an inactive window.
QV::RGBColor CaptionColor(int32_t color, bool dimmed);

class DataControl : public SubPane {
public:
  DataControl(DataControlDelegate *delegate, ContainerPane *parent, int32_t index, const QV::Rect &bounds);
  ~DataControl() override;

  void Redraw(Graphics *g) override;
  bool HandleClick(int32_t x, int32_t y, int32_t modifiers) override;
  void HandleMouseMove(int32_t x, int32_t y) override;
  void HandleMouseUp(int32_t x, int32_t y) override;
  void HandleMouseExit() override;
  void Activate() override;
  void Deactivate() override;
  void MovePane(const QV::Rect &r, bool redraw) override;
  bool GetBaseline() override; // see Baseline
  void EnablePane(bool enable, bool redraw) override;
  bool UpdateBounds(QV::Rect *r) override;
  // A closing pane lets its object go (which empties its bound list).
  void Close() override;

  // The font's ascent plus half of the height the font leaves free.
  int32_t Baseline(Graphics *g);
  int32_t ButtonWidth() const { return CalculateButtonWidth(Width(), Height()); }
  void DrawNavigationalButton(Graphics *g, const QV::Rect &r, int32_t button, int32_t state);
  // Redraws the buttons the back or the forward flag governs.
  void InvalidateHalf(bool back);

  // What the control hands over.
  void SetObject(DataControlObject *object) { mObject = object; }
  void SetDelegate(DataControlDelegate *delegate) { mDelegate = delegate; }
  DataControlObject *Object() const { return mObject; }
  void SetCaption(const std::string &caption) { mCaption = caption; }
  void SetTableName(const std::string &name) { mTableName = name; }
  void SetSQLQuery(const std::string &sql) { mSQLQuery = sql; }
  void SetDatabase(RuntimeObject *database); // takes a reference
  bool SetFont(const FontStructure &font) { return mFont.CopyFont(font); }
  void SetAlignment(int32_t alignment) { mAlignment = alignment; }
  bool SetTextColor(int32_t color);
  int32_t Pressed() const { return mPressed; }
  int32_t Hover() const { return mHover; }
  const std::string &Caption() const { return mCaption; }

  // The record state (DataControlRecords.cpp).
  void FillFieldNames();
  const std::vector<std::string> &FieldNames() const { return mFieldNames; }
  bool FieldNamesFilled() const { return mFieldNamesFilled; }
  void MarkFieldNamesUnfilled() { mFieldNamesFilled = false; }
  void PopulateCursor();
  void ReInitializeCursor();
  int32_t RowCount();
  void PositionOn(int32_t row);
  void RecordChanged(int32_t row);
  void ResetButtons();
  bool RecordLocked();
  void FillBoundControls();
  bool RecordModified();
  void WriteBack();
  void AddRecord();
  void DeleteRecord();
  void BlankRecord();
  void BlankBoundControls();
  void MoveNext();
  void MovePrevious();
  void MoveFirst();
  void MoveLast();
  void MoveTo(int32_t v);
  void RunQuery();
  RuntimeObject *RecordSet() const { return mRecordSet; }
  int32_t Row() const { return mRow; }
  bool BackFlag() const { return mBack; }
  bool ForwardFlag() const { return mForward; }

private:
  int32_t ButtonAt(int32_t x, int32_t y) const; // window coordinates; 0 for none
  void SetFlags(bool back, bool forward);
  void StartEdit();
  void EndEdit();
  void DropRecordSet();
  bool ReadOnly() const;
  // The 0-based column the control's DataField names in the record set, or
  // -1; text gets its StringValue.
  int32_t ColumnOf(RuntimeObject *control, int32_t kind, std::string &text);
  // Calls fn(control, kind) for each bound control, newest first; a control
  // that left the list meanwhile is passed over.
  template <typename Fn> void ForEachBound(Fn fn);
  // Moves the record set forward up to count rows; the moves made.
  int32_t MoveForward(int32_t count);

  DataControlDelegate *mDelegate;
  int32_t mCachedCount = 0;
  int32_t mPressed = kNavNone;
  int32_t mHover = kNavNone;
  bool mBack = false;
  bool mForward = false;
  DataControlObject *mObject = nullptr; // not counted
  std::string mCaption, mTableName, mSQLQuery;
  RuntimeObject *mDatabase = nullptr; // counted
  FontStructure mFont;
  std::vector<std::string> mFieldNames;
  bool mFieldNamesFilled = false;
  RuntimeObject *mRecordSet = nullptr; // counted
  int32_t mRow = 0;
  int32_t mAlignment = 0;
  int32_t mTextColor = 0;
};
