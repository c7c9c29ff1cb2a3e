// Print jobs on GTK+'s print system: the print dialog, the job's cairo
// surface, and each page read back from the print pane and painted onto the
// paper as one RGB image placed by the matrix [W - 2L, 0, 0, H - 2T, L, T]
// (in dots: page width and height, left and top margins).
#include "graphics/PrintingGTK.h"

#include <cairo-pdf.h>
#include <cairo-ps.h>
#include <cairo.h>
#include <cstdio>
#include <functional>
#include <gtk/gtk.h>
#include <gtk/gtkunixprint.h>
#include <unistd.h>

#include "foundation/AssertionAlert.h"
#include "graphics/Graphics.h"
#include "graphics/PrinterSetupObject.h"
#include "graphics/RuntimeGraphics.h"
#include "runtime/loop/WindowInterface.h"
#include "windows/RuntimeWindow.h"

namespace {

constexpr AlertSite kPaneAlert{"GTKPrintHelper", 0, "mPrintPane"};
constexpr AlertSite kContextAlert{"GTKPrintHelper", 0, "gfx"};
constexpr AlertSite kHelperAlert{"PrintPane", 0, "mHelper"};
constexpr const char *kDocumentTitle = "Print Dialog";

int32_t sPageCounter = 1;

// A length of the page setup in points, 0 without one.
double Points(GtkPageSetup *setup, gdouble (*get)(GtkPageSetup *, GtkUnit)) {
  return setup ? get(setup, GTK_UNIT_POINTS) : 0;
}

int32_t Dots(int32_t resolution, double points) {
  return static_cast<int32_t>(resolution * points / 72);
}

int32_t SettingDpi(GtkPrintSettings *settings, const char *key) {
  if (!settings || !gtk_print_settings_has_key(settings, key))
    return 0;
  return gtk_print_settings_get_int(settings, key);
}

// Pages the user chose: 1-based first and last, 0 and 65535 for all.
void ChosenRange(GtkPrintSettings *settings, int32_t *first, int32_t *last) {
  *first = 0;
  *last = 65535;
  if (!settings || gtk_print_settings_get_print_pages(settings) != GTK_PRINT_PAGES_RANGES)
    return;
  gint count = 0;
  GtkPageRange *ranges = gtk_print_settings_get_page_ranges(settings, &count);
  if (ranges && count > 0) {
    *first = ranges[0].start + 1;
    *last = ranges[count - 1].end + 1;
    if (*first == 0 && *last == 0)
      *last = 65535;
  }
  g_free(ranges);
}

// Printers are listed as their backends find them; a backend without its
// server (CUPS) may never finish, so the search gives up after a while and
// the list's late callbacks find it abandoned.
struct PrinterSearch {
  GtkPrinter *chosen = nullptr;
  GtkPrinter *file = nullptr;
  bool finished = false;
  bool abandoned = false;
};

constexpr guint kPrinterSearchMilliseconds = 3000;

gboolean NotePrinter(GtkPrinter *printer, gpointer data) {
  auto *search = static_cast<PrinterSearch *>(data);
  if (search->abandoned)
    return TRUE;
  if (gtk_printer_is_default(printer) && !search->chosen)
    search->chosen = GTK_PRINTER(g_object_ref(printer));
  else if (gtk_printer_is_virtual(printer) && !search->file)
    search->file = GTK_PRINTER(g_object_ref(printer));
  return search->chosen ? TRUE : FALSE;
}

void PrinterSearchDone(gpointer data) {
  auto *search = static_cast<PrinterSearch *>(data);
  search->finished = true;
  if (search->abandoned)
    delete search;
}

gboolean TimedOut(gpointer flag) {
  *static_cast<bool *>(flag) = true;
  return FALSE;
}

// The default printer, else the print-to-file printer (one reference), or nil.
GtkPrinter *FindJobPrinter() {
  auto *search = new PrinterSearch;
  gtk_enumerate_printers(NotePrinter, search, PrinterSearchDone, FALSE);
  RunLoopUntil([search] { return search->finished || search->chosen; },
               kPrinterSearchMilliseconds);
  GtkPrinter *chosen = search->chosen, *file = search->file;
  search->chosen = search->file = nullptr;
  if (search->finished)
    delete search;
  else
    search->abandoned = true;
  if (chosen && file)
    g_object_unref(file);
  return chosen ? chosen : file;
}

// A job's send, which GTK+ reports through a callback that may come after
// the wait for it has given up: the callback then frees the state.
struct SendState {
  bool done = false;
  bool abandoned = false;
};

void JobSent(GtkPrintJob *, gpointer data, GError *) {
  auto *state = static_cast<SendState *>(data);
  if (state->abandoned)
    delete state;
  else
    state->done = true;
}

guint sSendBoundMilliseconds = 60 * 1000;

GtkWindow *ParentOf(RuntimeObject *window) {
  auto *view = reinterpret_cast<RuntimeView *>(window);
  if (!view || !view->nativeWindow)
    return nullptr;
  GtkWidget *w = view->nativeWindow->GetGtkWindow();
  return w ? GTK_WINDOW(w) : nullptr;
}

} // namespace

