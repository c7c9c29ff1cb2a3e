// The ListBox pane over a stand-in object of the declared layout, with
// handlers installed per instance: cell chains and their defaults, the
// initial content, invalidation, folders, sorting against a reference sort,
// and paint events that change the list under the redraw.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <random>

#include "ListTestSupport.h"
#include "controls/ControlClasses.h"
#include "controls/ControlEntryPoints.h"
#include "listbox/RuntimeListbox.h"
#include "runtime/objects/ClassLookup.h"
#include "runtime/objects/ObjectDefinition.h"
#include "runtime/objects/ValueEntryPoints.h"
#include "support/OffscreenPixels.h"
#include "support/WindowsTestSupport.h"

namespace {

ObjectDefinition *StandInClass() {
  static ObjectDefinition defn;
  if (defn.className.IsEmpty()) {
    DefineControlClass(defn, "TestListbox", RectControlClass(), kListboxInstanceSize, nullptr,
                       nullptr);
    FillHooks(&defn, ListboxHooks, kListboxEventCount);
  }
  return &defn;
}

// What the handlers do, set by each test.
struct Script {
  std::function<void(int32_t)> expand, collapse;
  std::function<int32_t(int32_t, int32_t, int32_t *)> compare; // answers handled
  std::function<int32_t(int32_t, int32_t)> backgroundPaint, textPaint;
  Strings log;
};
Script *sScript = nullptr;

void OnExpand(RuntimeObject *, int32_t row) {
  sScript->log.push_back("expand " + std::to_string(row));
  if (sScript->expand)
    sScript->expand(row);
}
void OnCollapse(RuntimeObject *, int32_t row) {
  sScript->log.push_back("collapse " + std::to_string(row));
  if (sScript->collapse)
    sScript->collapse(row);
}
int32_t OnCompare(RuntimeObject *, int32_t a, int32_t b, int32_t, int32_t *result) {
  return sScript->compare ? sScript->compare(a, b, result) : 0;
}
int32_t OnBackground(RuntimeObject *, RuntimeObject *, int32_t row, int32_t column) {
  return sScript->backgroundPaint ? sScript->backgroundPaint(row, column) : 0;
}
int32_t OnText(RuntimeObject *, RuntimeObject *, int32_t row, int32_t column, int32_t, int32_t) {
  return sScript->textPaint ? sScript->textPaint(row, column) : 0;
}

std::string Text(const string &s) { return s.CString(); }

class ListboxPane : public testing::Test {
protected:
  void SetUp() override {
    if (!HaveDisplay())
      GTEST_SKIP() << "no display";
    sScript = &script;
    w = new RecordingWindow(MakeRect(50, 60, 450, 400));
    object = CreateInstance(StandInClass());
    ASSERT_NE(object, nullptr);
    control()->initialColumnCount = 1;
    control()->defaultRowHeight = 16;
    struct {
      const char *name;
      void *code;
    } handlers[] = {{"ExpandRow", reinterpret_cast<void *>(OnExpand)},
                    {"CollapseRow", reinterpret_cast<void *>(OnCollapse)},
                    {"CompareRows", reinterpret_cast<void *>(OnCompare)},
                    {"CellBackgroundPaint", reinterpret_cast<void *>(OnBackground)},
                    {"CellTextPaint", reinterpret_cast<void *>(OnText)}};
    for (auto &h : handlers) {
      string name(h.name);
      RuntimeInstallInstanceEventHandler(object, name.Storage(), h.code);
    }
  }
  void TearDown() override {
    if (w)
      w->Close();
    StepUntil([] { return true; });
    if (object)
      RuntimeUnlockObject(object);
    sScript = nullptr;
  }
  ListboxControl *control() { return reinterpret_cast<ListboxControl *>(object); }
  RuntimeListbox *Make(int columns = 1) {
    list = new RuntimeListbox(control(), w, 0, MakeRect(20, 20, 320, 200));
    list->SetColumnCount(columns);
    list->ReCalculateColumnWidths();
    return list;
  }
  void Rows(std::vector<const char *> texts) {
    for (const char *t : texts)
      list->AddRowText(string(t), false);
  }
  Strings Column0() {
    Strings out;
    for (int32_t r = 0; r < list->GetRowCount(); ++r) {
      CellEntry *c = list->GetItemData(r);
      out.push_back((std::string(list->GetItemIndent(r), ' ')) + (c ? Text(c->mText) : "?"));
    }
    return out;
  }
  void SetInitialValue(const char *text) {
    string s(text);
    control()->initialValue = s.ExtractStringStorage();
  }

