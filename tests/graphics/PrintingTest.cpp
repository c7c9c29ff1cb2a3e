// Printing through GTK+'s print-to-file printer: jobs with and without the
// dialog, their pages read back from the PDF, and the PrinterSetup values.
#include <gtk/gtk.h>
#include <gtk/gtkunixprint.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

#include "graphics/Graphics.h"
#include "graphics/PrinterSetupObject.h"
#include "graphics/PrintingGTK.h"
#include "graphics/RuntimeGraphics.h"
#include "runtime/objects/ClassLookup.h"
#include "support/CommandOutput.h"
#include "support/OffscreenPixels.h"
#include "support/RunningImage.h"
#include "support/WindowsTestSupport.h"
#include "Within.h"

extern "C" {
RuntimeObject *RuntimeOpenPrinter(RuntimeObject *setup);
RuntimeObject *RuntimeOpenPrinterDialog(RuntimeObject *setup, RuntimeObject *parent);
int32_t printerSetupInfoGetter(RuntimeObject *, int32_t);
void printerSetupMaxResSetter(RuntimeObject *, int32_t, int32_t);
int32_t printerSetupPageSetup(RuntimeObject *, RuntimeObject *);
stringStorage *printerSetupStringGetter(RuntimeObject *, int32_t);
void RuntimeGraphicsFillRect(RuntimeObject *, int32_t, int32_t, int32_t, int32_t);
void RuntimeGraphicsNextPage(RuntimeObject *);
}

namespace fs = std::filesystem;

