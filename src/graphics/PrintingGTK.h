// Printing on GTK+'s print system. A job draws each page into an offscreen
// PrintPane the size of the printable area at the job's resolution; each
// finished page is read back and placed on the paper as one RGB image.
// GTKPrintHelper is the one interface the PrinterSetup class uses.
#pragma once
#include <cstdint>
#include <functional>

#include "graphics/DrawablePaneGTK.h"

struct RuntimeObject;
struct _GtkPrintJob;
struct _GtkPrintSettings;
struct _GtkPageSetup;
struct _cairo;

class GTKPrintHelper;

class PrintPane : public DrawablePane {
public:
  PrintPane(const QV::Rect &bounds, GTKPrintHelper *helper, int32_t hRes, int32_t vRes);
  // Ends the job: the last page is sent and the job printed.
  ~PrintPane() override;
  void getSize(int32_t *width, int32_t *height) override;
  // Sends the page drawn so far and begins the next; the pane is not cleared.
  void NextPage() override;

  int32_t HorizontalResolution() const { return mHorizontalRes; }
  int32_t VerticalResolution() const { return mVerticalRes; }

private:
  int32_t mHorizontalRes;
  int32_t mVerticalRes;
  GTKPrintHelper *mHelper;
};

class GTKPrintHelper {
public:
  GTKPrintHelper() = default;
  ~GTKPrintHelper();
  GTKPrintHelper(const GTKPrintHelper &) = delete;
  GTKPrintHelper &operator=(const GTKPrintHelper &) = delete;

  // A printing Graphics object (one reference) with its first page begun, or
  // nil when printing is unavailable or the user cancels. setup is the
  // PrinterSetup object whose resolutions limit the job's (may be nil).
  RuntimeObject *OpenPrinterDialog(RuntimeObject *setup, RuntimeObject *parentWindow);
  // The same without a dialog: the default printer, else the print-to-file
  // printer with its default file.
  RuntimeObject *OpenPrinter(RuntimeObject *setup);

  void BeginNewPage();
  void EndCurrentPage();
  // Closes and prints the job of the pane that is going.
  void EndJob(PrintPane *pane);
  // The value of the print information table at index, in dots.
  int32_t GetPrintInformation(int32_t index) const;

  int32_t verticalResolution = 72;
  int32_t horizontalResolution = 72;
  int32_t maxVerticalResolution = 72; // -1: no limit
  int32_t maxHorizontalResolution = 72;

private:
  RuntimeObject *StartJob(RuntimeObject *setup, _GtkPrintJob *job, _GtkPageSetup *pageSetup,
                          int32_t firstPage, int32_t lastPage);
  void ReleaseJob();

  _GtkPrintJob *mJob = nullptr;
  _cairo *mContext = nullptr;
  _GtkPrintSettings *mConfig = nullptr;
  _GtkPageSetup *mPageSetup = nullptr;
  char *mSpoolPath = nullptr; // the job's pages, sent when it ends
  PrintPane *mPrintPane = nullptr;
};

// The resolution a job uses on one axis: the printer's (72 when it gives none
// or 0), lowered to the maximum unless that is -1, then to the PrinterSetup
// object's value when one was passed (limit below 0: none passed).
int32_t ChooseJobResolution(int32_t printerDpi, int32_t maximum, int32_t setupLimit);
// Whether the print system can be used in this process; asked once.
bool LoadGnomePrintLibrary();
// The number the next page is named by; it counts on across jobs.
int32_t NextPrintPageNumber();
// Releases activePrintObject, the PrinterSetup of the job being printed.
void ShutdownPrinter();
// Turns the main loop until done answers true or the milliseconds pass;
// answers done's last answer.
bool RunLoopUntil(const std::function<bool()> &done, unsigned int milliseconds);
// How long the end of a job waits for the print system to report the job
// sent (a minute unless set); after that the job is left to finish alone.
void SetPrintSendBound(unsigned int milliseconds);
