#include "HandlerRecords.h"

#include <algorithm>
#include <cstdio>
#include <optional>

#include "InstructionLength.h"
#include "LinkError.h"
#include "LittleEndian.h"

namespace imagelink {

namespace {

// A jump followed by a marker word ends this far in.
constexpr uint32_t kMarkerEnd = IMAGE_MARKER_OFFSET + 4;
// The unwinder also finds markers behind short jumps.
constexpr uint8_t kShortJump = 0xEB;

std::string offsetText(uint32_t value) {
  char text[16];
  std::snprintf(text, sizeof text, "+0x%x", value);
  return text;
}

const CodeFunction *functionAt(const std::vector<CodeFunction> &functions, uint32_t offset) {
  for (const CodeFunction &f : functions)
    if (offset >= f.start && offset < f.start + std::max<uint32_t>(f.size, 1))
      return &f;
  return nullptr;
}

std::string placeName(const std::vector<CodeFunction> &functions, uint32_t offset) {
  const CodeFunction *f = functionAt(functions, offset);
  return f ? f->name + offsetText(offset - f->start) : "code" + offsetText(offset);
}

bool hasBytes(const std::vector<uint8_t> &code, uint32_t at,
              std::initializer_list<uint8_t> expected) {
  if (uint64_t(at) + expected.size() > code.size())
    return false;
  return std::equal(expected.begin(), expected.end(), code.begin() + at);
}

// "-12(%ebp)" -> -12; the only form gcc prints for a frame slot.
std::optional<int16_t> parseFrameSlot(const std::string &text) {
  int offset = 0, consumed = 0;
  if (std::sscanf(text.c_str(), "%d(%%ebp)%n", &offset, &consumed) != 1 ||
      consumed != int(text.size()))
    return std::nullopt;
  if (offset == 0 || offset < INT16_MIN || offset > INT16_MAX)
    return std::nullopt;
  return int16_t(offset);
}

std::optional<uint32_t> markerAt(const std::vector<uint8_t> &code, uint32_t at) {
  if (uint64_t(at) + kMarkerEnd > code.size() || code[at] != IMAGE_NEAR_JUMP)
    return std::nullopt;
  uint32_t marker = readLE32(&code[at + IMAGE_MARKER_OFFSET]);
  if (marker == IMAGE_HANDLER_MARKER || marker == IMAGE_REGION_START_MARKER ||
      marker == IMAGE_REGION_END_MARKER)
    return marker;
  return std::nullopt;
}

void checkRecordBytes(const std::vector<uint8_t> &code, uint32_t at, uint32_t marker,
                      const std::vector<CodeFunction> &functions) {
  const std::string where = "handler record at " + placeName(functions, at);
  // markerAt found the jump opcode and the marker word; the distance follows the opcode.
  const uint32_t jump = readLE32(&code[at + 1]);
  if (marker == IMAGE_HANDLER_MARKER) {
    if (jump != IMAGE_HANDLER_JUMP_DISTANCE ||
        !hasBytes(code, at + IMAGE_HANDLER_ZERO_OFFSET, {0x00, 0x00}))
      throw LinkError(where + " does not begin with a jump of " +
                      std::to_string(IMAGE_HANDLER_JUMP_DISTANCE) + ", its marker and a zero word");
    if (!hasBytes(code, at + IMAGE_HANDLER_RECORD_SIZE, {0x8B, 0xA5}))
      throw LinkError(where + " is not followed by a 6-byte stack-pointer reset from a frame slot");
  } else if (jump != IMAGE_REGION_JUMP_DISTANCE) {
    throw LinkError(where + ": a region marker must be a jump of " +
                    std::to_string(IMAGE_REGION_JUMP_DISTANCE) + " over its marker word");
  }
}

struct Region {
  uint32_t start;
  std::optional<uint32_t> record;
};

// The structure of one function's markers and call sites.
struct FunctionLayout {
  std::vector<uint32_t> returnAddresses;
  std::vector<uint32_t> topLevelRecords;
  std::vector<std::pair<uint32_t, uint32_t>>
      protectedBodies; // [start, record) of bracketed regions
};

FunctionLayout walkFunction(const std::vector<uint8_t> &code, const CodeFunction &f,
                            const std::vector<CodeFunction> &functions) {
  FunctionLayout layout;
  std::vector<Region> open;
  const uint32_t end = f.start + f.size;
  for (uint32_t at = f.start; at < end;) {
    if (auto marker = markerAt(code, at)) {
      checkRecordBytes(code, at, *marker, functions);
      const std::string where = "record at " + placeName(functions, at);
      if (*marker == IMAGE_REGION_START_MARKER) {
        open.push_back({at, std::nullopt});
      } else if (*marker == IMAGE_REGION_END_MARKER) {
        if (open.empty() || !open.back().record)
          throw LinkError(where + ": a region end without a region start and handler before it");
        layout.protectedBodies.emplace_back(open.back().start, *open.back().record);
        open.pop_back();
      } else if (open.empty()) {
        layout.topLevelRecords.push_back(at);
      } else if (!open.back().record) {
        open.back().record = at;
      } else {
        throw LinkError(where + ": a handler inside a handler needs its own region start and end");
      }
      at += *marker == IMAGE_HANDLER_MARKER ? IMAGE_HANDLER_RECORD_SIZE : IMAGE_REGION_RECORD_SIZE;
      continue;
    }
    DecodedInstruction instruction = decodeInstruction(&code[at], end - at);
    if (!instruction.length)
      throw LinkError("cannot decode the instruction at " + placeName(functions, at) +
                      " to check its handler records");
    at += instruction.length;
    if (instruction.isCall)
      layout.returnAddresses.push_back(at);
  }
  if (!open.empty())
    throw LinkError(f.name + ": a protected region is not closed");
  return layout;
}

// The record the unwinder must find for a call returning to `site`: that of
// the innermost protected region around it, else the next top-level record.
std::optional<uint32_t> expectedRecord(const FunctionLayout &layout, uint32_t site) {
  std::optional<std::pair<uint32_t, uint32_t>> innermost;
  for (const auto &body : layout.protectedBodies)
    if (body.first < site && site < body.second && (!innermost || body.first > innermost->first))
      innermost = body;
  if (innermost)
    return innermost->second;
  for (uint32_t record : layout.topLevelRecords)
    if (record >= site)
      return record;
  return std::nullopt; // in the clean-up after the last handler: the frame is not handled
}

bool functionHasHandlerRecord(const std::vector<uint8_t> &code, const CodeFunction &f) {
  for (uint32_t at = f.start; at + kMarkerEnd <= f.start + f.size; ++at)
    if (markerAt(code, at) == IMAGE_HANDLER_MARKER)
      return true;
  return false;
}

} // namespace

int64_t scanForHandler(const std::vector<uint8_t> &code, uint32_t from) {
  int depth = 0;
  for (uint64_t p = from; p + 1 < code.size();) {
    const uint8_t byte = code[p];
    if ((byte == 0xC9 || byte == 0x5D) && code[p + 1] == 0xC3)
      return -1;
    if (byte == IMAGE_NEAR_JUMP || byte == kShortJump) {
      if (p + kMarkerEnd > code.size())
        return -1;
      const uint32_t word = readLE32(&code[p + IMAGE_MARKER_OFFSET]);
      if (word == IMAGE_HANDLER_MARKER && depth == 0)
        return int64_t(p);
      if (word == IMAGE_HANDLER_MARKER) {
        ++p;
        continue;
      }
      if (word == IMAGE_REGION_START_MARKER) {
        ++depth;
        ++p;
        continue;
      }
      if (word == IMAGE_REGION_END_MARKER) {
        if (depth > 0)
          --depth;
        ++p;
        continue;
      }
      p += byte == IMAGE_NEAR_JUMP ? 5 : 2;
      continue;
    }
    ++p;
  }
  return -1;
}

void fillHandlerSlots(std::vector<uint8_t> &code, const std::vector<HandlerSlotNote> &notes,
                      const std::vector<CodeFunction> &functions) {
  for (const HandlerSlotNote &note : notes) {
    const std::string where = "handler record at " + placeName(functions, note.record);
    if (uint64_t(note.record) + IMAGE_HANDLER_RECORD_SIZE + IMAGE_HANDLER_ENTRY_SIZE >
            code.size() ||
        markerAt(code, note.record) != IMAGE_HANDLER_MARKER)
      throw LinkError(where + " is not a handler record");
    checkRecordBytes(code, note.record, IMAGE_HANDLER_MARKER, functions);
    if (readLE16(&code[note.record + IMAGE_HANDLER_SLOT_OFFSET]) != 0)
      throw LinkError(where + " already has a slot offset");
    std::optional<int16_t> slot = parseFrameSlot(note.slot);
    if (!slot)
      throw LinkError(where + ": its exception slot '" + note.slot + "' is not a frame slot");
    writeLE16(&code[note.record + IMAGE_HANDLER_SLOT_OFFSET], uint16_t(*slot));
  }
}

void checkHandlerScans(const std::vector<uint8_t> &code, const std::vector<CodeFunction> &functions,
                       const std::vector<uint32_t> &patchedSites) {
  std::vector<uint8_t> runtimeCode = code;
  for (uint32_t site : patchedSites)
    std::fill_n(runtimeCode.begin() + site, 4, 0);
  for (const CodeFunction &f : functions) {
    if (!f.size || !functionHasHandlerRecord(code, f))
      continue;
    FunctionLayout layout = walkFunction(code, f, functions);
    for (uint32_t site : layout.returnAddresses) {
      std::optional<uint32_t> expected = expectedRecord(layout, site);
      if (!expected)
        continue;
      int64_t found = scanForHandler(runtimeCode, site);
      if (found == int64_t(*expected))
        continue;
      std::string message =
          f.name + ": the unwinder's scan from the return address " + placeName(functions, site);
      if (found < 0)
        message += " stops at a false function end before its handler record at " +
                   placeName(functions, *expected);
      else
        message += " reaches the record at " + placeName(functions, uint32_t(found)) +
                   " instead of " + placeName(functions, *expected);
      throw LinkError(message);
    }
  }
}

} // namespace imagelink