bool RunLoopUntil(const std::function<bool()> &done, guint milliseconds) {
  bool timedOut = false;
  guint timer = g_timeout_add(milliseconds, TimedOut, &timedOut);
  while (!done() && !timedOut)
    g_main_context_iteration(nullptr, TRUE);
  if (!timedOut)
    g_source_remove(timer);
  return done();
}

void SetPrintSendBound(guint milliseconds) { sSendBoundMilliseconds = milliseconds; }

int32_t ChooseJobResolution(int32_t printerDpi, int32_t maximum, int32_t setupLimit) {
  int32_t dpi = printerDpi > 0 ? printerDpi : 72;
  if (maximum != -1 && dpi > maximum)
    dpi = maximum;
  if (setupLimit >= 0 && dpi > setupLimit)
    dpi = setupLimit;
  return dpi;
}

bool LoadGnomePrintLibrary() {
  static int sAvailable = -1;
  if (sAvailable < 0)
    sAvailable = gdk_display_get_default() != nullptr && GTK_TYPE_PRINT_UNIX_DIALOG != 0 ? 1 : 0;
  return sAvailable == 1;
}

int32_t NextPrintPageNumber() { return sPageCounter++; }

PrintPane::PrintPane(const QV::Rect &bounds, GTKPrintHelper *helper, int32_t hRes, int32_t vRes)
    : DrawablePane(bounds, 8, 0), mHorizontalRes(hRes), mVerticalRes(vRes), mHelper(helper) {}

PrintPane::~PrintPane() {
  if (mHelper)
    mHelper->EndJob(this);
  mHelper = nullptr;
  ShutdownPrinter();
}

void PrintPane::getSize(int32_t *width, int32_t *height) {
  *width = Bounds().right - Bounds().left;
  *height = Bounds().bottom - Bounds().top;
}

void PrintPane::NextPage() {
  SelectPane();
  if (!mHelper) {
    ShowAlert(kHelperAlert);
    return;
  }
  mHelper->EndCurrentPage();
  mHelper->BeginNewPage();
}

GTKPrintHelper::~GTKPrintHelper() { ReleaseJob(); }

void GTKPrintHelper::ReleaseJob() {
  if (mContext)
    cairo_destroy(mContext);
  if (mJob)
    g_object_unref(mJob);
  if (mConfig)
    g_object_unref(mConfig);
  if (mPageSetup)
    g_object_unref(mPageSetup);
  if (mSpoolPath) {
    unlink(mSpoolPath);
    g_free(mSpoolPath);
  }
  mSpoolPath = nullptr;
  mContext = nullptr;
  mJob = nullptr;
  mConfig = nullptr;
  mPageSetup = nullptr;
}

int32_t GTKPrintHelper::GetPrintInformation(int32_t index) const {
  if (!LoadGnomePrintLibrary())
    return 0;
  int32_t h = horizontalResolution, v = verticalResolution;
  GtkPageSetup *s = mPageSetup;
  switch (index) {
  case 0:
    return v;
  case 1:
    return h;
  case 4:
    return Dots(h, Points(s, gtk_page_setup_get_paper_width)) -
           Dots(h, Points(s, gtk_page_setup_get_right_margin)) -
           Dots(h, Points(s, gtk_page_setup_get_left_margin));
  case 5:
    return Dots(v, Points(s, gtk_page_setup_get_paper_height)) -
           Dots(v, Points(s, gtk_page_setup_get_bottom_margin)) -
           Dots(v, Points(s, gtk_page_setup_get_top_margin));
  case 6:
    return -Dots(h, Points(s, gtk_page_setup_get_left_margin));
  case 7:
    return -Dots(v, Points(s, gtk_page_setup_get_top_margin));
  case 8:
    return Dots(h, Points(s, gtk_page_setup_get_paper_width));
  case 9:
    return Dots(v, Points(s, gtk_page_setup_get_paper_height));
  case 10:
    return maxVerticalResolution;
  case 11:
    return maxHorizontalResolution;
  default:
    return 0; // Left and Top, and any other index
  }
}

