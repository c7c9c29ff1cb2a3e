// Finds the handler of a raised exception in the frames of compiled code,
// without tables: it follows the chain of saved frame pointers and scans the
// machine code behind each return address for the marker records that the
// compiler places in front of every handler.
#pragma once
#include <vector>
#include <cstddef>
#include <cstdint>

#include "ImageFormat.h"

struct RuntimeObject;

// A handler record as it lies in compiled code (the marker words and the
// layout are in ImageFormat.h). The jump takes the normal path over the record
// and the handler's first instruction, which resets the stack pointer from a
// frame slot.
struct __attribute__((packed)) HandlerRecord {
  uint8_t jump[5];
  uint32_t marker;
  uint16_t zero;
  // Offset from the frame pointer of the slot that receives the exception;
  // 0 when the handler takes none.
  int16_t slotOffset;
  // The handler's first instruction follows.
};
static_assert(sizeof(HandlerRecord) == IMAGE_HANDLER_RECORD_SIZE);
static_assert(offsetof(HandlerRecord, marker) == IMAGE_MARKER_OFFSET);
static_assert(offsetof(HandlerRecord, zero) == IMAGE_HANDLER_ZERO_OFFSET);
static_assert(offsetof(HandlerRecord, slotOffset) == IMAGE_HANDLER_SLOT_OFFSET);

// Where a handler starts, relative to its record.
constexpr size_t kHandlerEntryOffset = sizeof(HandlerRecord);

// The bounds of the loaded image's code; only code in them is scanned. The
// loader sets them once the code section is in place (nil/0 clears them).
void SetImageCodeRange(const void *start, size_t size);
// The image's code bytes the loader rewrote (one flag per byte). The scan for
// handler records reads them as zero, as the image linker checked it: the
// addresses written there depend on where the runtime and the image's data
// lie, and must not read as jumps or epilogues.
void SetImagePatchedBytes(std::vector<bool> patched);
bool IsImageCode(uintptr_t address);
// The runtime executable's own code: frames returning into it have no
// records and are stepped over without a scan.
bool IsRuntimeCode(uintptr_t address);

// Scans code from `code` for the nearest handler record at nesting depth 0,
// reading nothing at or beyond `end`. Answers nil when the function's end
// (C9 C3 or 5D C3) or `end` comes first, or cuts the record short. A nil
// start shows the alert.
const HandlerRecord *FindHandlerRecord(const uint8_t *code, const uint8_t *end);

// The walk behind both raise entry points. `raiseFrame` is the entry point's
// own frame: its saved frame pointer and the return address into its caller.
// When a handler is found, the exception is stored in its slot with one more
// reference and the return address of the frame just below the handler's is
// replaced by the handler's address; answers true. Answers false when the
// walk ends without a handler: it met a frame pointer that is not on the
// running stack or does not go up by at most 4096 bytes, or a return address
// that is neither the image's code nor the runtime's.
bool ArmNearestHandler(void *raiseFrame, RuntimeObject *exception);

// True while an armed handler has not been entered yet and the frame whose
// return leads into it is `frame` or lies above it. A runtime loop that calls
// several compiled handlers in a row asks this (with its own frame) after
// each call and stops: the exception is on its way to a frame above the loop.
bool ExceptionArmedAbove(const void *frame);

// The frame of the function that asks, for ExceptionArmedAbove.
#define CURRENT_FRAME() __builtin_frame_address(0)

// The armed handler belongs to the stack it was armed on; the thread switch
// keeps one state per cooperative thread.
struct ArmedHandlerState {
  uintptr_t *frame = nullptr;
  uintptr_t handlerFrame = 0;
  uintptr_t handler = 0;
};
ArmedHandlerState SaveArmedHandler();
void RestoreArmedHandler(const ArmedHandlerState &state);
