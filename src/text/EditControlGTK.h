// The edit pane on GTK+ 2: a GtkEntry for one line, or a GtkTextView with its
// buffer inside a GtkScrolledWindow for several. Positions are character
// offsets; text crosses as UTF-8.
#pragma once
#include <gtk/gtk.h>

#include <string>

#include "foundation/SimpleVector.h"
#include "text/EditControl.h"

struct StyleRunData;

class EditControlGTK : public EditControl {
public:
  EditControlGTK(EditControlDelegate *delegate, SubPane *parent, int32_t tabPanelIndex,
                 const QV::Rect &bounds, bool border, const FontStructure &font, bool multiline,
                 bool styled, bool verticalScrollBar, bool horizontalScrollBar);
  ~EditControlGTK() override;

  bool HandleClick(int32_t x, int32_t y, int32_t modifiers) override;
  void HandleMouseUp(int32_t x, int32_t y) override;
  void LostFocus() override;
  void GainedFocus() override;
  bool HandleKeyPress(int32_t ch, int32_t key, int32_t modifiers) override;
  void EnableMenuOptions() override;
  bool HandleRuntimeMenuCommand(void *item) override;

  string GetText(uint32_t encoding) override;
  void SetText(const string &text) override;
  void SetSelection(int32_t start, int32_t end) override;
  bool HasSelection() override;
  void EditCut() override;
  void EditCopy() override;
  void EditPaste() override;
  void EditClear() override;
  int32_t GetSelStart() override;
  void SetSelStart(int32_t start) override;
  int32_t GetSelEnd() override;
  int32_t GetSelLength() override;
  void SetSelLength(int32_t length) override;
  string GetSelText(uint32_t encoding) override;
  void SetSelText(const string &text) override;
  void setDelegate(EditControlDelegate *delegate) override;
  EditControlDelegate *getDelegate() override;
  bool IsReadOnly() override;
  void SetReadOnly(bool readOnly) override;
  void getFont(FontStructure &font) override;
  void setFont(FontStructure font) override;
  void setPasswordMode(bool password) override;
  void setLimitText(int32_t count) override;
  void setAcceptTabs(bool accept) override;
  void setWrapWidth(int32_t width) override;
  int32_t getWrapWidth() override;
  void setTextColor(const QV::RGBColor *color) override;
  void setBackgroundColor(const QV::RGBColor *color) override;
  int32_t GetScrollRow() override;
  void SetScrollRow(int32_t line) override;
  int32_t GetScrollPosX() override;
  void SetScrollPosX(int32_t offset) override;
  int32_t LineNumAtCharPos(int32_t position) override;
  int32_t CharPosAtLineNum(int32_t line) override;
  int32_t CharPosAtXY(int32_t x, int32_t y) override;
  int32_t InsertionPosAtXY(int32_t x, int32_t y) override;
  void SetAlignment(int32_t alignment) override;

  // Tells the delegate when the selection moved since it last heard.
  virtual void SelectionChanged();
  // The same, from inside the handling of a key or button.
  void SelectionChangedByInput();

  static void TextChangedCallBack(GObject *source, EditControlGTK *pane);
  static gboolean ButtonReleasedCallBack(GtkWidget *widget, GdkEventButton *e,
                                         EditControlGTK *pane);
  static gboolean KeyReleasedCallBack(GtkWidget *widget, GdkEventKey *e, EditControlGTK *pane);

  GtkTextView *TextView() const { return mView; }
  GtkEntry *Entry() const;
  bool StyleRunsStale() const { return mStyleRunsStale; }
  bool IsStyled() const { return mStyled; }

private:
  void MarkStale() { mStyleRunsStale = 1; }
  // The widget that takes keys and clicks: the view or the entry.
  GtkWidget *InputWidget() const;
  void SaveSelection();

  GtkTextBuffer *mBuffer = nullptr;
  FontStructure mFont;
  int32_t mSavedSelLength = 0;
  int32_t mSavedSelStart = 0;
  uint8_t mStyled;
  uint8_t mStyleRunsStale = 1;
  GtkTextTag *mBoldTag = nullptr;
  GtkTextTag *mItalicTag = nullptr;
  GtkTextTag *mUnderlineTag = nullptr;
  GtkTextView *mView = nullptr;
  SimpleVector<StyleRunData *> mStyleRuns;
  EditControlDelegate *mDelegate;
  // Set text longer than a GtkEntry holds, as UTF-8, and the part of it the
  // entry shows; both empty otherwise.
  std::string mWholeText;
  std::string mShownText;
};

EditControl *newEditControl(EditControlDelegate *delegate, SubPane *parent, int32_t tabPanelIndex,
                            const QV::Rect &bounds, bool border, FontStructure font);
EditControl *newMultiLineEditControl(EditControlDelegate *delegate, SubPane *parent,
                                     int32_t tabPanelIndex, const QV::Rect &bounds, bool border,
                                     FontStructure font, bool verticalScrollBar,
                                     bool horizontalScrollBar);
EditControl *newStyledEditControl(EditControlDelegate *delegate, SubPane *parent,
                                  int32_t tabPanelIndex, const QV::Rect &bounds, bool border,
                                  FontStructure font);
EditControl *newMultiLineStyledEditControl(EditControlDelegate *delegate, SubPane *parent,
                                           int32_t tabPanelIndex, const QV::Rect &bounds,
                                           bool border, FontStructure font,
                                           bool verticalScrollBar, bool horizontalScrollBar);
