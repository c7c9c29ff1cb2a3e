#include "text/EditControl.h"

#include <memory>

#include "controls/DataControlLookup.h"
#include "controls/RuntimeControl.h"
#include "foundation/StringMap.h"
#include "foundation/TextEncodings.h"
#include "language/StringSlices.h"
#include "runtime/loop/WindowInterface.h"
#include "runtime/objects/ObjectDefinitionConverter.h"
#include "runtime/startup/BuiltinClassBuilders.h"
#include "windows/ControlServices.h"
#include "text/EditFieldObject.h"

StyledTextDelegate::~StyledTextDelegate() = default;

bool EditControl::sTellingFromInput = false;

EditControl::EditControl(SubPane *parent, int32_t tabPanelIndex, const QV::Rect &bounds)
    : ContainerPane(parent, tabPanelIndex, bounds), mDataSource("") {}

EditControl::~EditControl() = default;

bool EditControl::AcceptFocus() {
  // The widget is not asked: an edit pane takes the focus whenever it shows.
  return !mRefusesFocus && mEnabled && mVisible && mTabPanelVisible;
}

void EditControl::Close() {
  if (mOwner)
    DetachEditFieldStyledText(mOwner);
  SubPane::Close();
}

int32_t EditControl::GetTextLength() {
  string text = GetText(kEncodingUTF8);
  return StringDBCSLen(text.Storage());
}

bool EditControl::IsMultiline() { return mMultiline != 0; }
void EditControl::setMultiline(bool multiline) { mMultiline = multiline; }

// A pane without styles: the style operations answer as for untagged text.
string EditControl::GetTextStyle() { return string(); }
void EditControl::SetTextAndStyle(const string &text, const string &) { SetText(text); }
void EditControl::setSelectionBold(bool) {}
void EditControl::setSelectionUnderline(bool) {}
void EditControl::setSelectionItalic(bool) {}
void EditControl::setSelectionOutline(bool) {}
void EditControl::setSelectionShadow(bool) {}
void EditControl::setSelectionCondensed(bool) {}
void EditControl::setSelectionExtended(bool) {}
void EditControl::setSelectionPlain(bool) {}
void EditControl::setSelectionTextFont(const string &) {}
void EditControl::setSelectionTextSize(int32_t) {}
void EditControl::setSelectionTextColor(const QV::RGBColor &) {}
bool EditControl::getSelectionBold() { return false; }
bool EditControl::getSelectionUnderline() { return false; }
bool EditControl::getSelectionItalic() { return false; }
bool EditControl::getSelectionOutline() { return false; }
bool EditControl::getSelectionShadow() { return false; }
bool EditControl::getSelectionCondensed() { return false; }
bool EditControl::getSelectionExtended() { return false; }
bool EditControl::getSelectionPlain() { return false; }
string EditControl::getSelectionTextFont() { return string(""); }
int32_t EditControl::getSelectionTextSize() { return 0; }
void EditControl::getSelectionTextColor(QV::RGBColor *color) {
  if (color)
    *color = QV::RGBColor{0, 0, 0};
}
void EditControl::toggleSelectionBold() {}
void EditControl::toggleSelectionUnderline() {}
void EditControl::toggleSelectionItalic() {}
void EditControl::toggleSelectionShadow() {}
void EditControl::toggleSelectionOutline() {}
void EditControl::toggleSelectionCondensed() {}
void EditControl::toggleSelectionExtended() {}

int32_t EditControl::GetScrollRow() { return 0; }
void EditControl::SetScrollRow(int32_t) {}
int32_t EditControl::GetScrollPosX() { return 0; }
void EditControl::SetScrollPosX(int32_t) {}
int32_t EditControl::LineNumAtCharPos(int32_t) { return 0; }
int32_t EditControl::CharPosAtLineNum(int32_t) { return 0; }
int32_t EditControl::CharPosAtXY(int32_t, int32_t) { return 0; }
int32_t EditControl::InsertionPosAtXY(int32_t, int32_t) { return 0; }
void EditControl::SetAlignment(int32_t) {}
void EditControl::SetSelAlignment(int32_t) {}
int32_t EditControl::GetSelAlignment() { return 0; }

void EditControl::SetBoldRange(int32_t, int32_t, bool) {}
void EditControl::SetItalicRange(int32_t, int32_t, bool) {}
void EditControl::SetUnderlineRange(int32_t, int32_t, bool) {}
void EditControl::SetFontRange(int32_t, int32_t, const string &) {}
void EditControl::SetSizeRange(int32_t, int32_t, int32_t) {}
void EditControl::SetColorRange(int32_t, int32_t, int32_t) {}
bool EditControl::GetBoldRange(int32_t, int32_t, bool *) { return false; }
bool EditControl::GetItalicRange(int32_t, int32_t, bool *) { return false; }
bool EditControl::GetUnderlineRange(int32_t, int32_t, bool *) { return false; }
string EditControl::GetFontRange(int32_t, int32_t, bool *) { return string(""); }
int32_t EditControl::GetSizeRange(int32_t, int32_t, bool *) { return 0; }
int32_t EditControl::GetColorRange(int32_t, int32_t, bool *) { return 0; }
int32_t EditControl::StyleRunCount() { return 0; }
RuntimeObject *EditControl::GetStyleRun(int32_t) { return nullptr; }
void EditControl::InsertStyleRun(RuntimeObject *, int32_t) {}
void EditControl::AppendStyleRun(RuntimeObject *) {}
void EditControl::RemoveStyleRun(int32_t) {}
RuntimeObject *EditControl::MakeTextRangeForStyle(int32_t) { return nullptr; }
int32_t EditControl::GetAlignmentRange(int32_t, int32_t) { return 0; }
void EditControl::SetAlignmentRange(int32_t, int32_t, int32_t) {}

void EditControl::loadFromFile(FolderItemImp *) {}
void EditControl::saveToFile(FolderItemImp *) {}
RuntimeObject *EditControl::getPrintingObject(RuntimeObject *, int32_t) { return nullptr; }

void EditControl::InitializeBinding() {
  if (mDataSource.Compare(string("")) == 0) {
    RemoveBinding();
    return;
  }
  if (!mOwner)
    return;
  RuntimeObject *control =
      FindBindableDataControl(reinterpret_cast<RuntimeControl *>(mOwner)->view, mDataSource);
  if (!control)
    return;
  RemoveBinding();
  mBoundDataControl = control;
  RuntimeDataControl::AddBindControl(control, mOwner, kDataAwareEditField);
  DataControlRepopulateData(control);
}

void EditControl::RemoveBinding() {
  if (!mBoundDataControl)
    return;
  RuntimeDataControl::DelBindControl(mBoundDataControl, mOwner, kDataAwareEditField);
  mBoundDataControl = nullptr;
}
