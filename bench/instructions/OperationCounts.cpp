// Runs one operation of a benchmark pair a given number of times, so that an
// instruction tracer can count what one operation costs: the difference
// between two runs of different lengths, divided by the difference in runs,
// leaves out start-up and set-up. Links only the foundation, so the trace of
// start-up stays small. Usage: opcount <operation> <times>; no argument lists
// the operations.
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <strings.h>
#include <unordered_map>
#include <vector>

#include "foundation/String.h"
#include "foundation/StringMap.h"

namespace {

// Keeps a result alive without the compiler dropping the work.
template <typename T>
void Keep(const T &value) {
  asm volatile("" : : "g"(&value) : "memory");
}

const char kFirst[] = "PushButton1";
const char kSecond[] = ".Action handler of the main window";
const char kLong[] = "The clipboard text travels to the peer as one framed message over TCP.";
constexpr int kKeyCount = 1000;

std::string Upper(const char *text) {
  std::string upper(text);
  for (char &c : upper)
    c = char(std::toupper(static_cast<unsigned char>(c)));
  return upper;
}

std::vector<std::string> MapKeys() {
  std::vector<std::string> keys;
  for (int i = 0; i < kKeyCount; ++i)
    keys.push_back("ControlName" + std::to_string(i * 7919));
  return keys;
}

void CompareIgnoringCase(int times) {
  string a(kLong), upper(Upper(kLong).c_str());
  for (int i = 0; i < times; ++i)
    Keep(a.Compare(upper));
}

void Strcasecmp(int times) {
  std::string a(kLong), upper = Upper(kLong);
  for (int i = 0; i < times; ++i)
    Keep(strcasecmp(a.c_str(), upper.c_str()));
}

void MapLookup(int times) {
  std::vector<std::string> keys = MapKeys();
  std::vector<string> lookups;
  StringMap<int> map;
  for (int i = 0; i < kKeyCount; ++i) {
    map.AddEntry(keys[i].c_str(), i);
    lookups.emplace_back(keys[i].c_str());
  }
  for (int i = 0; i < times; ++i) {
    int value = 0;
    Keep(map.GetEntry(lookups[i % kKeyCount], &value));
    Keep(value);
  }
}

void UnorderedMapLookup(int times) {
  std::vector<std::string> keys = MapKeys();
  std::unordered_map<std::string, int> map;
  for (int i = 0; i < kKeyCount; ++i)
    map[keys[i]] = i;
  for (int i = 0; i < times; ++i)
    Keep(map.find(keys[i % kKeyCount])->second);
}

void Append(int times) {
  string piece(kFirst);
  for (int i = 0; i < times; ++i) {
    string text;
    for (int j = 0; j < 8; ++j)
      text += piece;
    Keep(text.Storage());
  }
}

void StdAppend(int times) {
  std::string piece(kFirst);
  for (int i = 0; i < times; ++i) {
    std::string text;
    for (int j = 0; j < 8; ++j)
      text += piece;
    Keep(text.data());
  }
}

void Slice(int times) {
  string s(kLong);
  for (int i = 0; i < times; ++i) {
    string part = mid(s, 4, 30);
    Keep(part.Storage());
  }
}

void Substr(int times) {
  std::string s(kLong);
  for (int i = 0; i < times; ++i) {
    std::string part = s.substr(4, 30);
    Keep(part.data());
  }
}

void Join(int times) {
  string a(kFirst), b(kSecond);
  for (int i = 0; i < times; ++i) {
    string joined = a + b;
    Keep(joined.Storage());
  }
}

void StdJoin(int times) {
  std::string a(kFirst), b(kSecond);
  for (int i = 0; i < times; ++i) {
    std::string joined = a + b;
    Keep(joined.data());
  }
}

struct Operation {
  const char *name;
  void (*run)(int times);
};

const Operation kOperations[] = {
    {"StringCompareIgnoringCase", CompareIgnoringCase},
    {"strcasecmp", Strcasecmp},
    {"StringMapLookup", MapLookup},
    {"unordered_map_find", UnorderedMapLookup},
    {"StringAppend", Append},
    {"std_string_append", StdAppend},
    {"StringSlice", Slice},
    {"substr", Substr},
    {"StringJoin", Join},
    {"std_string_join", StdJoin},
};

} // namespace

int main(int argc, char **argv) {
  if (argc < 3) {
    for (const Operation &operation : kOperations)
      std::printf("%s\n", operation.name);
    return 0;
  }
  for (const Operation &operation : kOperations)
    if (std::strcmp(operation.name, argv[1]) == 0) {
      operation.run(std::atoi(argv[2]));
      return 0;
    }
  std::fprintf(stderr, "no operation %s\n", argv[1]);
  return 2;
}
