#pragma once
// Handler marker records in the linked code: the catch-all and protected-region
// records that the runtime's unwinder finds by scanning machine code forward
// from a return address.
#include <cstdint>
#include <string>
#include <vector>

#include "ImageFormat.h"

namespace imagelink {

struct CodeFunction {
  std::string name;
  uint32_t start = 0;
  uint32_t size = 0;
};

// What the kit notes beside each handler record: where it lies and the frame
// slot that receives the exception, as the compiler printed it ("-12(%ebp)").
struct HandlerSlotNote {
  uint32_t record = 0;
  std::string slot;
};

// Checks each noted record's bytes and writes its exception-slot offset.
void fillHandlerSlots(std::vector<uint8_t> &code, const std::vector<HandlerSlotNote> &notes,
                      const std::vector<CodeFunction> &functions);

// For every call site of every function that holds a handler record, runs the
// unwinder's scan from the return address over the code as it will be at run
// time and checks that it reaches the record of the region that encloses the
// site. Bytes at patchedSites (rewritten by the loader) are read as zero.
void checkHandlerScans(const std::vector<uint8_t> &code, const std::vector<CodeFunction> &functions,
                       const std::vector<uint32_t> &patchedSites);

// The unwinder's scan from a return address: the offset of the handler record it
// stops at, or -1 when it meets a function end (or leaves the code) first.
int64_t scanForHandler(const std::vector<uint8_t> &code, uint32_t from);

} // namespace imagelink
