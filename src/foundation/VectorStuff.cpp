// The byte scanner behind the ASCII test of strings.
#include "foundation/TextEncodings.h"

bool VectorStuffScalarImp::ContainsOnlyLowBytes(const unsigned char *bytes, long length) {
  for (long i = 0; i < length; ++i)
    if (bytes[i] & 0x80)
      return false;
  return true;
}

VectorStuffImp *VectorStuff() {
  // Made once and never freed: strings may be tested for ASCII during exit.
  static VectorStuffImp *scanner = new VectorStuffScalarImp;
  return scanner;
}
