// The portable pane of every edit field: the state that does not depend on
// the toolkit and the virtual interface every edit pane implements, in fixed
// slot order. Operations a platform may leave out have bodies here; the style
// operations answer false, 0, "" or nil, as for a pane without styles.
#pragma once
#include <cstdint>

#include "controls/DataBindingServices.h"
#include "foundation/QVColor.h"
#include "foundation/String.h"
#include "graphics/FontStructure.h"
#include "text/EditControlDelegate.h"
#include "text/StyledTextDelegate.h"
#include "windows/SubPane.h"

struct RuntimeObject;
class FolderItemImp;

class EditControl : public ContainerPane, public DataAwareClass, public StyledTextDelegate {
public:
  EditControl(SubPane *parent, int32_t tabPanelIndex, const QV::Rect &bounds);
  ~EditControl() override;

  bool AcceptFocus() override;
  void Close() override;

  virtual string GetText(uint32_t encoding) = 0;
  virtual int32_t GetTextLength();
  virtual string GetTextStyle();
  virtual void SetText(const string &text) = 0;
  virtual void SetTextAndStyle(const string &text, const string &style);
  virtual void SetSelection(int32_t start, int32_t end) = 0;
  virtual bool HasSelection() = 0;
  virtual void EditCut() = 0;
  virtual void EditCopy() = 0;
  virtual void EditPaste() = 0;
  virtual void EditClear() = 0;
  virtual int32_t GetSelStart() = 0;
  virtual void SetSelStart(int32_t start) = 0;
  virtual int32_t GetSelEnd() = 0;
  virtual int32_t GetSelLength() = 0;
  virtual bool IsMultiline();
  virtual void SetSelLength(int32_t length) = 0;
  virtual string GetSelText(uint32_t encoding) = 0;
  virtual void SetSelText(const string &text) = 0;
  virtual void setDelegate(EditControlDelegate *delegate) = 0;
  virtual EditControlDelegate *getDelegate() = 0;
  virtual bool IsReadOnly() = 0;
  virtual void SetReadOnly(bool readOnly) = 0;
  virtual void getFont(FontStructure &font) = 0;
  virtual void setFont(FontStructure font) = 0;
  virtual void setMultiline(bool multiline);
  virtual void setPasswordMode(bool password) = 0;
  virtual void setLimitText(int32_t count) = 0;
  virtual void setAcceptTabs(bool accept) = 0;
  virtual void setWrapWidth(int32_t width) = 0;
  virtual int32_t getWrapWidth() = 0;
  virtual void setTextColor(const QV::RGBColor *color) = 0;
  virtual void setBackgroundColor(const QV::RGBColor *color) = 0;
  virtual void setSelectionBold(bool on);
  virtual void setSelectionUnderline(bool on);
  virtual void setSelectionItalic(bool on);
  virtual void setSelectionOutline(bool on);
  virtual void setSelectionShadow(bool on);
  virtual void setSelectionCondensed(bool on);
  virtual void setSelectionExtended(bool on);
  virtual void setSelectionPlain(bool on);
  virtual void setSelectionTextFont(const string &font);
  virtual void setSelectionTextSize(int32_t size);
  virtual void setSelectionTextColor(const QV::RGBColor &color);
  virtual int32_t GetScrollRow();
  virtual void SetScrollRow(int32_t line);
  virtual int32_t GetScrollPosX();
  virtual void SetScrollPosX(int32_t offset);
  virtual int32_t LineNumAtCharPos(int32_t position);
  virtual int32_t CharPosAtLineNum(int32_t line);
  virtual int32_t CharPosAtXY(int32_t x, int32_t y);
  virtual int32_t InsertionPosAtXY(int32_t x, int32_t y);
  virtual bool getSelectionBold();
  virtual bool getSelectionUnderline();
  virtual bool getSelectionItalic();
  virtual bool getSelectionOutline();
  virtual bool getSelectionShadow();
  virtual bool getSelectionCondensed();
  virtual bool getSelectionExtended();
  virtual bool getSelectionPlain();
  virtual string getSelectionTextFont();
  virtual int32_t getSelectionTextSize();
  virtual void getSelectionTextColor(QV::RGBColor *color);
  virtual void toggleSelectionBold();
  virtual void toggleSelectionUnderline();
  virtual void toggleSelectionItalic();
  virtual void toggleSelectionShadow();
  virtual void toggleSelectionOutline();
  virtual void toggleSelectionCondensed();
  virtual void toggleSelectionExtended();
  virtual void SetAlignment(int32_t alignment);
  virtual void SetSelAlignment(int32_t alignment);
  virtual int32_t GetSelAlignment();

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
  int32_t StyleRunCount() override;
  RuntimeObject *GetStyleRun(int32_t index) override;
  void InsertStyleRun(RuntimeObject *run, int32_t index) override;
  void AppendStyleRun(RuntimeObject *run) override;
  void RemoveStyleRun(int32_t index) override;
  RuntimeObject *MakeTextRangeForStyle(int32_t index) override;
  int32_t GetAlignmentRange(int32_t start, int32_t length) override;
  void SetAlignmentRange(int32_t start, int32_t length, int32_t alignment) override;

  virtual void loadFromFile(FolderItemImp *item);
  virtual void saveToFile(FolderItemImp *item);
  virtual RuntimeObject *getPrintingObject(RuntimeObject *graphics, int32_t width);
  void InitializeBinding() override;
  void RemoveBinding() override;

  const string &DataSourceName() const { return mDataSource; }
  void SetDataSourceName(const string &name) { mDataSource = name; }
  RuntimeObject *BoundDataControl() const { return mBoundDataControl; }
  void ClearBoundDataControl() { mBoundDataControl = nullptr; }
  RuntimeObject *Owner() const { return mOwner; }
  void SetOwner(RuntimeObject *owner) { mOwner = owner; }
  bool UseFocusRing() const { return mUseFocusRing; }
  void SetUseFocusRing(bool on) { mUseFocusRing = on; }
  void SetRefusesFocus(bool on) { mRefusesFocus = on; }
  int32_t Alignment() const { return mAlignment; }
  // True while a pane tells its delegate of a selection change from inside
  // a key press, a key release or a button release: asking the clipboard
  // then would run a nested main loop that takes the next input before this
  // one is done, and input that closes the window would delete the pane
  // still being told.
  static bool TellingFromInput() { return sTellingFromInput; }
  bool AcceptsTabs() const { return mAcceptTabs; }

protected:
  static bool sTellingFromInput;
  string mDataSource;
  RuntimeObject *mBoundDataControl = nullptr; // not owned
  int32_t mAlignment = 0;
  uint8_t mUseFocusRing = 0;
  uint8_t mRefusesFocus = 0;
  RuntimeObject *mOwner = nullptr; // the EditField, not owned
  uint8_t mMultiline = 0;
  uint8_t mAcceptTabs = 0;
};
