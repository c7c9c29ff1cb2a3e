// Column geometry of the list: width expressions, the recalculation with
// its fixed share per weight, limits, lazily rebuilt expressions, pixel
// widths moved between star columns, border drags limited by their
// neighbours, and the heading names.
#include <gtest/gtest.h>

#include <memory>
#include <random>

#include "ListTestSupport.h"
#include "listbox/ColumnWidthExpressions.h"
#include "support/WindowsTestSupport.h"

namespace {

// A list whose content is `width` pixels wide (the frame takes 1 on the left
// and 2 on the right).
std::unique_ptr<TestList> ListOfWidth(int width, int columns) {
  auto list = std::make_unique<TestList>(nullptr, MakeRect(0, 0, width + 3, 200), 0);
  list->SetColumnCount(columns);
  return list;
}

std::vector<int32_t> Widths(TestList &list) {
  std::vector<int32_t> w;
  for (int32_t c = 0; c < list.ColumnCount(); ++c)
    w.push_back(list.GetColWidthActual(c));
  return w;
}

void SetAll(TestList &list, std::vector<const char *> expressions) {
  for (size_t c = 0; c < expressions.size(); ++c)
    list.SetColWidthExpression(static_cast<int32_t>(c), string(expressions[c]));
  list.ReCalculateColumnWidths();
}

std::string Text(const string &s) { return s.CString(); }

class ColumnWidths : public testing::Test {
protected:
  void SetUp() override {
    if (!HaveDisplay())
      GTEST_SKIP() << "no display";
  }
  RaisedExceptions raised;
};

struct WidthCase {
  int contentWidth;
  std::vector<const char *> expressions;
  std::vector<int32_t> widths;
};

TEST_F(ColumnWidths, ExpressionsShareTheContentWidth) {
  const WidthCase cases[] = {
      {300, {"50%", "*", "2*"}, {150, 50, 100}},
      // One weight worth -10 pixels: the last star column takes what is left.
      {80, {"100", "*", "*"}, {100, -10, 10}},
      {80, {"100", "*"}, {100, 0}},
      {100, {"", "*"}, {50, 50}},
      {100, {"-5", "*"}, {0, 100}},
      {301, {"*", "*", "*"}, {100, 100, 101}},
      {200, {"25%", "40", "2.5*", "*"}, {50, 40, 78, 32}},
  };
  for (const WidthCase &c : cases) {
    auto list = ListOfWidth(c.contentWidth, static_cast<int32_t>(c.expressions.size()));
    SetAll(*list, c.expressions);
    EXPECT_EQ(Widths(*list), c.widths) << c.expressions[0] << " on " << c.contentWidth;
    // The edges follow the widths from the content's left edge.
    int32_t left = 1;
    for (int32_t col = 0; col < list->ColumnCount(); ++col) {
      EXPECT_EQ(list->GetColLeft(col), left);
      left += list->GetColWidthActual(col);
      EXPECT_EQ(list->GetColRight(col), left);
    }
  }
  EXPECT_TRUE(RaisedExceptions::Seen().empty());
}

TEST_F(ColumnWidths, AnUnrecognisedExpressionRaisesAndChangesNothing) {
  auto list = ListOfWidth(300, 2);
  SetAll(*list, {"120", "*"});
  list->SetColWidthExpression(0, string("10px"));
  EXPECT_EQ(RaisedExceptions::Seen(),
            Strings{"UnsupportedFormatException: Unrecognized expression '10px'"});
  EXPECT_EQ(Text(list->GetColWidthExpression(0)), "120");
  EXPECT_EQ(Widths(*list), (std::vector<int32_t>{120, 180}));
}

TEST_F(ColumnWidths, LimitsRefuseStarsAndKeepMinusOneAsNoMaximum) {
  auto list = ListOfWidth(200, 2);
  for (const char *refused : {"", "*", "3*"})
    list->SetMinColWidthExpression(0, string(refused));
  EXPECT_EQ(RaisedExceptions::Seen(),
            Strings(3, "UnsupportedFormatException: MinWidthExpression doesn't support the "
                       "Asterisk ('*') format."));
  EXPECT_EQ(Text(list->GetMinColWidthExpression(0)), "0");
  RaisedExceptions::Seen().clear();
  list->SetMaxColWidthExpression(0, string("*"));
  list->SetMinColWidthExpression(1, string("5q"));
  EXPECT_EQ(RaisedExceptions::Seen(),
            (Strings{"UnsupportedFormatException: MaxWidthExpression doesn't support the "
                     "Asterisk ('*') format.",
                     "UnsupportedFormatException: Unrecognized expression '5q'"}));

  list->SetMinColWidthExpression(0, string("10%"));
  list->SetMaxColWidthExpression(0, string("-1"));
  list->SetMaxColWidthExpression(1, string("150"));
  EXPECT_EQ(list->GetMinColWidthActual(0), 20);
  EXPECT_EQ(list->GetMaxColWidthActual(0), -1);
  EXPECT_EQ(list->GetMaxColWidthActual(1), 150);
  SetAll(*list, {"*", "*"});
  EXPECT_EQ(list->GetMaxColWidthActual(0), -1) << "still no maximum after recalculation";
  EXPECT_EQ(list->GetMinColWidthActual(0), 20);
  EXPECT_EQ(list->GetMaxColWidthActual(1), 150);
}

TEST_F(ColumnWidths, PixelWidthsRebuildTheirExpressionsWhenRead) {
  auto list = ListOfWidth(400, 3);
  SetAll(*list, {"100", "25%", "60"});
  ASSERT_EQ(list->StarTotal(), 0);
  list->SetColWidthActual(0, 120);
  list->SetColWidthActual(1, 50);
  list->SetMinColWidthActual(2, 30);
  EXPECT_EQ(Text(list->GetColWidthExpression(0)), "120");
  EXPECT_EQ(Text(list->GetColWidthExpression(1)), "12.5%");
  EXPECT_EQ(Text(list->GetMinColWidthExpression(2)), "30");
  EXPECT_EQ(list->GetColLeft(2), 1 + 120 + 50);
  EXPECT_EQ(list->log, (Strings{"after column 0", "after column 1"}));
}

TEST_F(ColumnWidths, DraggingAStarBorderMovesWidthToTheNeighbourAndRewritesWeights) {
  auto list = ListOfWidth(300, 3);
  SetAll(*list, {"*", "*", "*"});
  list->SetColWidthActual(0, 150);
  EXPECT_EQ(Widths(*list), (std::vector<int32_t>{150, 50, 100}));
  EXPECT_EQ(Text(list->GetColWidthExpression(0)), "3*");
  EXPECT_EQ(Text(list->GetColWidthExpression(1)), "1*");
  EXPECT_EQ(Text(list->GetColWidthExpression(2)), "2*");
  // The weights keep the widths when the list recalculates.
  list->ReCalculateColumnWidths();
  EXPECT_EQ(Widths(*list), (std::vector<int32_t>{150, 50, 100}));
  // The border after the last column does not move.
  list->SetColWidthActual(2, 10);
  EXPECT_EQ(Widths(*list), (std::vector<int32_t>{150, 50, 100}));
}

TEST_F(ColumnWidths, BorderDragsStopAtTheLimitsOfBothColumns) {
  auto list = ListOfWidth(300, 2);
  SetAll(*list, {"*", "*"});
  list->SetMinColWidthExpression(0, string("40"));
  list->SetMaxColWidthExpression(0, string("200"));
  list->SetMinColWidthExpression(1, string("30"));
  struct Case {
    int32_t proposed, mouseX, result, width;
  } cases[] = {
      {100, 100, 0, 100}, // within every limit
      {20, 100, 1, 40},   // below its own minimum
      {250, 100, 2, 200}, // above its own maximum
      {180, 100, 0, 180},
      {290, 100, 2, 200}, // its maximum comes first
  };
  for (const Case &c : cases) {
    int32_t w = c.proposed;
    EXPECT_EQ(list->CheckNewHeaderWidth(0, &w, c.mouseX), c.result) << c.proposed;
    EXPECT_EQ(w, c.width) << c.proposed;
  }
  // The neighbour's minimum: 150 + 150 - 30 + 1 (the last column).
  list->SetMaxColWidthExpression(0, string("-1"));
  int32_t w = 290;
  EXPECT_EQ(list->CheckNewHeaderWidth(0, &w, 100), 2);
  EXPECT_EQ(w, 271);
}

TEST_F(ColumnWidths, HeadingNamesComeFromTheFirstLineWithNumbersForEmptyFields) {
  auto list = ListOfWidth(300, 3);
  list->SetHeadingNames(-1, string("Name\t\tSize\rmore\tthings"));
  EXPECT_EQ(Text(list->GetHeadingName(0)), "Name");
  EXPECT_EQ(Text(list->GetHeadingName(1)), "1");
  EXPECT_EQ(Text(list->GetHeadingName(2)), "Size");
  list->SetHeadingNames(2, string());
  EXPECT_EQ(Text(list->GetHeadingName(2)), "2");
  list->SetHeadingNames(64, string("ignored"));
  list->SetHeadingNames(-2, string("ignored"));
  EXPECT_EQ(Text(list->GetHeadingName(0)), "Name");
}

// Seeded hostile expressions: each gives a width or the message, never a
// fault (the sanitizer build checks the memory side).
TEST_F(ColumnWidths, HostileExpressionsGiveAWidthOrTheMessage) {
  std::mt19937 random(41);
  const std::string pieces[] = {"1", "50", "%", "*", "-", ".", "e", "9999999999", "\t",
                                "\r", "\x80", "\xff", "px", " ", "&h", "1e308", ""};
  auto list = ListOfWidth(250, 4);
  int messages = 0;
  for (int i = 0; i < 20000; ++i) {
    std::string e;
    const int n = random() % 6;
    for (int k = 0; k < n; ++k)
      e += pieces[random() % std::size(pieces)];
    if (random() % 50 == 0)
      e = std::string(200 + random() % 2000, "9*%\t"[random() % 4]);
    RaisedExceptions::Seen().clear();
    const int32_t column = static_cast<int32_t>(random() % 4);
    string s;
    s.ConstructFromBuffer(e.data(), static_cast<int>(e.size()));
    switch (random() % 3) {
    case 0:
      list->SetColWidthExpression(column, s);
      break;
    case 1:
      list->SetMinColWidthExpression(column, s);
      break;
    default:
      list->SetMaxColWidthExpression(column, s);
      break;
    }
    double value;
    const ColumnWidthFormat form = ParseColumnWidth(s, &value);
    if (form == kColumnWidthUnrecognized)
      ASSERT_EQ(RaisedExceptions::Seen().size(), 1u) << e;
    messages += static_cast<int>(RaisedExceptions::Seen().size());
    list->ReCalculateColumnWidths();
  }
  EXPECT_GT(messages, 0);
}

} // namespace
