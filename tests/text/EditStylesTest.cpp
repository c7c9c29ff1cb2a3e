// Styled edit fields in a window of the test's own X server: the styles of
// the selection and of ranges, the TextStyle byte string, the style runs of
// the pane, the field's StyledText object, masks and display formats.
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "foundation/String.h"
#include "foundation/TextEncodings.h"
#include "runtime/exceptions/ExceptionClasses.h"
#include "runtime/exceptions/RuntimeExceptions.h"
#include "runtime/objects/ClassLookup.h"
#include "runtime/objects/ValueAccessors.h"
#include "runtime/objects/ValueEntryPoints.h"
#include "support/AlertRecorder.h"
#include "support/SeededMutants.h"
#include "text/RuntimeEditRouter.h"
#include "text/StyledTextEntryPoints.h"
#include "text/StyledTextObjects.h"
#include "EditFieldFixture.h"

namespace {

string U(const std::string &bytes) {
  string s;
  s.ConstructFromBuffer(bytes.data(), static_cast<int>(bytes.size()), kEncodingUTF8);
  return s;
}
std::string Str(const string &s) { return std::string(s.CString(), s.Length()); }

class EditStylesTest : public EditFieldFixture {
protected:
  // A styled field of several lines with its pane.
  RuntimeObject *StyledField(int top, const char *font = nullptr, bool multiLine = true) {
    RuntimeObject *field = NewField(10, top, 300, multiLine ? 80 : 24, multiLine);
    AsEditField(field)->styled = 1;
    if (font)
      AsEditField(field)->font.SetName(string(font).Storage());
    EditCreatePane(field);
    return field;
  }
  // The names of the tags on the character at the offset.
  static std::vector<std::string> TagsAt(EditControlGTK *pane, int offset) {
    GtkTextIter at;
    gtk_text_buffer_get_iter_at_offset(gtk_text_view_get_buffer(pane->TextView()), &at, offset);
    std::vector<std::string> names;
    GSList *tags = gtk_text_iter_get_tags(&at);
    for (GSList *t = tags; t; t = t->next)
      names.push_back(GTK_TEXT_TAG(t->data)->name);
    g_slist_free(tags);
    return names;
  }
  static std::string TextStyle(EditControlGTK *pane) { return Str(pane->GetTextStyle()); }
  // The runs as "text:bold" each.
  static std::vector<std::string> Runs(StyledTextDelegate *body) {
    std::vector<std::string> runs;
    for (int32_t i = 0; i < body->StyleRunCount(); ++i) {
      RuntimeObject *run = body->GetStyleRun(i);
      runs.push_back(Str(string::Borrow(AsStyleRun(run)->text)) + ":" +
                     std::to_string(AsStyleRun(run)->bold));
      RuntimeUnlockObject(run);
    }
    return runs;
  }
};

TEST_F(EditStylesTest, SelectionStylesReadWhatTheTagsSay) {
  EditControlGTK *pane = PaneOf(StyledField(10));
  pane->SetText(U("abcdef"));
  pane->SetSelection(0, 2);
  pane->setSelectionTextSize(10);
  pane->setSelectionTextFont(string("Courier"));
  pane->setSelectionBold(true);
  pane->SetSelection(0, 4);
  EXPECT_EQ(pane->getSelectionTextSize(), 0); // 10 and 12
  EXPECT_EQ(Str(pane->getSelectionTextFont()), "");
  EXPECT_FALSE(pane->getSelectionBold());
  pane->setSelectionTextSize(14);
  for (int i = 0; i < 4; ++i) {
    int sizeTags = 0;
    for (const std::string &name : TagsAt(pane, i))
      sizeTags += name.rfind("fontSize", 0) == 0;
    EXPECT_EQ(sizeTags, 1) << i;
  }
  EXPECT_EQ(pane->getSelectionTextSize(), 14);
  EXPECT_EQ(TagsAt(pane, 0).size(), 3u); // fontSize11, fontNameCourier, bold

  pane->SetSelection(0, 6);
  pane->setSelectionPlain(true);
  pane->SetSelection(0, 1);
  EXPECT_FALSE(pane->getSelectionBold());
  EXPECT_EQ(Str(pane->getSelectionTextFont()), "Courier");

  pane->SetColorRange(2, 2, 0xFF8000);
  EXPECT_EQ(pane->GetColorRange(2, 2, nullptr), 0xFF8000);
  EXPECT_EQ(pane->GetColorRange(1, 2, nullptr), 0);
  pane->SetSelection(3, 3); // nothing selected: the character after the caret
  QV::RGBColor c{1, 1, 1};
  pane->getSelectionTextColor(&c);
  EXPECT_EQ(c.red, 0xFFFF);
  EXPECT_EQ(c.green, 0x8080);
  EXPECT_EQ(c.blue, 0);
  pane->SetBoldRange(5, 1, true);
  pane->SetSelection(5, 5);
  EXPECT_TRUE(pane->getSelectionBold());
  pane->SetSelection(6, 6); // the very end
  EXPECT_FALSE(pane->getSelectionBold());
}

TEST_F(EditStylesTest, TextStyleBytesOfTheExampleReadBackIntoAnEmptyField) {
  EditControlGTK *pane = PaneOf(StyledField(10));
  pane->SetText(U("Hi!"));
  pane->SetBoldRange(0, 1, true);
  pane->SetColorRange(0, 1, 0xFF0000);
  const std::string hi("\x11\xFF\x00\x00\x0C\x00\x0C\x00\x0C", 9);
  EXPECT_EQ(TextStyle(pane), hi);

  EditControlGTK *copy = PaneOf(StyledField(100));
  string style;
  style.ConstructFromBuffer(hi.data(), static_cast<int>(hi.size()));
  copy->SetTextAndStyle(U("Hi!"), style);
  EXPECT_EQ(Str(copy->GetText(kEncodingUTF8)), "Hi!");
  EXPECT_EQ(TextStyle(copy), hi);
  EXPECT_EQ(copy->GetSelStart(), 3);

  // A cut record ends reading; the text and the records before it stay.
  string cut;
  cut.ConstructFromBuffer("\x01\x0C\x10\xFF", 4);
  copy->SetTextAndStyle(U("xyz"), cut);
  EXPECT_EQ(Str(copy->GetText(kEncodingUTF8)), "xyz");
  EXPECT_TRUE(copy->GetBoldRange(0, 1, nullptr));
  EXPECT_FALSE(copy->GetBoldRange(1, 1, nullptr));

  pane->SetText(U("\xC3\xA9\xC3\xA8"));
  EXPECT_EQ(TextStyle(pane), std::string("\x00\x0C\x00\x0C", 4));
  pane->SetText(string(""));
  EXPECT_EQ(TextStyle(pane), "");

  EditControlGTK *courier = PaneOf(StyledField(190, "Courier"));
  courier->SetText(U("ab"));
  EXPECT_EQ(TextStyle(courier), std::string("\x08\x07" "Courier\x0C\x00\x0C", 12));
  EditControlGTK *single = PaneOf(StyledField(280, "Courier", false));
  single->SetText(U("ab"));
  EXPECT_EQ(TextStyle(single), std::string("\x08\x07" "Courier\x0C\x00\x0C", 12));
  single->SetTextAndStyle(U("cd"), style);
  EXPECT_EQ(Str(single->GetText(kEncodingUTF8)), "cd");
}

// Seeded mutants of a valid style string, read into a real pane: each ends
// cleanly with the text intact and no alert, and what the pane then writes
// reads back into another pane as the same bytes.
TEST_F(EditStylesTest, MutatedStyleStringsEndCleanlyInThePane) {
  AlertRecorder alerts;
  EditControlGTK *pane = PaneOf(StyledField(10));
  const string text = U("ab\xC3\xA9" "cde\rf");
  pane->SetText(text);
  pane->SetBoldRange(0, 2, true);
  pane->SetColorRange(1, 3, 0x3080FF);
  pane->SetSizeRange(2, 4, 18);
  pane->SetFontRange(4, 3, string("Courier"));
  const std::string valid = TextStyle(pane);
  ASSERT_GT(valid.size(), 20u);
  EditControlGTK *copy = PaneOf(StyledField(100));
  std::mt19937 random(3810);
  for (int i = 0; i < 10000; ++i) {
    const std::string mutant = SeededMutant(valid, random);
    string style;
    style.ConstructFromBuffer(mutant.data(), static_cast<int>(mutant.size()));
    pane->SetTextAndStyle(text, style);
    ASSERT_EQ(Str(pane->GetText(kEncodingUTF8)), Str(text)) << i;
    if (i % 50 == 0) {
      const std::string written = TextStyle(pane);
      string again;
      again.ConstructFromBuffer(written.data(), static_cast<int>(written.size()));
      copy->SetTextAndStyle(text, again);
      ASSERT_EQ(TextStyle(copy), written) << i;
    }
  }
  EXPECT_EQ(alerts.count(), 0u);
}

TEST_F(EditStylesTest, PaneRunsFollowTheTags) {
  RuntimeObject *field = StyledField(10);
  EditControlGTK *pane = PaneOf(field);
  EXPECT_EQ(Runs(pane), (std::vector<std::string>{":0"})); // an empty text: one run
  pane->SetText(U("abcd"));
  pane->SetBoldRange(0, 2, true);
  EXPECT_EQ(Runs(pane), (std::vector<std::string>{"ab:1", "cd:0"}));
  pane->SetSelection(0, 4);
  pane->setSelectionPlain(true);
  EXPECT_EQ(Runs(pane), (std::vector<std::string>{"abcd:0"}));
  pane->SetFontRange(0, 2, string("Courier"));
  pane->SetFontRange(2, 2, string("COURIER"));
  EXPECT_EQ(pane->StyleRunCount(), 1);

  // Runs ab and cde; insertions count characters.
  pane->SetText(U("abcde"));
  pane->SetBoldRange(0, 2, true);
  RuntimeObject *range = pane->MakeTextRangeForStyle(1);
  ASSERT_NE(range, nullptr);
  auto *r = reinterpret_cast<TextRangeObject *>(range);
  EXPECT_EQ(r->startPos, 2);
  EXPECT_EQ(r->length, 3);
  EXPECT_EQ(r->endPos, 5);
  RuntimeUnlockObject(range);
  RuntimeObject *accented = CreateInstance(StyleRunClass());
  AsStyleRun(accented)->text = U("\xC3\xA9\xC3\xA9").ExtractStringStorage();
  AsStyleRun(accented)->size = 20;
  pane->InsertStyleRun(accented, 1);
  EXPECT_EQ(Str(pane->GetText(kEncodingUTF8)), "ab\xC3\xA9\xC3\xA9" "cde");
  EXPECT_EQ(pane->GetSizeRange(2, 2, nullptr), 20);
  pane->InsertStyleRun(accented, 99);
  EXPECT_EQ(Str(pane->GetText(kEncodingUTF8)), "ab\xC3\xA9\xC3\xA9" "cde\xC3\xA9\xC3\xA9");
  for (int32_t index : {-1, 99}) {
    EXPECT_EQ(pane->GetStyleRun(index), nullptr);
    EXPECT_EQ(pane->MakeTextRangeForStyle(index), nullptr);
    pane->RemoveStyleRun(index);
  }
  pane->InsertStyleRun(accented, -1);
  EXPECT_EQ(pane->GetTextLength(), 9);
  RuntimeUnlockObject(accented);
  pane->SetText(U("x"));
  pane->RemoveStyleRun(0);
  EXPECT_EQ(Runs(pane), (std::vector<std::string>{":0"}));
}

TEST_F(EditStylesTest, AMiddleClickPasteIsSeenByTheNextRunCount) {
  RuntimeObject *field = StyledField(10);
  EditControlGTK *pane = PaneOf(field);
  pane->SetText(U("ab"));
  pane->SetBoldRange(0, 1, true);
  ASSERT_EQ(pane->StyleRunCount(), 2);
  ASSERT_EQ(system("printf pasted | xclip -selection primary -i 2>/dev/null"), 0);
  auto runsText = [&] {
    std::string all;
    for (const std::string &run : Runs(pane))
      all += run;
    return all;
  };
  const std::string window = std::to_string(XidOf(mWindow));
  EXPECT_TRUE(XDoToolUntil("mousemove --window " + window + " 200 40 click 2",
                           [&] { return runsText().find("pasted") != std::string::npos; }))
      << runsText();
}

TEST_F(EditStylesTest, TheFieldsStyledTextUsesThePaneAndCopiesWhatItIsGiven) {
  AlertRecorder alerts;
  RuntimeObject *field = StyledField(10);
  RuntimeObject *styled = StyledTextObjectGetter(field, 0);
  ASSERT_NE(styled, nullptr);
  EXPECT_EQ(AsStyledText(styled)->ownsBody, 0);
  string text = U("abc");
  StyledTextSetter(styled, 0, text.Storage());
  StyledTextSetBold(styled, 0, 1, 1);
  EXPECT_EQ(TextOf(field), "abc");
  EXPECT_EQ(Runs(PaneOf(field)), (std::vector<std::string>{"a:1", "bc:0"}));

  RuntimeObject *other = StyledField(100);
  RuntimeObject *given = CreateInstance(StyledTextClass());
  string xy = U("xy");
  StyledTextSetter(given, 0, xy.Storage());
  StyledTextSetItalic(given, 1, 1, 1);
  StyledTextObjectSetter(other, 0, given);
  EXPECT_EQ(TextOf(other), "xy");
  EXPECT_TRUE(PaneOf(other)->GetItalicRange(1, 1, nullptr));
  StyledTextSetBold(given, 0, 2, 1); // the field copied the runs
  EXPECT_FALSE(PaneOf(other)->GetBoldRange(0, 2, nullptr));

  // Assigned before the pane: ignored, and the object's count is untouched.
  RuntimeObject *later = NewField(10, 200, 200, 60, true);
  AsEditField(later)->styled = 1;
  int32_t before = given->refCount;
  StyledTextObjectSetter(later, 0, given);
  EXPECT_EQ(given->refCount, before);
  RuntimeUnlockObject(given);

  // After the window closes the object has no body and calls nothing.
  mWindow->Close();
  StepUntil([] { return true; });
  for (RuntimeObject *f : mFields)
    AsEditField(f)->control.pane = nullptr;
  mWindow = nullptr;
  EXPECT_EQ(StyledTextRunCountGetter(styled), 0);
  EXPECT_EQ(StyledTextGetter(styled, 0), nullptr);
  EXPECT_TRUE(alerts.saw("std->mImp"));
  RuntimeUnlockObject(styled);
  for (RuntimeObject *f : mFields)
    RuntimeUnlockObject(f);
  mFields.clear();
}

// What the mask's events saw.
std::vector<std::string> gValidation;
int gBeeps = 0;
void OnValidationError(RuntimeObject *, stringStorage *text, int32_t position) {
  gValidation.push_back(Str(string::Borrow(text)) + "@" + std::to_string(position));
}

TEST_F(EditStylesTest, AMaskKeepsWhatFitsAndReportsTheRest) {
  UnsupportedFormatExceptionClass();
  std::vector<std::string> raised;
  static std::vector<std::string> *sRaised = &raised;
  SetUnhandledExceptionHook([](RuntimeObject *e) {
    auto *object = reinterpret_cast<RuntimeExceptionObject *>(e);
    sRaised->push_back(object->message ? stringStorage::CString(object->message) : "");
  });
  gBeeps = 0;
  gValidation.clear();
  SetEditBeep([] { ++gBeeps; });
  RuntimeObject *field = NewField(10, 10, 200, 24, false);
  EditCreatePane(field);
  EditMaskSetter(field, 0, U("(###) ###-####").Storage());
  EXPECT_EQ(TextOf(field), "(");
  EXPECT_EQ(PaneOf(field)->GetSelStart(), 1);
  editTextSetter(field, 0, U("(123").Storage());
  EditMaskSetter(field, 0, U("(###) ###-####").Storage());
  EXPECT_EQ(TextOf(field), "(123) ");

  editTextSetter(field, 0, U("12a").Storage());
  EditMaskSetter(field, 0, U("###").Storage());
  EXPECT_EQ(TextOf(field), "12");
  EXPECT_EQ(gBeeps, 1); // no handler: the beep

  field->eventTable[EditEventHook(EditEvent::kValidationError)->eventIndex].vector =
      reinterpret_cast<void *>(OnValidationError);
  RuntimeEditRouter *router = AsEditField(field)->router;
  EXPECT_TRUE(router->EditControlTextChanging(PaneOf(field), 0, 0, 2, U("x"), false));
  EXPECT_EQ(TextOf(field), "12");
  EXPECT_EQ(gValidation, std::vector<std::string>{"12x@3"});
  EXPECT_TRUE(router->EditControlTextChanging(PaneOf(field), 1, 1, 1, string(""), false));
  EXPECT_EQ(TextOf(field), "1"); // a pure deletion

  EditMaskSetter(field, 0, U("#~").Storage()); // the check ends before the ~
  EXPECT_TRUE(raised.empty());
  EXPECT_EQ(TextOf(field), "1");
  editTextSetter(field, 0, U("12").Storage());
  EditMaskSetter(field, 0, U("#~").Storage());
  EXPECT_EQ(raised, std::vector<std::string>{
                        "Invalid Mask.  The tilde character (~) is reserved for future use."});
  EXPECT_EQ(TextOf(field), "12"); // the change stops: no text, event or beep
  EXPECT_EQ(gValidation.size(), 1u);
  EXPECT_EQ(gBeeps, 1);
  field->eventTable[EditEventHook(EditEvent::kValidationError)->eventIndex].vector = nullptr;
  SetEditBeep(nullptr);
  SetUnhandledExceptionHook(nullptr);
}

TEST_F(EditStylesTest, AFormatShowsWithoutTheFocusAndTheRawTextWithIt) {
  RuntimeObject *field = NewField(10, 10, 200, 24, false);
  RuntimeObject *other = NewField(10, 50, 200, 24, false);
  EditCreatePane(other);
  stringSetter(field, 172, U("#,##0.00").Storage());
  editTextSetter(field, 0, U("1234.6").Storage());
  EditCreatePane(field);
  EXPECT_EQ(TextOf(field), "1,234.60");
  EXPECT_EQ(Str(string::Adopt(stringGetter(field, 176))), "1,234.60");
  ASSERT_TRUE(Focus(field));
  EXPECT_EQ(TextOf(field), "1234.6");
  stringSetter(field, 172, U("0").Storage()); // shown only after the next change
  ASSERT_TRUE(Focus(other));
  EXPECT_TRUE(StepUntil([&] { return TextOf(field) == "1235"; })) << TextOf(field);
}

} // namespace
