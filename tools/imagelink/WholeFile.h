#pragma once
// Reads a whole input file of the linker (an object, a resource, the runtime).
#include <cstdint>
#include <string>
#include <vector>

namespace imagelink {

// The file's bytes; a file that cannot be opened is a LinkError naming the
// path and what the file was wanted as ("cannot read the runtime").
std::vector<uint8_t> readWholeFile(const std::string &path, const std::string &whatFailed);

} // namespace imagelink
