// Bytes placed at the very end of a readable page, with an inaccessible page
// right after them: code that reads one byte past the end faults at once
// instead of reading a neighbour's memory unnoticed.
#pragma once
#include <cstddef>
#include <string>

class GuardedBytes {
public:
  explicit GuardedBytes(const std::string &bytes);
  ~GuardedBytes();
  GuardedBytes(const GuardedBytes &) = delete;
  GuardedBytes &operator=(const GuardedBytes &) = delete;

  const unsigned char *begin() const { return mBegin; }
  const unsigned char *end() const { return mBegin + mSize; }
  size_t size() const { return mSize; }

private:
  void *mMapping;
  size_t mMappingSize;
  const unsigned char *mBegin;
  size_t mSize;
};
