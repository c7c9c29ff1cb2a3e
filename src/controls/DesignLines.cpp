#include "controls/DesignLines.h"

#include "language/LineEndings.h"
#include "runtime/objects/ValueEntryPoints.h"

void ForEachDesignLine(stringStorage *text, bool zeroSeparates,
                       const std::function<void(const string &)> &take) {
  string cr("\r");
  stringStorage *lines = RuntimeReplaceLineEndings(text, cr.Storage());
  const char *bytes = stringStorage::CString(lines);
  const int32_t length = stringStorage::Length(lines);
  const uint32_t encoding = lines ? lines->mEncoding : 0;
  int32_t start = 0;
  for (int32_t i = 0; i <= length; ++i) {
    if (i < length && bytes[i] != '\r' && (!zeroSeparates || bytes[i] != 0))
      continue;
    if (i < length || i > start) {
      string line;
      line.ConstructFromBuffer(bytes + start, i - start, encoding);
      take(line.IsEmpty() ? string("") : line);
    }
    start = i + 1;
  }
  RuntimeUnlockString(lines);
}
