#include "runtime/UnboundImportTraps.h"

#include <cstring>
#include <string>

#include "runtime/AssertionAlert.h"
#include "runtime/ExecutableMemoryPosix.h"

namespace {

// push imm32 (name); mov eax, imm32 (UnboundImportCalled); call eax;
// add esp, 4; ret. The caller's arguments stay where they are, so any
// calling convention the caller cleans up after survives.
constexpr uint8_t kTrapTemplate[] = {0x68, 0, 0, 0, 0, 0xB8, 0, 0, 0, 0,
                                     0xFF, 0xD0, 0x83, 0xC4, 0x04, 0xC3};
constexpr size_t kTrapSize = 16;
static_assert(sizeof(kTrapTemplate) == kTrapSize);
constexpr size_t kTrapNameOffset = 1;
constexpr size_t kTrapTargetOffset = 6;
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
  DisplayRuntimeErrorAlert(kAssertionCode, kAssertionNumber, __FILE__, __LINE__, "boundFunction",
                           message.c_str());
  return 0;
}
