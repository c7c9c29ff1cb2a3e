// A writer killed at any moment leaves a volume that opens. A scripted run of
// changes is stopped after its N-th write (or halfway through it) for every N;
// each result must pass the volume checker and show the interrupted change
// either not done or done. Then the same holds for a real process killed at
// random moments.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <random>
#include <sstream>

#include "foundation/UnixDataFile.h"
#include "foundation/VFile.h"
#include "foundation/VHFSVolume.h"
#include "support/VolumeTestSupport.h"

namespace {

constexpr VFileType kText = 0x54455854;

std::string Pattern(size_t n, int seed) {
  std::string out(n, '\0');
  for (size_t i = 0; i < n; ++i)
    out[i] = static_cast<char>(i * 31 + seed + i / 256);
  return out;
}

VFileRef Child(VHFSVolume &volume, const VFileRef &folder, const char *name) {
  SimpleVector<VFileRef> children;
  volume.GetChildren(folder, children);
  for (const VFileRef &child : children)
    if (child.mName.CompareWithCase(name) == 0)
      return child;
  return VFileRef();
}

bool WriteChunks(VHFSVolume &volume, const VFileRef &ref, const std::string &bytes) {
  std::unique_ptr<VFile> file(volume.OpenFile(ref));
  if (!file)
    return false;
  bool ok = true;
  for (size_t at = 0; at < bytes.size(); at += 1024)
    ok = file->WriteData(bytes.data() + at, std::min<size_t>(1024, bytes.size() - at)) && ok;
  return file->Close() && ok;
}

// How much of a change a crash may leave visible beyond "before or after".
enum class Leeway { kNone, kContents, kName };

struct Step {
  std::string what;
  Leeway leeway;
  std::string path; // the file the leeway is about
  std::function<void(VHFSVolume &)> run;
};

const std::string kBig = Pattern(3 * 1024, 1);
const std::string kSecond = Pattern(2000, 2);
constexpr int kFolderFiles = 12;

std::vector<Step> Script() {
  std::vector<Step> steps;
  auto root = [](VHFSVolume &v) { return v.GetRoot(); };
  steps.push_back({"create a", Leeway::kNone, "", [=](VHFSVolume &v) {
                     v.CreateFile(root(v), "a", kText);
                   }});
  steps.push_back({"write 3 KB", Leeway::kContents, "a", [=](VHFSVolume &v) {
                     WriteChunks(v, Child(v, root(v), "a"), kBig);
                   }});
  steps.push_back({"create d", Leeway::kNone, "", [=](VHFSVolume &v) {
                     v.CreateDirectory(root(v), "d");
                   }});
  // With 128-byte blocks the folder's list leaves its block after a few.
  for (int i = 0; i < kFolderFiles; ++i)
    steps.push_back({"create d/f" + std::to_string(i), Leeway::kNone, "", [=](VHFSVolume &v) {
                       v.CreateFile(Child(v, root(v), "d"), ("f" + std::to_string(i)).c_str(),
                                    kText);
                     }});
  steps.push_back({"rename a", Leeway::kName, "a", [=](VHFSVolume &v) {
                     VFileRef a = Child(v, root(v), "a");
                     v.SetFileName(a, "b");
                   }});
  steps.push_back({"move b", Leeway::kNone, "", [=](VHFSVolume &v) {
                     v.MoveFile(Child(v, root(v), "b"), Child(v, root(v), "d"));
                   }});
  steps.push_back({"delete d/f3", Leeway::kNone, "", [=](VHFSVolume &v) {
                     const VFileRef d = Child(v, root(v), "d");
                     v.DeleteFile(Child(v, d, "f3"));
                   }});
  steps.push_back({"delete d/b", Leeway::kNone, "", [=](VHFSVolume &v) {
                     const VFileRef d = Child(v, root(v), "d");
                     v.DeleteFile(Child(v, d, "b"));
                   }});
  steps.push_back({"create c", Leeway::kNone, "", [=](VHFSVolume &v) {
                     v.CreateFile(root(v), "c", kText);
                   }});
  steps.push_back({"write c into freed blocks", Leeway::kContents, "c", [=](VHFSVolume &v) {
                     WriteChunks(v, Child(v, root(v), "c"), kSecond);
                   }});
  return steps;
}

std::unique_ptr<VHFSVolume> NewScriptVolume(MemoryStream &stream) {
  std::unique_ptr<VHFSVolume> volume(VHFSVolume::Create(&stream, false));
  volume->BlockStore()->SetBlockSizePrefs(64, 128, 16384);
  return volume;
}

std::map<std::string, std::string> AsMap(const VolumeListing &listing) {
  return {listing.entries.begin(), listing.entries.end()};
}

// Whether what a crash left equals the state before or after the step, within
// the step's leeway.
bool Acceptable(std::map<std::string, std::string> seen, std::map<std::string, std::string> before,
                std::map<std::string, std::string> after, const Step &step) {
  if (step.leeway == Leeway::kContents) {
    for (auto *state : {&seen, &before, &after})
      if (state->count(step.path))
        (*state)[step.path] = "<any>";
  } else if (step.leeway == Leeway::kName) {
    // One file with the renamed file's contents, under any name.
    const std::string contents = before[step.path];
    int found = 0;
    for (auto *state : {&seen, &before, &after})
      for (auto it = state->begin(); it != state->end();)
        if (it->second == contents) {
          found += state == &seen;
          it = state->erase(it);
        } else {
          ++it;
        }
    if (found != 1)
      return false;
  }
  return seen == before || seen == after;
}

TEST(VolumeCrashTest, AWriterStoppedAfterAnyWriteLeavesTheVolumeBeforeOrAfterTheChange) {
  const std::vector<Step> steps = Script();
  // A full run: the write count and the state after each step.
  std::vector<int64_t> boundaries;
  std::vector<std::map<std::string, std::string>> states;
  {
    MemoryStream stream;
    auto volume = NewScriptVolume(stream);
    VolumeListing initial;
    ASSERT_EQ(CheckVolume(stream.Bytes(), &initial), "");
    states.push_back(AsMap(initial));
    const int64_t start = stream.WriteCount();
    for (const Step &step : steps) {
      step.run(*volume);
      boundaries.push_back(stream.WriteCount() - start);
      VolumeListing listing;
      ASSERT_EQ(CheckVolume(stream.Bytes(), &listing), "") << "after " << step.what;
      states.push_back(AsMap(listing));
    }
    ASSERT_EQ(states.back().count("d/b"), 0u);
    ASSERT_EQ(states.back().at("c"), kSecond);
    ASSERT_EQ(states.back().count("d/f11"), 1u);
  }
  const int64_t total = boundaries.back();
  for (int64_t n = 0; n <= total + 8; ++n)
    for (bool half : {false, true}) {
      MemoryStream stream;
      std::unique_ptr<VHFSVolume> volume = NewScriptVolume(stream);
      stream.StopAfter(half ? n + 1 : n, half);
      for (const Step &step : steps)
        step.run(*volume);
      volume.reset();
      VolumeListing listing;
      const std::string problem = CheckVolume(stream.Bytes(), &listing);
      // The step that write n + 1 belonged to (the last one for writes made
      // while the volume closed).
      size_t k = 0;
      while (k + 1 < steps.size() && boundaries[k] <= n)
        ++k;
      const bool closing = n >= total;
      ASSERT_EQ(problem, "") << "stopped after " << n << (half ? " and a half" : "") << " writes, in "
                             << steps[k].what;
      const bool ok = closing ? AsMap(listing) == states.back()
                              : Acceptable(AsMap(listing), states[k], states[k + 1], steps[k]);
      ASSERT_TRUE(ok) << "stopped after " << n << (half ? " and a half" : "") << " writes, in "
                      << steps[k].what;
    }
}

// Operation i of an endless script that goes on from any state the volume
// was left in: an operation whose object is missing changes nothing. Every
// round of eight creates, writes, renames, moves and deletes.
Step OperationAt(int64_t i) {
  const std::string r = std::to_string(i / 8);
  const std::string a = "a" + r, b = "b" + r, d = "d" + r, f = "f" + r;
  const std::string last = "d" + std::to_string(i / 8 - 1);
  auto root = [](VHFSVolume &v) { return v.GetRoot(); };
  switch (i % 8) {
  case 0:
    return {"create " + a, Leeway::kNone, "",
            [=](VHFSVolume &v) { v.CreateFile(root(v), a.c_str(), kText); }};
  case 1:
    return {"write " + a, Leeway::kContents, a, [=](VHFSVolume &v) {
              const VFileRef file = Child(v, root(v), a.c_str());
              if (file.mType != 0)
                WriteChunks(v, file, Pattern(1734 + 100 * size_t(i / 8 % 7), int(i)));
            }};
  case 2:
    return {"create " + d, Leeway::kNone, "",
            [=](VHFSVolume &v) { v.CreateDirectory(root(v), d.c_str()); }};
  case 3:
    return {"create " + d + "/" + f, Leeway::kNone, "", [=](VHFSVolume &v) {
              const VFileRef folder = Child(v, root(v), d.c_str());
              if (folder.mType != 0)
                v.CreateFile(folder, f.c_str(), kText);
            }};
  case 4:
    return {"rename " + a, Leeway::kName, a, [=](VHFSVolume &v) {
              VFileRef file = Child(v, root(v), a.c_str());
              if (file.mType != 0)
                v.SetFileName(file, b.c_str());
            }};
  case 5:
    return {"move " + b, Leeway::kNone, "", [=](VHFSVolume &v) {
              const VFileRef file = Child(v, root(v), b.c_str());
              const VFileRef folder = Child(v, root(v), d.c_str());
              if (file.mType != 0 && folder.mType != 0)
                v.MoveFile(file, folder);
            }};
  case 6:
    return {"delete " + d + "/" + f, Leeway::kNone, "", [=](VHFSVolume &v) {
              const VFileRef folder = Child(v, root(v), d.c_str());
              const VFileRef file = Child(v, folder, f.c_str());
              if (file.mType != 0)
                v.DeleteFile(file);
            }};
  default:
    return {"delete " + last + "/b", Leeway::kNone, "", [=](VHFSVolume &v) {
              const VFileRef folder = Child(v, root(v), last.c_str());
              const VFileRef file = Child(v, folder, ("b" + std::to_string(i / 8 - 1)).c_str());
              if (folder.mType != 0 && file.mType != 0)
                v.DeleteFile(file);
            }};
  }
}

// A child process opens the volume file and runs the script from operation
// first on, telling the parent after each operation, until it is killed.
[[noreturn]] void WriteUntilKilled(const std::string &path, int64_t first, int progress) {
  UnixDataFile *file = new UnixDataFile;
  if (!file->Open(string(path.c_str()), DataFile::kReadWritePermission))
    _exit(3);
  file->SetBigEndian();
  file->mSwapDoubles = 1;
  VHFSVolume volume(file, true);
  if (!volume.IsValid())
    _exit(5);
  for (int64_t i = first;; ++i) {
    OperationAt(i).run(volume);
    if (write(progress, "x", 1) != 1)
      _exit(4);
  }
}

std::string ReadFile(const std::string &path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

// The volume's contents after operations first to first + count - 1 ran on
// these bytes, in memory.
std::map<std::string, std::string> StateAfter(const std::string &bytes, int64_t first,
                                              int64_t count) {
  MemoryStream stream(bytes);
  {
    VHFSVolume volume(&stream, false);
    for (int64_t i = first; i < first + count; ++i)
      OperationAt(i).run(volume);
  }
  VolumeListing listing;
  CheckVolume(stream.Bytes(), &listing);
  return AsMap(listing);
}

// The same volume is carried from kill to kill. A kill after an operation
// returned leaves exactly its result; one inside an operation leaves the state
// before or after it.
TEST(VolumeCrashTest, AProcessKilledAtRandomMomentsKeepsEveryChangeThatReturned) {
  std::mt19937 random(21);
  char pattern[] = "/tmp/volumecrashXXXXXX";
  ASSERT_NE(mkdtemp(pattern), nullptr);
  const std::string path = std::string(pattern) + "/volume";
  {
    UnixDataFile *file = new UnixDataFile;
    ASSERT_TRUE(file->Create(string(path.c_str())));
    file->SetBigEndian();
    file->mSwapDoubles = 1;
    delete VHFSVolume::Create(file, true);
  }
  int64_t next = 0; // the first operation the next writer runs
  for (int moment = 0; moment < 30; ++moment) {
    const std::string before = ReadFile(path);
    int fds[2];
    ASSERT_EQ(pipe(fds), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      close(fds[0]);
      WriteUntilKilled(path, next, fds[1]);
    }
    close(fds[1]);
    // Kill after a random number of operations plus a random part of the next.
    const int wanted = static_cast<int>(random() % 40);
    char byte;
    for (int i = 0; i < wanted; ++i)
      ASSERT_EQ(read(fds[0], &byte, 1), 1);
    usleep(random() % 3000);
    kill(child, SIGKILL);
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status)) << "the writer ended by itself: " << status;
    int64_t returned = wanted; // operations that told the parent they returned
    while (read(fds[0], &byte, 1) == 1)
      ++returned;
    close(fds[0]);
    const std::string after = ReadFile(path);
    VolumeListing listing;
    ASSERT_EQ(CheckVolume(after, &listing), "") << "killed after " << next + returned;
    const std::map<std::string, std::string> seen = AsMap(listing);
    const std::map<std::string, std::string> done = StateAfter(before, next, returned);
    const Step cut = OperationAt(next + returned);
    const bool exact = seen == done;
    ASSERT_TRUE(exact || Acceptable(seen, done, StateAfter(before, next, returned + 1), cut))
        << "killed after operation " << next + returned << ", in " << cut.what;
    next += returned + (exact ? 0 : 1);
  }
  unlink(path.c_str());
  rmdir(pattern);
}

} // namespace
