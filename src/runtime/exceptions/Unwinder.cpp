#include "runtime/exceptions/Unwinder.h"

#include <cstring>
#include <utility>
#include <vector>

#include "foundation/AssertionAlert.h"
#include "runtime/exceptions/StackBounds.h"
#include "runtime/objects/RuntimeObject.h"

// The runtime executable's code, from the linker's symbols.
extern "C" char __executable_start[];
extern "C" char etext[];

namespace {

constexpr uint8_t kNearJump = IMAGE_NEAR_JUMP;
constexpr uint8_t kShortJump = 0xEB;
constexpr uint8_t kLeave = 0xC9;
constexpr uint8_t kPopFramePointer = 0x5D;
constexpr uint8_t kReturn = 0xC3;

// A jump followed by a marker word ends this far in.
constexpr ptrdiff_t kMarkerEnd = IMAGE_MARKER_OFFSET + sizeof(uint32_t);

// A frame's caller may lie at most this far above it.
constexpr uintptr_t kLargestFrame = 4096;

uintptr_t sImageCodeStart = 0;
uintptr_t sImageCodeEnd = 0;
std::vector<bool> sPatchedBytes;

// A code byte as the scan reads it: zero where the loader patched the image.
uint8_t ScanByte(const uint8_t *p) {
  const auto address = reinterpret_cast<uintptr_t>(p);
  if (address >= sImageCodeStart && address < sImageCodeEnd &&
      address - sImageCodeStart < sPatchedBytes.size() && sPatchedBytes[address - sImageCodeStart])
    return 0;
  return *p;
}

uint32_t ScanWord(const uint8_t *p) {
  return ScanByte(p) | (ScanByte(p + 1) << 8) | (ScanByte(p + 2) << 16) |
         (uint32_t(ScanByte(p + 3)) << 24);
}

// The frame whose return address was last rewritten, its saved frame pointer
// (the handler's frame) and the handler address written; the frame still
// holds both words until it returns.
uintptr_t *sArmedFrame = nullptr;
uintptr_t sArmedHandlerFrame = 0;
uintptr_t sArmedHandler = 0;

uint32_t ReadWord(const uint8_t *p) {
  uint32_t word;
  std::memcpy(&word, p, sizeof word);
  return word;
}

// A frame's saved frame pointer leads to its caller's frame only when it goes
// up, by no more than a frame can hold, and stays on the running stack with
// room for the two words the walk reads there.
bool CallerFrameIsSound(uintptr_t frame, uintptr_t caller, const StackBounds &stack) {
  return caller > frame && caller - frame <= kLargestFrame &&
         stack.contains(caller, 2 * sizeof(uintptr_t));
}

} // namespace

void SetImageCodeRange(const void *start, size_t size) {
  sImageCodeStart = reinterpret_cast<uintptr_t>(start);
  sImageCodeEnd = start ? sImageCodeStart + size : 0;
  sPatchedBytes.clear();
}

void SetImagePatchedBytes(std::vector<bool> patched) { sPatchedBytes = std::move(patched); }

bool IsImageCode(uintptr_t address) {
  return address >= sImageCodeStart && address < sImageCodeEnd;
}

bool IsRuntimeCode(uintptr_t address) {
  return address >= reinterpret_cast<uintptr_t>(__executable_start) &&
         address < reinterpret_cast<uintptr_t>(etext);
}

const HandlerRecord *FindHandlerRecord(const uint8_t *code, const uint8_t *end) {
  const uint8_t *ptr = code;
  if (!RUNTIME_CHECK(ptr))
    return nullptr;
  int depth = 0;
  while (ptr + 1 < end) {
    if ((ScanByte(ptr) == kLeave || ScanByte(ptr) == kPopFramePointer) && ScanByte(ptr + 1) == kReturn)
      return nullptr;
    if ((ScanByte(ptr) == kNearJump || ScanByte(ptr) == kShortJump) && end - ptr >= kMarkerEnd) {
      switch (ScanWord(ptr + IMAGE_MARKER_OFFSET)) {
      case IMAGE_HANDLER_MARKER:
        if (depth == 0)
          // The caller reads the whole record, slot offset included; a
          // record that the code's end cuts short is no handler.
          return end - ptr >= ptrdiff_t(sizeof(HandlerRecord))
                     ? reinterpret_cast<const HandlerRecord *>(ptr)
                     : nullptr;
        ++ptr;
        continue;
      case IMAGE_REGION_START_MARKER:
        ++depth;
        ++ptr;
        continue;
      case IMAGE_REGION_END_MARKER:
        if (depth > 0)
          --depth;
        ++ptr;
        continue;
      default:
        ptr += ScanByte(ptr) == kNearJump ? 5 : 2;
        continue;
      }
    }
    ++ptr;
  }
  return nullptr;
}

bool ArmNearestHandler(void *raiseFrame, RuntimeObject *exception) {
  const StackBounds stack = WalkableStack();
  uintptr_t frame = reinterpret_cast<uintptr_t>(raiseFrame);
  for (;;) {
    auto *words = reinterpret_cast<uintptr_t *>(frame);
    const uintptr_t caller = words[0];
    const uintptr_t returnAddress = words[1];
    if (!CallerFrameIsSound(frame, caller, stack))
      return false;
    if (IsImageCode(returnAddress)) {
      const HandlerRecord *record =
          FindHandlerRecord(reinterpret_cast<const uint8_t *>(returnAddress),
                            reinterpret_cast<const uint8_t *>(sImageCodeEnd));
      if (record) {
        if (record->slotOffset != 0) {
          // The slot lies in the handler's frame, above the frames being
          // left; anything else is not a slot of compiled code.
          const uintptr_t slot = caller + record->slotOffset;
          if (slot < frame + 2 * sizeof(uintptr_t) || !stack.contains(slot, sizeof(uintptr_t)))
            return false;
          *reinterpret_cast<RuntimeObject **>(slot) = exception;
          RuntimeLockObject(exception);
        }
        sArmedFrame = words;
        sArmedHandlerFrame = caller;
        sArmedHandler = reinterpret_cast<uintptr_t>(record) + kHandlerEntryOffset;
        words[1] = sArmedHandler;
        return true;
      }
    } else if (!IsRuntimeCode(returnAddress)) {
      // Library code (without frame pointers) or garbage: the chain cannot be
      // trusted beyond this frame.
      return false;
    }
    frame = caller;
  }
}

bool ExceptionArmedAbove(const void *frame) {
  const auto armed = reinterpret_cast<uintptr_t>(sArmedFrame);
  if (!armed || armed < reinterpret_cast<uintptr_t>(frame) ||
      !WalkableStack().contains(armed, 2 * sizeof(uintptr_t)))
    return false;
  return sArmedFrame[0] == sArmedHandlerFrame && sArmedFrame[1] == sArmedHandler;
}

ArmedHandlerState SaveArmedHandler() { return {sArmedFrame, sArmedHandlerFrame, sArmedHandler}; }

void RestoreArmedHandler(const ArmedHandlerState &state) {
  sArmedFrame = state.frame;
  sArmedHandlerFrame = state.handlerFrame;
  sArmedHandler = state.handler;
}
