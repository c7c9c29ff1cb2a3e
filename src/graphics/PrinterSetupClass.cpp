// The PrinterSetup class of the language and the OpenPrinter and
// OpenPrinterDialog functions. The object owns one GTKPrintHelper and keeps a
// copy of its resolutions, which the print functions read as limits.
#include <cstddef>

#include "foundation/AssertionAlert.h"
#include "graphics/PrinterSetupObject.h"
#include "graphics/PrintingGTK.h"
#include "graphics/RuntimeGraphics.h"
#include "language/ClassBuilding.h"
#include "runtime/objects/ClassLookup.h"
#include "runtime/objects/SimplePropertyTypes.h"
#include "windows/RuntimeWindow.h"

RuntimeObject *activePrintObject = nullptr;

namespace {

constexpr char kPrinterSource[] = "PrinterSetup";
constexpr AlertSite kObjectAlert{kPrinterSource, 0, "obj"};
constexpr AlertSite kHelperAlert{kPrinterSource, 0, "obj->mHelper"};
constexpr AlertSite kActiveAlert{kPrinterSource, 0, "activePrintObject"};
constexpr AlertSite kActiveHelperAlert{kPrinterSource, 0, "activePrintObject->mHelper"};

PrinterSetupObject *AsSetup(RuntimeObject *object) {
  return reinterpret_cast<PrinterSetupObject *>(object);
}

// The object's helper, alerting when either is missing.
GTKPrintHelper *HelperOf(RuntimeObject *object) {
  if (!object) {
    ShowAlert(kObjectAlert);
    return nullptr;
  }
  GTKPrintHelper *helper = AsSetup(object)->helper;
  if (!helper)
    ShowAlert(kHelperAlert);
  return helper;
}

void Construct(RuntimeObject *object) {
  PrinterSetupObject *s = AsSetup(object);
  s->helper = new GTKPrintHelper;
  s->verticalResolution = s->horizontalResolution = 72;
  s->maxVerticalResolution = s->maxHorizontalResolution = 72;
}

void Destruct(RuntimeObject *object) {
  PrinterSetupObject *s = AsSetup(object);
  GTKPrintHelper *helper = s->helper;
  s->helper = nullptr;
  delete helper;
}

// Makes setup (or a new PrinterSetup) the active print object and asks its
// helper for a job; a job that does not start releases it again.
template <typename Open>
RuntimeObject *OpenJob(RuntimeObject *setup, const char *message, Open open) {
  RuntimeObject *active = setup;
  if (active)
    RuntimeLockObject(active);
  else
    active = CreateInstance(PrinterSetupClass());
  ShutdownPrinter();
  activePrintObject = active;
  if (!activePrintObject) {
    ShowAlert(kActiveAlert, message);
    return nullptr;
  }
  GTKPrintHelper *helper = AsSetup(activePrintObject)->helper;
  if (!helper) {
    ShowAlert(kActiveHelperAlert, message);
    ShutdownPrinter();
    return nullptr;
  }
  RuntimeObject *graphics = open(helper);
  if (!graphics)
    ShutdownPrinter();
  return graphics;
}

} // namespace

void ShutdownPrinter() {
  RuntimeObject *active = activePrintObject;
  activePrintObject = nullptr;
  RuntimeUnlockObject(active);
}