RuntimeObject *GTKPrintHelper::StartJob(RuntimeObject *setup, GtkPrintJob *job,
                                        GtkPageSetup *pageSetup, int32_t firstPage,
                                        int32_t lastPage) {
  // The pages go to a file of our own, which the job then sends: PDF, or
  // PostScript where the printer or the chosen file format asks for it.
  const char *format = gtk_print_settings_get(gtk_print_job_get_settings(job),
                                              GTK_PRINT_SETTINGS_OUTPUT_FILE_FORMAT);
  bool postScript = (format && g_strcmp0(format, "ps") == 0) ||
                    (!gtk_printer_accepts_pdf(gtk_print_job_get_printer(job)) &&
                     gtk_printer_accepts_ps(gtk_print_job_get_printer(job)));
  gchar *path = nullptr;
  gint fd = g_file_open_tmp(postScript ? "printjob-XXXXXX.ps" : "printjob-XXXXXX.pdf", &path,
                            nullptr);
  if (fd < 0) {
    g_object_unref(job);
    return nullptr;
  }
  close(fd);
  double paperWidth = gtk_page_setup_get_paper_width(pageSetup, GTK_UNIT_POINTS);
  double paperHeight = gtk_page_setup_get_paper_height(pageSetup, GTK_UNIT_POINTS);
  cairo_surface_t *surface = postScript
                                 ? cairo_ps_surface_create(path, paperWidth, paperHeight)
                                 : cairo_pdf_surface_create(path, paperWidth, paperHeight);
  if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
    cairo_surface_destroy(surface);
    unlink(path);
    g_free(path);
    g_object_unref(job);
    return nullptr;
  }
  ReleaseJob();
  mJob = job;
  mSpoolPath = path;
  mConfig = GTK_PRINT_SETTINGS(g_object_ref(gtk_print_job_get_settings(job)));
  mPageSetup = gtk_page_setup_copy(pageSetup);
  mContext = cairo_create(surface);
  cairo_surface_destroy(surface);

  int32_t setupV = -1, setupH = -1;
  if (setup) {
    setupV = reinterpret_cast<PrinterSetupObject *>(setup)->verticalResolution;
    setupH = reinterpret_cast<PrinterSetupObject *>(setup)->horizontalResolution;
  }
  horizontalResolution = ChooseJobResolution(
      SettingDpi(mConfig, GTK_PRINT_SETTINGS_RESOLUTION_X), maxHorizontalResolution, setupH);
  verticalResolution = ChooseJobResolution(SettingDpi(mConfig, GTK_PRINT_SETTINGS_RESOLUTION_Y),
                                           maxVerticalResolution, setupV);
  int32_t copies = gtk_print_settings_has_key(mConfig, GTK_PRINT_SETTINGS_N_COPIES)
                       ? gtk_print_settings_get_n_copies(mConfig)
                       : 0;

  QV::Rect bounds;
  int32_t w = GetPrintInformation(4), h = GetPrintInformation(5);
  QV::SetRect(&bounds, 0, 0, static_cast<int16_t>(w < 1 ? 1 : w > 32767 ? 32767 : w),
              static_cast<int16_t>(h < 1 ? 1 : h > 32767 ? 32767 : h));
  auto *pane = new PrintPane(bounds, this, horizontalResolution, verticalResolution);
  Graphics *context = pane->getGraphics();
  context->SetPrinting(true);
  context->SetOwnsPane(true);
  mPrintPane = pane;
  RuntimeObject *object = NewGraphicsObject(context);
  if (!object)
    return nullptr; // the context and its pane are gone: the job ended with them
  auto *g = reinterpret_cast<RuntimeGraphics *>(object);
  g->copies = copies;
  g->firstPage = firstPage;
  g->lastPage = lastPage;
  BeginNewPage();
  return object;
}

