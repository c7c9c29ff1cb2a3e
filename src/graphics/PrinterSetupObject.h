// The PrinterSetup language object: its print helper and a copy of the
// helper's resolutions, which the print functions read as limits.
#pragma once
#include <cstddef>
#include <cstdint>

#include "runtime/objects/RuntimeObject.h"

class GTKPrintHelper;
struct ObjectDefinition;

struct PrinterSetupObject {
  RuntimeObject header;
  GTKPrintHelper *helper; // owned
  int32_t verticalResolution;
  int32_t horizontalResolution;
  int32_t maxVerticalResolution;
  int32_t maxHorizontalResolution;
};
static_assert(sizeof(PrinterSetupObject) == 44);
static_assert(offsetof(PrinterSetupObject, helper) == 24);
static_assert(offsetof(PrinterSetupObject, verticalResolution) == 28);
static_assert(offsetof(PrinterSetupObject, horizontalResolution) == 32);
static_assert(offsetof(PrinterSetupObject, maxVerticalResolution) == 36);
static_assert(offsetof(PrinterSetupObject, maxHorizontalResolution) == 40);

ObjectDefinition *PrinterSetupClass();
// The PrinterSetup of the job being printed, one reference held; nil when no
// job is open.
extern RuntimeObject *activePrintObject;
