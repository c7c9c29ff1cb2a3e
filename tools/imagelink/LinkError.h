#pragma once
// The one way the image linker reports what it cannot or will not link: the
// message names the file, section or function at fault.
#include <stdexcept>

namespace imagelink {

struct LinkError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

} // namespace imagelink
