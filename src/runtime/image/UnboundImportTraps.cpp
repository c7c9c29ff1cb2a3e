#include "runtime/image/UnboundImportTraps.h"

#include <cstring>
#include <string>

#include "foundation/AssertionAlert.h"
#include "runtime/image/ExecutableMemoryPosix.h"

namespace {

// push ebp; mov ebp, esp; and esp, -16; sub esp, 12; push imm32 (name);
// mov eax, imm32 (UnboundImportCalled); call eax; leave; ret; padding.
// The caller's arguments stay where they are, so any calling convention the
// caller cleans up after survives. The trap keeps a frame the unwinder can
// walk and realigns the stack to the 16 bytes the runtime's code may rely on
// (SSE spills, the sanitizer's frames), whatever the caller left it at.
constexpr uint8_t kTrapTemplate[] = {0x55,                      // push ebp
                                     0x89, 0xE5,                // mov ebp, esp
                                     0x83, 0xE4, 0xF0,          // and esp, -16
                                     0x83, 0xEC, 0x0C,          // sub esp, 12
                                     0x68, 0,    0,    0,    0, // push name
                                     0xB8, 0,    0,    0,    0, // mov eax, UnboundImportCalled
                                     0xFF, 0xD0,                // call eax
                                     0xC9,                      // leave
                                     0xC3,                      // ret
                                     0x90, 0x90, 0x90, 0x90, 0x90, 0x90, 0x90, 0x90, 0x90};
constexpr size_t kTrapSize = 32;
static_assert(sizeof(kTrapTemplate) == kTrapSize);
constexpr size_t kTrapNameOffset = 10;
constexpr size_t kTrapTargetOffset = 15;
constexpr size_t kTrapsPerBlock = 256;

uint8_t *sTrapBlock = nullptr;
size_t sTrapsUsedInBlock = kTrapsPerBlock;

uint8_t *NextTrapSlot() {
  if (sTrapsUsedInBlock == kTrapsPerBlock) {
    sTrapBlock = static_cast<uint8_t *>(AllocateExecutableMemory(kTrapSize * kTrapsPerBlock));
    if (!sTrapBlock)
      return nullptr;
    sTrapsUsedInBlock = 0;
  }
  return sTrapBlock + kTrapSize * sTrapsUsedInBlock++;
}

} // namespace

void *MakeUnboundImportTrap(const char *functionName) {
  uint8_t *trap = NextTrapSlot();
  if (!trap)
    return nullptr;
  const char *name = strdup(functionName);
  auto target = reinterpret_cast<uint32_t>(&UnboundImportCalled);
  auto nameAddress = reinterpret_cast<uint32_t>(name);
  std::memcpy(trap, kTrapTemplate, kTrapSize);
  std::memcpy(trap + kTrapNameOffset, &nameAddress, 4);
  std::memcpy(trap + kTrapTargetOffset, &target, 4);
  return trap;
}

extern "C" uint64_t UnboundImportCalled(const char *functionName) {
  std::string message = std::string("Function '") + functionName +
                        "' was called but could not be bound when the program was loaded";
  ShowAlert({__FILE__, __LINE__, "boundFunction"}, message.c_str());
  return 0;
}