  Script script;
  RecordingWindow *w = nullptr;
  RuntimeObject *object = nullptr;
  RuntimeListbox *list = nullptr;
  RaisedExceptions raised;
};

TEST_F(ListboxPane, ARowStartsWithOneCellAndFurtherCellsAreAppendedOnlyWhenAsked) {
  Make(6);
  Rows({"first"});
  CellEntry *head = list->GetItemData(0);
  ASSERT_NE(head, nullptr);
  EXPECT_EQ(Text(head->mText), "first");
  EXPECT_EQ(head->mNext, nullptr);
  CellEntry *five = list->GetItemCell(0, 5, true);
  EXPECT_EQ(head->mNext, five);
  EXPECT_EQ(list->GetItemCell(0, 3, false), nullptr);
  EXPECT_EQ(five->mNext, nullptr) << "reading creates nothing";
  EXPECT_EQ(list->GetItemCell(0, 5, true), five) << "one cell per column";

  control()->columnTypes[5] = 2;
  control()->columnAlignments[5] = 3;
  EXPECT_EQ(list->GetCellType(0, 5), 2) << "type 0 takes the column's";
  five->mType = 3;
  EXPECT_EQ(list->GetCellType(0, 5), 3);
  EXPECT_EQ(list->GetCellType(0, 64), 0);
  EXPECT_EQ(list->GetCellAlignment(0, 5), 3);
  EXPECT_EQ(list->GetCellFontSize(0, 5), list->FontSize());
}

TEST_F(ListboxPane, TheInitialValueGivesHeadingsRowsAndCells) {
  control()->hasHeading = 1;
  SetInitialValue("Name\t\tSize\nx\ty\n");
  Make(3);
  list->ResetInitialContent();
  EXPECT_EQ(Text(list->GetHeadingName(0)), "Name");
  EXPECT_EQ(Text(list->GetHeadingName(1)), "1");
  EXPECT_EQ(Text(list->GetHeadingName(2)), "Size");
  EXPECT_EQ(Column0(), Strings{"x"});
  EXPECT_EQ(Text(list->GetItemCell(0, 1, false)->mText), "y");
  list->Close();

  struct Case {
    const char *text;
    Strings rows;
    bool secondCell;
  } cases[] = {{"a\n\nb", {"a", "", "b"}, false}, {"a\t", {"a"}, false}, {"", {}, false},
               {"p\tq\tr\ns", {"p", "s"}, true}};
  control()->hasHeading = 0;
  for (const Case &c : cases) {
    RuntimeUnlockString(control()->initialValue);
    SetInitialValue(c.text);
    Make(3);
    list->ResetInitialContent();
    EXPECT_EQ(Column0(), c.rows) << c.text;
    if (list->GetRowCount())
      EXPECT_EQ(list->GetItemCell(0, 1, false) != nullptr, c.secondCell) << c.text;
    list->Close();
  }
  EXPECT_TRUE(RaisedExceptions::Seen().empty());
}

TEST_F(ListboxPane, HostileInitialValuesGiveRowsOrTheOutOfBoundsException) {
  std::mt19937 random(141);
  const std::string pieces[] = {"a", "\t", "\n", "\r", "\r\n", "\x80", "\xff", "zz", ""};
  Make(4);
  for (int i = 0; i < 2000; ++i) {
    std::string text;
    for (int n = random() % 12; n > 0; --n)
      text += pieces[random() % std::size(pieces)];
    if (random() % 40 == 0)
      text += std::string(300, '\t') + "deep";
    RuntimeUnlockString(control()->initialValue);
    string s;
    s.ConstructFromBuffer(text.data(), static_cast<int>(text.size()));
    control()->initialValue = s.ExtractStringStorage();
    control()->hasHeading = random() % 2;
    RaisedExceptions::Seen().clear();
    list->ResetInitialContent();
    for (const std::string &seen : RaisedExceptions::Seen())
      ASSERT_EQ(seen.rfind("OutOfBoundsException", 0), 0u) << seen;
  }
}

TEST_F(ListboxPane, InvalidatingBelowMinusOneRaises) {
  Make();
  list->InvalidateCell(-1, -1);
  list->InvalidateCell(5, 70);
  EXPECT_TRUE(RaisedExceptions::Seen().empty());
  list->InvalidateCell(-2, 0);
  list->InvalidateCell(0, -2);
  ASSERT_EQ(RaisedExceptions::Seen().size(), 2u);
  EXPECT_EQ(RaisedExceptions::Seen()[0].rfind("OutOfBoundsException", 0), 0u);
}

TEST_F(ListboxPane, FoldersExpandIntoChildrenAndCollapseDownToTheirLevel) {
  Make();
  list->SetHierarchical(true);
  list->AddRowText(string("a"), true);
  list->AddRowText(string("b"), true);
  list->AddRowText(string("c"), true);
  list->AddRowText(string("d"), false);
  script.expand = [&](int32_t row) {
    list->AddRowText(string("child 1"), row == 2);
    list->AddRowText(string("child 2"), false);
  };
  EXPECT_TRUE(list->ExpandItem(2, false));
  EXPECT_EQ(Column0(), (Strings{"a", "b", "c", " child 1", " child 2", "d"}));
  EXPECT_FALSE(list->ExpandItem(2, false)) << "already expanded";
  EXPECT_FALSE(list->ExpandItem(5, false)) << "a plain row";
  EXPECT_TRUE(list->ExpandItem(3, false));
  EXPECT_EQ(Column0(), (Strings{"a", "b", "c", " child 1", "  child 1", "  child 2", " child 2", "d"}));

  // The handler sees the children; collapsing stops at the same indent.
  script.collapse = [&](int32_t) { script.log.push_back(std::to_string(list->GetRowCount())); };
  EXPECT_TRUE(list->CollapseItem(2, false));
  EXPECT_EQ(Column0(), (Strings{"a", "b", "c", "d"}));
  EXPECT_EQ(script.log.back(), "8");
  EXPECT_FALSE(list->GetItemExpanded(2));
}

TEST_F(ListboxPane, ACollapseHandlerRemovingAnEarlierRowCostsNoOtherFolderItsChildren) {
  Make();
  list->SetHierarchical(true);
  for (const char *t : {"x", "f", "g"})
    list->AddRowText(string(t), true);
  script.expand = [&](int32_t) { list->AddRowText(string("kid"), false); };
  list->ExpandItem(2, false);
  list->ExpandItem(1, false);
  ASSERT_EQ(Column0(), (Strings{"x", "f", " kid", "g", " kid"}));
  script.collapse = [&](int32_t) { list->RemoveItem(0); };
  EXPECT_TRUE(list->CollapseItem(3, false));
  EXPECT_EQ(Column0(), (Strings{"f", " kid", "g"})) << "g lost its child, f kept its own";
}

// A tree of random texts, its blocks sorted level by level: the reference.
struct Node {
  std::string text;
  std::vector<Node> children;
};
void Flatten(const std::vector<Node> &nodes, int depth, Strings &out) {
  for (const Node &n : nodes) {
    out.push_back(std::string(depth, ' ') + n.text);
    Flatten(n.children, depth + 1, out);
  }
}
void ReferenceSort(std::vector<Node> &nodes, bool ascending) {
  for (Node &n : nodes)
    ReferenceSort(n.children, ascending);
  std::stable_sort(nodes.begin(), nodes.end(), [&](const Node &a, const Node &b) {
    return ascending ? a.text < b.text : a.text > b.text;
  });
}

TEST_F(ListboxPane, SortingARandomTreeMatchesTheReferenceBothWays) {
  std::mt19937 random(4121);
  for (int round = 0; round < 20; ++round) {
    Make();
    list->SetHierarchical(true);
    std::vector<Node> tree;
    std::function<void(std::vector<Node> &, int)> grow = [&](std::vector<Node> &level, int depth) {
      const int n = 1 + random() % 5;
      for (int i = 0; i < n; ++i) {
        // Distinct texts, so that any correct sort gives one order.
        Node node{std::to_string(random() % 1000) + "-" + std::to_string(level.size()), {}};
        if (depth < 3 && random() % 3 == 0)
          grow(node.children, depth + 1);
        level.push_back(node);
      }
    };
    grow(tree, 0);
    Strings flat;
    Flatten(tree, 0, flat);
    for (const std::string &line : flat) {
      const int32_t indent = static_cast<int32_t>(line.find_first_not_of(' '));
      auto *cell = new CellEntry;
      cell->mText = string(line.c_str() + indent);
      list->AddItem(cell, indent, -1);
    }
    const bool ascending = round % 2 == 0;
    list->SetSortColumnDirection(0, ascending ? 1 : -1, true);
    list->ListboxResort(0);
    ReferenceSort(tree, ascending);
    Strings expected;
    Flatten(tree, 0, expected);
    ASSERT_EQ(Column0(), expected) << "round " << round;
    EXPECT_EQ(list->SortColumn(), 0);
    list->Close();
  }
}

TEST_F(ListboxPane, TextSortIgnoresCaseAndTheSelectionFollowsOneRow) {
  Make();
  Rows({"b", "A", "c", "a"});
  list->SetSortColumnDirection(0, -1, true);
  list->SetSelection(0, false); // "b"
  list->ListboxResort(0);
  EXPECT_EQ(Column0()[0], "c");
  EXPECT_EQ(Column0()[1], "b");
  EXPECT_EQ(list->Selection(), 1) << "the selected row followed its entry";
  const Strings lower{Column0()[2], Column0()[3]};
  EXPECT_TRUE(lower == (Strings{"A", "a"}) || lower == (Strings{"a", "A"}));

  // Two selected rows keep their indexes.
  list->SetSelection(0, false);
  list->setSelected(3, true);
  list->SetSortColumnDirection(0, 1, true);
  list->ListboxResort(0);
  EXPECT_EQ(Column0()[3], "c");
  EXPECT_TRUE(list->getSelected(0) && list->getSelected(3) && list->getSelCount() == 2);
}

TEST_F(ListboxPane, SortingColumnsWithoutADirectionTableOrDuringASortOnlyRedraws) {
  Make();
  Rows({"b", "a"});
  list->StoreSortColumn(0);
  for (int32_t column : {-1, 200, 64})
    list->ListboxResort(column);
  EXPECT_EQ(Column0(), (Strings{"b", "a"}));
  EXPECT_EQ(list->SortColumn(), 0);
  list->SetSortColumnDirection(0, 0, true);
  list->ListboxResort(0);
  EXPECT_EQ(Column0(), (Strings{"b", "a"})) << "SortNone moves nothing";

  // A sort started from a comparison only redraws.
  list->SetSortColumnDirection(0, 1, true);
  int nested = 0;
  script.compare = [&](int32_t, int32_t, int32_t *) {
    ++nested;
    list->ListboxResort(0);
    return 0;
  };
  list->ListboxResort(0);
  EXPECT_EQ(Column0(), (Strings{"a", "b"}));
  EXPECT_GT(nested, 0);
}

TEST_F(ListboxPane, CompareRowsDecidesTiesAndMayRemoveRowsSafely) {
  Make();
  Rows({"x", "y", "z", "w", "v"});
  script.compare = [&](int32_t, int32_t, int32_t *result) {
    *result = 0;
    return 1;
  };
  for (int32_t direction : {1, -1}) {
    list->SetSortColumnDirection(0, direction, true);
    list->ListboxResort(0);
    Strings sorted = Column0();
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(sorted, (Strings{"v", "w", "x", "y", "z"})) << "every row is still there";
  }
  script.compare = [&](int32_t, int32_t, int32_t *) {
    if (list->GetRowCount() > 2)
      list->RemoveItem(0);
    return 0;
  };
  list->ListboxResort(0);
  EXPECT_EQ(list->GetRowCount(), 4) << "the sort stopped when the rows changed";
}

TEST_F(ListboxPane, AZeroDefaultRowHeightMeasuresRowsFromTheFont) {
  control()->defaultRowHeight = 0;
  Make();
  for (int i = 0; i < 50; ++i)
    list->AddRowText(string("row"), false);
  EXPECT_GE(list->GetRowHeight(-1), 8);
  list->MakeSureRowVisible(49);
  list->SetHierarchical(true);
  EXPECT_GE(list->GetRowHeight(-1), 18);
  control()->defaultRowHeight = 23;
  EXPECT_EQ(list->GetRowHeight(-1), 23);
}

// ---- drawing, read back from an offscreen image of the window's size

class ListboxDrawing : public ListboxPane {
protected:
  DrawablePane *Draw() {
    DrawablePane *image = NewOffscreen(400, 260);
    Graphics *g = image->getGraphics();
    list->DrawIntoOffscreen(g);
    Graphics::Release(g);
    return image;
  }
};

TEST_F(ListboxDrawing, TextStartsFourPixelsInAndRightAlignedTextEndsFourPixelsIn) {
  Make(2);
  list->SetColWidthExpression(0, string("150"));
  list->SetColWidthExpression(1, string("*"));
  list->ReCalculateColumnWidths();
  Rows({"MMMM"});
  list->GetItemCell(0, 1, true)->mText = string("MMMM");
  control()->columnAlignments[1] = 3;
  DrawablePane *image = Draw();
  // Content from x = 21; column 1 from 171 to 318; row 0 from y = 21 to 37.
  const QV::Rect left = DarkBounds(image, 21, 21, 150, 16, 100);
  EXPECT_GE(left.left, 21 + 4);
  EXPECT_LE(left.left, 21 + 4 + 2) << "at most the glyph's own bearing";
  const QV::Rect right = DarkBounds(image, 171, 21, 147, 16, 100);
  EXPECT_GE(right.right, 318 - 4 - 2);
  EXPECT_LE(right.right, 318 - 4);
  image->removeReference();
}

TEST_F(ListboxDrawing, GridLinesSkipRowZerosTopAndBorderNoneKeepsALineOff) {
  control()->gridLinesHorizontal = kBorderThinSolid;
  Make();
  Rows({"", "", ""});
  list->SetCellBorderStyle(kBorderBottom, 1, 0, kBorderNone);
  DrawablePane *image = Draw();
  // Rows from y = 21, 16 high: lines on the last pixel row of each row.
  EXPECT_EQ(PixelAt(image, 100, 21 + 16 - 1), 0x000000u);
  EXPECT_EQ(PixelAt(image, 100, 21 + 32 - 1), 0xFFFFFFu) << "BorderNone between rows 1 and 2";
  EXPECT_EQ(PixelAt(image, 100, 21 + 48 - 1), 0x000000u);
  EXPECT_EQ(PixelAt(image, 100, 21), 0xFFFFFFu) << "row 0 has no top edge";
  EXPECT_EQ(list->GetCellBorderThickness(kBorderBottom, 0, 0), 1);
  list->SetCellBorderStyle(kBorderBottom, 0, 0, kBorderDoubleThinSolid);
  EXPECT_EQ(list->GetCellBorderThickness(kBorderBottom, 0, 0), 3);
  QV::Rect cell = list->GetCellBounds(0, 0);
  EXPECT_EQ(list->GetCellContentRect(cell, 0, 0, false).bottom, cell.bottom - 2);
  image->removeReference();
}

TEST_F(ListboxDrawing, SelectedRowsAreFilledOnlyWhileTheListIsEnabled) {
  Make();
  Rows({"", ""});
  list->SetSelection(1, false);
  DrawablePane *image = Draw();
  const uint32_t filled = PixelAt(image, 100, 21 + 16 + 8);
  EXPECT_NE(filled, 0xFFFFFFu);
  EXPECT_EQ(PixelAt(image, 100, 21 + 8), 0xFFFFFFu);
  image->removeReference();
  list->EnablePane(false, false);
  image = Draw();
  EXPECT_EQ(PixelAt(image, 100, 21 + 16 + 8), 0xFFFFFFu);
  image->removeReference();
}

TEST_F(ListboxDrawing, HierarchicalTextIsIndentedAndTheTriangleStaysPut) {
  Make();
  list->SetHierarchical(true);
  control()->defaultRowHeight = 18;
  list->AddRowText(string("M"), true);
  script.expand = [&](int32_t) { list->AddRowText(string("M"), true); };
  list->ExpandItem(0, false);
  DrawablePane *image = Draw();
  // Depth 0 text at 21 + 20, depth 1 at 21 + 12 + 20; both triangles from 21 + 4.
  const int16_t depth0 = DarkBounds(image, 21 + 18, 21, 100, 18, 100).left;
  EXPECT_GE(depth0, 21 + 20);
  EXPECT_LE(depth0, 21 + 22);
  EXPECT_EQ(DarkBounds(image, 21 + 18, 21 + 18, 100, 18, 100).left, depth0 + 12);
  for (int row = 0; row < 2; ++row) {
    const QV::Rect triangle = DarkBounds(image, 21, 21 + 18 * row, 18, 18, 100);
    EXPECT_GE(triangle.left, 21 + 4) << row;
    EXPECT_LE(triangle.right, 21 + 16) << row;
  }
  image->removeReference();
}

TEST_F(ListboxDrawing, CellTextPaintAnsweringTrueHidesTheText) {
  Make();
  Rows({"MMMM"});
  script.textPaint = [](int32_t, int32_t) { return 1; };
  DrawablePane *image = Draw();
  EXPECT_EQ(DarkBounds(image, 21, 21, 200, 16, 100).right, 0);
  image->removeReference();
}

TEST_F(ListboxDrawing, PaintEventsMayRemoveRowsOrCloseTheWindow) {
  Make(3);
  Rows({"a", "b", "c", "d"});
  for (int32_t r = 0; r < 4; ++r)
    list->GetItemCell(r, 2, true)->mText = string("x");
  script.backgroundPaint = [&](int32_t, int32_t) {
    if (list->GetRowCount() > 1)
      list->RemoveItem(list->GetRowCount() - 1);
    return 0;
  };
  DrawablePane *image = Draw();
  image->removeReference();
  EXPECT_EQ(list->GetRowCount(), 1);

  script.backgroundPaint = nullptr;
  script.textPaint = [&](int32_t, int32_t) {
    if (w) {
      RecordingWindow *closing = w;
      w = nullptr;
      closing->Close();
    }
    return 0;
  };
  list->Lock(); // the test's own hold, so that the pane can be drawn once more
  image = Draw();
  image->removeReference();
  list->Unlock();
  EXPECT_EQ(w, nullptr);
}

} // namespace