extern "C" {

int32_t printerSetupInfoGetter(RuntimeObject *object, int32_t index) {
  GTKPrintHelper *helper = HelperOf(object);
  return helper ? helper->GetPrintInformation(index) : 0;
}

void printerSetupMaxResSetter(RuntimeObject *object, int32_t index, int32_t value) {
  GTKPrintHelper *helper = HelperOf(object);
  if (!helper)
    return;
  if (index == 10)
    helper->maxVerticalResolution = value;
  else if (index == 11)
    helper->maxHorizontalResolution = value;
}

void printerSetupResSetter(RuntimeObject *object, int32_t index, int32_t value) {
  GTKPrintHelper *helper = HelperOf(object);
  if (!helper)
    return;
  if (index == 0)
    helper->verticalResolution = value;
  else if (index == 1)
    helper->horizontalResolution = value;
}

stringStorage *printerSetupStringGetter(RuntimeObject *object, int32_t) {
  HelperOf(object);
  return nullptr;
}

void printerSetupStringSetter(RuntimeObject *object, int32_t, stringStorage *) { HelperOf(object); }

// No page-setup dialog on this platform: the helper's values are copied.
int32_t printerSetupPageSetup(RuntimeObject *object, RuntimeObject *) {
  GTKPrintHelper *helper = HelperOf(object);
  if (!helper)
    return 0;
  PrinterSetupObject *s = AsSetup(object);
  s->verticalResolution = helper->verticalResolution;
  s->horizontalResolution = helper->horizontalResolution;
  s->maxVerticalResolution = helper->maxVerticalResolution;
  s->maxHorizontalResolution = helper->maxHorizontalResolution;
  return 0;
}

RuntimeObject *RuntimeOpenPrinterDialog(RuntimeObject *setup, RuntimeObject *parentWindow) {
  return OpenJob(setup, "There's no GTKPrintHelper!", [&](GTKPrintHelper *helper) {
    return helper->OpenPrinterDialog(setup, parentWindow);
  });
}

RuntimeObject *RuntimeOpenPrinter(RuntimeObject *setup) {
  return OpenJob(setup, nullptr,
                 [&](GTKPrintHelper *helper) { return helper->OpenPrinter(setup); });
}

} // extern "C"

namespace {

#define INFO_PROPERTY(name, index)                                                                 \
  {                                                                                                \
    kConsoleAvailableFlag, name, &integerType.type, EntryCode(printerSetupInfoGetter),             \
        "printerSetupInfoGetter", nullptr, nullptr, index, 0                                       \
  }
#define MAX_PROPERTY(name, index)                                                                  \
  {                                                                                                \
    kConsoleAvailableFlag, name, &integerType.type, EntryCode(printerSetupInfoGetter),             \
        "printerSetupInfoGetter", EntryCode(printerSetupMaxResSetter), "printerSetupMaxResSetter", \
        index, 0                                                                                   \
  }

} // namespace

ObjectDefinition *PrinterSetupClass() {
  static ObjectDefinition defn;
  if (!defn.className.IsEmpty())
    return &defn;
  static ObjectInstanceTemplate sProperties[] = {
      INFO_PROPERTY("VerticalResolution", 0),
      INFO_PROPERTY("HorizontalResolution", 1),
      INFO_PROPERTY("Left", 2),
      INFO_PROPERTY("Top", 3),
      INFO_PROPERTY("Width", 4),
      INFO_PROPERTY("Height", 5),
      INFO_PROPERTY("PageLeft", 6),
      INFO_PROPERTY("PageTop", 7),
      INFO_PROPERTY("PageWidth", 8),
      INFO_PROPERTY("PageHeight", 9),
      MAX_PROPERTY("MaxVerticalResolution", 10),
      MAX_PROPERTY("MaxHorizontalResolution", 11),
      {kConsoleAvailableFlag, "SetupString", &stringType.type, EntryCode(printerSetupStringGetter),
       "printerSetupStringGetter", EntryCode(printerSetupStringSetter), "printerSetupStringSetter",
       0, 0},
  };
  static MethodParameter sWindow[] = {{"window", WindowBaseClass()->AsType(), 0, {}, 1, {}, 0, {}}};
  PropertyMethod methods[] = {{"PageSetupDialog",
                               &booleanType.type,
                               sWindow,
                               1,
                               {{EntryCode(printerSetupPageSetup), "printerSetupPageSetup", {}}, {}},
                               kPlainMethod,
                               kConsoleAvailableFlag,
                               0}};
  DefineBuiltinClass(defn, {"PrinterSetup", sizeof(PrinterSetupObject), Construct, Destruct, true},
                     sProperties, 13, methods, 1);
  return &defn;
}