namespace {

std::string ReadFile(const fs::path &path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

// The page count pdfinfo reads, or -1.
int PageCount(const std::string &pdf) {
  std::string info = CommandOutput("pdfinfo '" + pdf + "' 2>/dev/null");
  size_t at = info.find("Pages:");
  return at == std::string::npos ? -1 : std::atoi(info.c_str() + at + 6);
}

// The number of the first page's label: pages named by numbers in a row
// start at it. Labels equal to the page numbers (1, 2, ...) leave the
// table empty, which reads 1; other labels, or none, read -1.
int FirstPageLabel(const std::string &pdf) {
  std::string bytes = ReadFile(pdf);
  size_t nums = bytes.find("/Nums [");
  size_t end = nums == std::string::npos ? nums : bytes.find("]", nums);
  if (end == std::string::npos)
    return -1;
  if (bytes.find_first_not_of(" \r\n", nums + 7) == end)
    return 1;
  if (bytes.find("/S /D", nums) > end)
    return -1;
  size_t start = bytes.find("/St ", nums);
  return start < end ? std::atoi(bytes.c_str() + start + 4) : 1;
}

bool HavePoppler() { return std::system("command -v pdfinfo pdftoppm >/dev/null 2>&1") == 0; }

// Runs each test in a fresh folder, where the print-to-file printer writes.
class Printing : public testing::Test {
protected:
  void SetUp() override {
    SKIP_WITHOUT_DISPLAY();
    dir = fs::temp_directory_path() / ("printing-" + std::to_string(getpid()) + "-" +
                                       testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir);
    fs::create_directories(dir);
    previous = fs::current_path();
    fs::current_path(dir);
  }
  void TearDown() override {
    if (!previous.empty())
      fs::current_path(previous);
    fs::remove_all(dir);
  }
  // Draws a mark, turns the page, draws a second mark and ends the job.
  static void PrintTwoPages(RuntimeObject *g) {
    RuntimeGraphicsFillRect(g, 0, 0, 40, 40);
    RuntimeGraphicsNextPage(g);
    RuntimeGraphicsFillRect(g, 200, 0, 40, 40);
    RuntimeUnlockObject(g);
  }
  // A page rendered at 72 dpi: its size and its pixels as 0xRRGGBB, row by
  // row; no pixels when it cannot be rendered.
  struct Page {
    int width = 0, height = 0;
    std::vector<uint32_t> pixels;
    uint32_t At(int x, int y) const {
      return x < width && y < height ? pixels[size_t(y) * width + x] : 0xFFFFFFFF;
    }
  };
  Page Render(const fs::path &pdf, int page) {
    Page rendered;
    std::string base = (dir / "page").string();
    std::string command = "pdftoppm -r 72 -f " + std::to_string(page) + " -l " +
                          std::to_string(page) + " -singlefile '" + pdf.string() + "' '" + base +
                          "'";
    if (std::system(command.c_str()) != 0)
      return rendered;
    std::string ppm = ReadFile(base + ".ppm");
    std::istringstream header(ppm);
    std::string magic;
    int w = 0, h = 0, max = 0;
    header >> magic >> w >> h >> max;
    size_t start = static_cast<size_t>(header.tellg()) + 1;
    if (magic != "P6" || w <= 0 || h <= 0 || start + size_t(w) * h * 3 > ppm.size())
      return rendered;
    const auto *p = reinterpret_cast<const unsigned char *>(ppm.data()) + start;
    for (size_t i = 0; i < size_t(w) * h; ++i, p += 3)
      rendered.pixels.push_back((uint32_t(p[0]) << 16) | (uint32_t(p[1]) << 8) | p[2]);
    rendered.width = w;
    rendered.height = h;
    return rendered;
  }
  // The pixel of page at (x, y) of a 72 dpi rendering, as 0xRRGGBB.
  uint32_t PagePixel(const fs::path &pdf, int page, int x, int y) {
    return Render(pdf, page).At(x, y);
  }
  // The pixels darker than mid-grey in [x0, x1) x [y0, y1) of page of a
  // 72 dpi rendering; -1 when it cannot be rendered.
  int DarkPixels(const fs::path &pdf, int page, int x0, int y0, int x1, int y1) {
    Page rendered = Render(pdf, page);
    if (x1 > rendered.width || y1 > rendered.height)
      return -1;
    int dark = 0;
    for (int y = y0; y < y1; ++y)
      for (int x = x0; x < x1; ++x) {
        uint32_t c = rendered.At(x, y);
        dark += ((c >> 16) & 0xFF) + ((c >> 8) & 0xFF) + (c & 0xFF) < 3 * 128;
      }
    return dark;
  }

  fs::path dir, previous;
};

TEST(PrintResolution, ThePrinterIsLimitedByTheMaximaAndTheSetup) {
  struct Case {
    int32_t printer, maximum, setup, expected;
  } cases[] = {{600, 72, -1, 72}, {600, -1, 72, 72}, {600, -1, -1, 600}, {0, 300, -1, 72},
               {-5, -1, -1, 72},  {300, 600, 150, 150}};
  for (const Case &c : cases)
    EXPECT_EQ(ChooseJobResolution(c.printer, c.maximum, c.setup), c.expected)
        << c.printer << " " << c.maximum << " " << c.setup;
}

TEST_F(Printing, AFreshSetupReadsTheDefaultsBeforeAnyJob) {
  RuntimeObject *setup = CreateInstance(PrinterSetupClass());
  ASSERT_NE(setup, nullptr);
  const int32_t expected[12] = {72, 72, 0, 0, 0, 0, 0, 0, 0, 0, 72, 72};
  for (int32_t i = 0; i < 12; ++i)
    EXPECT_EQ(printerSetupInfoGetter(setup, i), expected[i]) << i;
  EXPECT_EQ(printerSetupInfoGetter(setup, 12), 0);
  EXPECT_EQ(printerSetupStringGetter(setup, 0), nullptr);
  printerSetupMaxResSetter(setup, 10, -1);
  printerSetupMaxResSetter(setup, 3, 500); // ignored
  EXPECT_EQ(printerSetupPageSetup(setup, nullptr), 0);
  auto *s = reinterpret_cast<PrinterSetupObject *>(setup);
  EXPECT_EQ(s->maxVerticalResolution, -1);
  EXPECT_EQ(s->maxHorizontalResolution, 72);
  RuntimeUnlockObject(setup);
}

TEST_F(Printing, OpenPrinterWritesTwoPagesThatKeepTheirDrawing) {
  if (!HavePoppler())
    GTEST_SKIP() << "pdfinfo and pdftoppm are needed to read the pages";
  RuntimeObject *setup = CreateInstance(PrinterSetupClass());
  RuntimeObject *g = RuntimeOpenPrinter(setup);
  ASSERT_NE(g, nullptr);
  EXPECT_EQ(activePrintObject, setup);
  EXPECT_EQ(setup->refCount, 2);
  auto *rg = reinterpret_cast<RuntimeGraphics *>(g);
  EXPECT_EQ(rg->firstPage, 0);
  EXPECT_EQ(rg->lastPage, 65535);
  EXPECT_EQ(printerSetupInfoGetter(setup, 0), 72);
  EXPECT_GT(printerSetupInfoGetter(setup, 8), printerSetupInfoGetter(setup, 4));
  PrintTwoPages(g);
  EXPECT_EQ(activePrintObject, nullptr) << "released when the job ends";
  EXPECT_EQ(setup->refCount, 1);

  fs::path pdf;
  for (const auto &entry : fs::directory_iterator(dir))
    if (entry.path().extension() == ".pdf")
      pdf = entry.path();
  ASSERT_FALSE(pdf.empty()) << "the job lands in GTK+'s default file";
  EXPECT_EQ(PageCount(pdf.string()), 2);
  int left = -printerSetupInfoGetter(setup, 6), top = -printerSetupInfoGetter(setup, 7);
  EXPECT_EQ(PagePixel(pdf, 1, left + 20, top + 20) & 0xF0F0F0, 0u) << "first mark, page 1";
  EXPECT_EQ(PagePixel(pdf, 1, left + 220, top + 20), 0xFFFFFFu);
  EXPECT_EQ(PagePixel(pdf, 2, left + 20, top + 20) & 0xF0F0F0, 0u) << "the pane is not cleared";
  EXPECT_EQ(PagePixel(pdf, 2, left + 220, top + 20) & 0xF0F0F0, 0u) << "second mark, page 2";

  // A second job names its pages on from the first.
  int first = FirstPageLabel(pdf.string());
  EXPECT_GT(first, 0);
  fs::remove(pdf);
  g = RuntimeOpenPrinter(nullptr);
  ASSERT_NE(g, nullptr);
  PrintTwoPages(g);
  EXPECT_EQ(FirstPageLabel(pdf.string()), first + 2);
  EXPECT_EQ(activePrintObject, nullptr);
  RuntimeUnlockObject(setup);
}

TEST_F(Printing, AJobNotReportedSentInTimeIsLeftToFinishAlone) {
  if (!HavePoppler())
    GTEST_SKIP() << "pdfinfo is needed to read the pages";
  EXPECT_FALSE(RunLoopUntil([] { return false; }, 10)) << "the wait ends at its bound";
  SetPrintSendBound(0); // the report always comes after the wait
  RuntimeObject *g = RuntimeOpenPrinter(nullptr);
  ASSERT_NE(g, nullptr);
  PrintTwoPages(g);
  SetPrintSendBound(60 * 1000);
  EXPECT_EQ(activePrintObject, nullptr);
  // The print system finishes the file as the main loop turns.
  fs::path pdf;
  EXPECT_TRUE(RunLoopUntil(
      [&] {
        for (const auto &entry : fs::directory_iterator(dir))
          if (entry.path().extension() == ".pdf")
            pdf = entry.path();
        return !pdf.empty() && PageCount(pdf.string()) == 2;
      },
      30 * 1000));
}

// Answers the print dialog once it has found a printer: with OK after
// pointing the print-to-file printer at file, or with Cancel.
struct DialogAnswer {
  std::string file;
  gint response;
  bool chosen = false;
  bool answered = false;
};

gboolean AnswerDialog(gpointer data) {
  auto *answer = static_cast<DialogAnswer *>(data);
  for (GList *l = gtk_window_list_toplevels(); l; l = l->next) {
    if (!GTK_IS_PRINT_UNIX_DIALOG(l->data) || !gtk_widget_get_visible(GTK_WIDGET(l->data)))
      continue;
    auto *dialog = GTK_PRINT_UNIX_DIALOG(l->data);
    if (answer->response == GTK_RESPONSE_OK) {
      // Choose the print-to-file printer and the file, then wait for the
      // dialog to select that printer.
      GtkPrinter *printer = gtk_print_unix_dialog_get_selected_printer(dialog);
      if (!printer || !gtk_printer_is_virtual(printer)) {
        if (!answer->chosen) {
          GtkPrintSettings *settings = gtk_print_unix_dialog_get_settings(dialog);
          gchar *uri = g_filename_to_uri(answer->file.c_str(), nullptr, nullptr);
          gtk_print_settings_set_printer(settings, "Print to File");
          gtk_print_settings_set(settings, GTK_PRINT_SETTINGS_OUTPUT_URI, uri);
          gtk_print_settings_set(settings, GTK_PRINT_SETTINGS_OUTPUT_FILE_FORMAT, "pdf");
          gtk_print_unix_dialog_set_settings(dialog, settings);
          g_free(uri);
          g_object_unref(settings);
          answer->chosen = true;
        }
        return TRUE;
      }
    }
    gtk_dialog_response(GTK_DIALOG(dialog), answer->response);
    answer->answered = true;
    return FALSE;
  }
  return TRUE;
}

TEST_F(Printing, TheDialogPrintsToTheChosenFileAndCancelPrintsNothing) {
  if (!HavePoppler())
    GTEST_SKIP() << "pdfinfo is needed to read the pages";
  fs::path chosen = dir / "chosen.pdf";
  DialogAnswer cancel{chosen.string(), GTK_RESPONSE_CANCEL};
  g_timeout_add(50, AnswerDialog, &cancel);
  EXPECT_EQ(RuntimeOpenPrinterDialog(nullptr, nullptr), nullptr);
  EXPECT_TRUE(cancel.answered);
  EXPECT_EQ(activePrintObject, nullptr);
  EXPECT_TRUE(fs::is_empty(dir));

  DialogAnswer print{chosen.string(), GTK_RESPONSE_OK};
  g_timeout_add(50, AnswerDialog, &print);
  RuntimeObject *g = RuntimeOpenPrinterDialog(nullptr, nullptr);
  ASSERT_NE(g, nullptr);
  auto *rg = reinterpret_cast<RuntimeGraphics *>(g);
  EXPECT_EQ(rg->firstPage, 0) << "no range chosen";
  EXPECT_EQ(rg->lastPage, 65535);
  PrintTwoPages(g);
  ASSERT_TRUE(fs::exists(chosen));
  EXPECT_EQ(PageCount(chosen.string()), 2);
}

// The window's width as the X server has it, or -1.
int WindowWidth(const std::string &window) {
  std::string geometry =
      CommandOutput("xdotool getwindowgeometry --shell " + window + " 2>/dev/null");
  size_t at = geometry.find("WIDTH=");
  return at == std::string::npos ? -1 : std::atoi(geometry.c_str() + at + 6);
}

// A compiled program's print dialog answered from the keyboard: the
// print-to-file printer chosen, the file named, Print pressed. The image
// prints two pages, a mark on each.
TEST_F(Printing, AProgramsDialogAnsweredFromTheKeyboardPrintsItsPages) {
  if (!HavePoppler())
    GTEST_SKIP() << "pdfinfo and pdftoppm are needed to read the pages";
  RunningImage image("print_dialog"); // its folder is this test's, where the file goes
  ASSERT_TRUE(image.Started());
  const std::string dialog = image.WindowTitled("Print Dialog");
  ASSERT_FALSE(dialog.empty()) << "no print dialog";
  const int narrow = WindowWidth(dialog);

  // A click in the printer list's empty part gives it the focus, Home
  // selects its first and only printer, the print-to-file one; the dialog
  // then grows to show the file's name and format.
  bool chosen = false;
  for (int attempt = 0; attempt < 10 && !chosen; ++attempt) {
    XDoTool("windowfocus --sync " + dialog + " mousemove --window " + dialog +
            " 300 250 click 1 key Home");
    chosen = Within(5000, [&] { return WindowWidth(dialog) > narrow; });
  }
  ASSERT_TRUE(chosen) << "the print-to-file printer was not chosen";
  // From the list, Tab reaches the name; Alt+P is Print. Print is pressed
  // again until the dialog goes.
  ASSERT_TRUE(XDoTool("key --delay 100 Tab ctrl+a"));
  ASSERT_TRUE(XDoTool("type --delay 50 marks.pdf"));
  bool pressed = false;
  for (int attempt = 0; attempt < 10 && !pressed; ++attempt) {
    XDoTool("windowfocus --sync " + dialog + " key alt+p");
    pressed = Within(5000, [&] { return WindowWidth(dialog) < 0; });
  }
  ASSERT_TRUE(pressed) << "Print was not pressed";
  ASSERT_TRUE(image.WaitForLine("Printed"));
  EXPECT_EQ(image.WaitForExit(), 0);

  fs::path pdf = dir / "marks.pdf";
  ASSERT_TRUE(fs::exists(pdf)) << "the job goes to the file named in the dialog";
  EXPECT_EQ(PageCount(pdf.string()), 2);
  // The marks lie within the top-left 250 x 150 points whatever the margins:
  // the first at the printable area's left, the second 200 points on.
  EXPECT_GT(DarkPixels(pdf, 1, 0, 0, 150, 150), 0) << "first mark, page 1";
  EXPECT_EQ(DarkPixels(pdf, 1, 150, 0, 350, 150), 0);
  EXPECT_GT(DarkPixels(pdf, 2, 0, 0, 150, 150), 0) << "the pane is not cleared";
  EXPECT_GT(DarkPixels(pdf, 2, 150, 0, 350, 150), 0) << "second mark, page 2";
}

} // namespace
