// The edit pane on GTK+ 2: a GtkEntry for one line, or a GtkTextView with its
// buffer inside a GtkScrolledWindow for several. Positions are character
// offsets; text crosses as UTF-8.
#pragma once
#include <gtk/gtk.h>

#include <string>

#include "foundation/SimpleVector.h"
#include "text/EditControl.h"

struct StyleRunData;
struct TextStyleAttributes;

// The name prefixes of the tags that carry a value: the GTK+ family name,
// the GTK+ point size in decimal, the colour's three 16-bit components in
// twelve upper-case hexadecimal digits.
extern const char kTextFontName[];
extern const char kTextFontSize[];
extern const char kTextForegroundColor[];

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

  // Styles of the selection; only a styled multi-line pane has any.
  string GetTextStyle() override;
  void SetTextAndStyle(const string &text, const string &style) override;
  void setSelectionBold(bool on) override;
  void setSelectionUnderline(bool on) override;
  void setSelectionItalic(bool on) override;
  void setSelectionPlain(bool on) override;
  void setSelectionTextFont(const string &font) override;
  void setSelectionTextSize(int32_t size) override;
  void setSelectionTextColor(const QV::RGBColor &color) override;
  bool getSelectionBold() override;
  bool getSelectionUnderline() override;
  bool getSelectionItalic() override;
  string getSelectionTextFont() override;
  int32_t getSelectionTextSize() override;
  void getSelectionTextColor(QV::RGBColor *color) override;
  void toggleSelectionBold() override;
  void toggleSelectionUnderline() override;
  void toggleSelectionItalic() override;

  // Styles of character ranges.
  void SetBoldRange(int32_t start, int32_t length, bool on) override;
  void SetItalicRange(int32_t start, int32_t length, bool on) override;
  void SetUnderlineRange(int32_t start, int32_t length, bool on) override;
  void SetFontRange(int32_t start, int32_t length, const string &font) override;
  void SetSizeRange(int32_t start, int32_t length, int32_t size) override;
  void SetColorRange(int32_t start, int32_t length, int32_t rrggbb) override;
  bool GetBoldRange(int32_t start, int32_t length, bool *mixed) override;
  bool GetItalicRange(int32_t start, int32_t length, bool *mixed) override;
  bool GetUnderlineRange(int32_t start, int32_t length, bool *mixed) override;
  string GetFontRange(int32_t start, int32_t length, bool *mixed) override;
  int32_t GetSizeRange(int32_t start, int32_t length, bool *mixed) override;
  int32_t GetColorRange(int32_t start, int32_t length, bool *mixed) override;

  // The value common to the characters from start to end of the tags whose
  // names begin with the prefix (without regard to case): the rest of the
  // tag's name, the default for a character without one, "" when the
  // characters differ. An empty range, or a single-line pane, gives the
  // default.
  string GetRangeTextAttribute(const char *prefix, const string &defaultValue,
                               const GtkTextIter *start, const GtkTextIter *end);
  // Removes from the range every tag whose name begins with one of the
  // prefixes (without regard to case); the list ends with nil.
  void RemoveTagsFromBuffer(const GtkTextIter *start, const GtkTextIter *end,
                            const char *const *prefixes);
  // Whether every selected character carries the tag; with nothing
  // selected, whether the character after the caret does.
  bool GetSelectionToggle(GtkTextTag *tag);
  void GetTextIterFromRange(int32_t start, int32_t length, GtkTextIter *startIter,
                            GtkTextIter *endIter);

  // The style runs, derived from the tags and cached until a change marks
  // them stale. Indexes outside the runs answer nil and change nothing;
  // an insertion past the last run appends.
  int32_t StyleRunCount() override;
  RuntimeObject *GetStyleRun(int32_t index) override;
  void InsertStyleRun(RuntimeObject *run, int32_t index) override;
  void AppendStyleRun(RuntimeObject *run) override;
  void RemoveStyleRun(int32_t index) override;
  RuntimeObject *MakeTextRangeForStyle(int32_t index) override;
  // Rebuilds the cache when the runs are stale.
  void BuildStyleRuns(SimpleVector<StyleRunData *> &cache);
  // The characters from start, length long, as UTF-8; "" without styles.
  string GetTextRange(int32_t start, int32_t length);
  // Replaces the characters from start, length long, with the text; only
  // on a styled multi-line pane.
  void ReplaceText(int32_t start, int32_t length, const string &text);

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
  bool HasStyles() const { return mStyled && mView; }
  // The selection's iterators; false when the pane has no styles.
  bool StyledSelection(GtkTextIter *start, GtkTextIter *end);
  void SetToggleRange(GtkTextTag *tag, int32_t start, int32_t length, bool on);
  bool GetToggle(GtkTextTag *tag, const GtkTextIter *start, const GtkTextIter *end);
  // Gives the range the tag named prefix + value, made with the property
  // the first time it is used, after taking away the others of its prefix.
  void ApplyValueTag(const char *prefix, const std::string &value, const char *property,
                     const void *propertyValue, const GtkTextIter *start,
                     const GtkTextIter *end);
  void ApplyFont(const string &font, const GtkTextIter *start, const GtkTextIter *end);
  void ApplySize(int32_t size, const GtkTextIter *start, const GtkTextIter *end);
  void ApplyColor(const QV::RGBColor &color, const GtkTextIter *start, const GtkTextIter *end);
  string FontOfRange(const GtkTextIter *start, const GtkTextIter *end);
  int32_t SizeOfRange(const GtkTextIter *start, const GtkTextIter *end);
  QV::RGBColor ColorOfRange(const GtkTextIter *start, const GtkTextIter *end);
  // The attributes of the characters from the iterator up to the next place
  // where a tag starts or ends.
  void AttributesAt(const GtkTextIter *at, TextStyleAttributes &attributes);
  void ReleaseStyleRuns();
  // The character offset of the cached run at the index; the whole text's
  // length for an index past the last run.
  int32_t RunOffset(int32_t index);
  // Inserts the run's text at the offset with the run's styles.
  void InsertRunAt(const StyleRunData *run, int32_t offset);
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