RuntimeObject *GTKPrintHelper::OpenPrinterDialog(RuntimeObject *setup,
                                                 RuntimeObject *parentWindow) {
  if (!LoadGnomePrintLibrary())
    return nullptr;
  GtkWidget *dialog = gtk_print_unix_dialog_new(kDocumentTitle, ParentOf(parentWindow));
  gtk_print_unix_dialog_set_manual_capabilities(
      GTK_PRINT_UNIX_DIALOG(dialog),
      GtkPrintCapabilities(GTK_PRINT_CAPABILITY_COPIES | GTK_PRINT_CAPABILITY_PAGE_SET));
  if (mConfig)
    gtk_print_unix_dialog_set_settings(GTK_PRINT_UNIX_DIALOG(dialog), mConfig);
  gtk_widget_show(dialog);
  gint response = gtk_dialog_run(GTK_DIALOG(dialog));
  GtkPrinter *printer = gtk_print_unix_dialog_get_selected_printer(GTK_PRINT_UNIX_DIALOG(dialog));
  if ((response != GTK_RESPONSE_OK && response != GTK_RESPONSE_APPLY) || !printer) {
    gtk_widget_destroy(dialog);
    return nullptr;
  }
  GtkPrintSettings *settings = gtk_print_unix_dialog_get_settings(GTK_PRINT_UNIX_DIALOG(dialog));
  GtkPageSetup *pageSetup = gtk_print_unix_dialog_get_page_setup(GTK_PRINT_UNIX_DIALOG(dialog));
  GtkPrintJob *job = gtk_print_job_new(kDocumentTitle, printer, settings, pageSetup);
  int32_t first, last;
  ChosenRange(settings, &first, &last);
  g_object_unref(settings);
  RuntimeObject *graphics = StartJob(setup, job, pageSetup, first, last);
  gtk_widget_destroy(dialog);
  return graphics;
}

RuntimeObject *GTKPrintHelper::OpenPrinter(RuntimeObject *setup) {
  if (!LoadGnomePrintLibrary())
    return nullptr;
  GtkPrinter *printer = FindJobPrinter();
  RuntimeObject *result = nullptr;
  if (printer) {
    GtkPrintSettings *settings = mConfig ? gtk_print_settings_copy(mConfig)
                                         : gtk_print_settings_new();
    GtkPageSetup *pageSetup = gtk_page_setup_new();
    GtkPrintJob *job = gtk_print_job_new(kDocumentTitle, printer, settings, pageSetup);
    g_object_unref(settings);
    result = StartJob(setup, job, pageSetup, 0, 65535);
    g_object_unref(pageSetup);
  }
  if (printer)
    g_object_unref(printer);
  return result;
}

void GTKPrintHelper::BeginNewPage() {
  char name[16];
  std::snprintf(name, sizeof name, "%d", NextPrintPageNumber());
  if (mContext && cairo_surface_get_type(cairo_get_target(mContext)) == CAIRO_SURFACE_TYPE_PDF)
    cairo_pdf_surface_set_page_label(cairo_get_target(mContext), name);
}

void GTKPrintHelper::EndCurrentPage() {
  if (!mPrintPane) {
    ShowAlert(kPaneAlert);
    return;
  }
  GdkPixmap *pixmap = mPrintPane->GetPixmap();
  if (!pixmap) {
    ShowAlert(kContextAlert);
    return;
  }
  int32_t width = 0, height = 0;
  mPrintPane->getSize(&width, &height);
  GdkPixbuf *pixels = gdk_pixbuf_get_from_drawable(nullptr, pixmap,
                                                   gdk_drawable_get_colormap(pixmap), 0, 0, 0, 0,
                                                   width, height);
  if (!pixels || !mContext) {
    if (pixels)
      g_object_unref(pixels);
    return;
  }
  double left = -GetPrintInformation(6), top = -GetPrintInformation(7);
  double pageWidth = GetPrintInformation(8), pageHeight = GetPrintInformation(9);
  cairo_t *cr = mContext;
  cairo_save(cr);
  // The surface is in points; the matrix is in dots.
  cairo_scale(cr, 72.0 / horizontalResolution, 72.0 / verticalResolution);
  cairo_translate(cr, left, top);
  cairo_scale(cr, (pageWidth - 2 * left) / width, (pageHeight - 2 * top) / height);
  gdk_cairo_set_source_pixbuf(cr, pixels, 0, 0);
  cairo_paint(cr);
  cairo_restore(cr);
  g_object_unref(pixels);
  cairo_show_page(cr);
}

void GTKPrintHelper::EndJob(PrintPane *pane) {
  if (pane != mPrintPane)
    return;
  EndCurrentPage();
  mPrintPane = nullptr;
  if (!mJob)
    return;
  cairo_surface_finish(cairo_get_target(mContext));
  cairo_destroy(mContext);
  mContext = nullptr;
  if (gtk_print_job_set_source_file(mJob, mSpoolPath, nullptr)) {
    auto *state = new SendState;
    gtk_print_job_send(mJob, JobSent, state, nullptr);
    if (RunLoopUntil([state] { return state->done; }, sSendBoundMilliseconds))
      delete state;
    else
      state->abandoned = true;
  }
  g_object_unref(mJob);
  mJob = nullptr;
  unlink(mSpoolPath);
  g_free(mSpoolPath);
  mSpoolPath = nullptr;
}
