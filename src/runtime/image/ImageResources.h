// The image's resource and options sections. Each section is checked whole
// before anything of it is registered, so a damaged one changes nothing.
#pragma once
#include <cstdint>
#include <string>

// Resource records: type (uint32), id (uint16), 4 unread bytes, data length
// (uint32), then the data. Each is registered with gResourceManager together
// with the position of its data in the file the section came from.
bool LoadResourceTable(const uint8_t *section, uint32_t size, uint32_t filePosition,
                       std::string &problem);

// Option records, each led by a tag byte.
enum OptionTag : uint8_t {
  kOptionIcon = 1,    // width, height (bytes), width × height RGBA pixels
  kOptionVersion = 2, // six int32 values, three length-prefixed strings
};

// Installs the icons as the default icon list of all windows (in the reverse
// of their order in the section) and registers the version record as the
// 'VERS' resource with id 0. An unknown tag is reported with the assertion
// alert and the next byte read as a tag.
bool ApplyOptionsTable(const uint8_t *section, uint32_t size, std::string &problem);
