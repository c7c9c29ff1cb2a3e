// The fix-up stream of an application image: imports of runtime entry points
// and of shared-library functions, and the section addresses that the code
// holds as offsets. Every site lies in the code section.
#pragma once
#include <cstdint>
#include <string>

#include "ImageFormat.h"

// The loaded sections that fix-ups patch and point into.
struct LoadedSections {
  uint8_t *code;
  uint32_t codeSize;
  uint8_t *data;
  uint32_t dataSize;
};

// Applies the stream (records as ImageFormat.h lays them out) record by record. An import that
// cannot be bound (a name the export table lacks, a library that does not open, a symbol it lacks)
// is reported with the assertion alert and its sites are bound to a trap that reports the call. A
// damaged stream (a record cut short, a site outside the code or patched twice, a string constant
// outside the data, off a 4-byte boundary, with a count below 1, longer than its buffer or without
// the 0 byte after its text) stops the walk: the answer is false and problem says what was wrong.
bool ApplyImportTable(const uint8_t *stream, uint32_t size, const LoadedSections &sections,
                      std::string &problem);
