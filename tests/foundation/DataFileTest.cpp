#include <cerrno>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include <dirent.h>
#include <fcntl.h>
#include <set>
#include <unistd.h>

#include <gtest/gtest.h>

#include "foundation/DataFile.h"
#include "foundation/UnixDataFile.h"
#include "support/AlertRecorder.h"

namespace {

std::string FileText(const std::string &path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream contents;
  contents << in.rdbuf();
  return contents.str();
}

// Each test works in a fresh folder of its own, removed afterwards.
class DataFileTest : public testing::Test {
protected:
  void SetUp() override {
    std::string pattern = (std::filesystem::temp_directory_path() / "datafile-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    mFolder = pattern;
  }
  void TearDown() override { std::filesystem::remove_all(mFolder); }

  std::string PathOf(const char *name) const { return (mFolder / name).string(); }

  static std::unique_ptr<DataFile> NewFile() { return std::unique_ptr<DataFile>(DataFile::New()); }

  static std::string Read(DataFile &file, long count) {
    std::string bytes(static_cast<size_t>(count), '\0');
    long got = 0;
    file.ReadData(bytes.data(), count, got);
    bytes.resize(static_cast<size_t>(got));
    return bytes;
  }

  std::filesystem::path mFolder;
};

// A name in /tmp that no other run uses.
std::string UniqueTemporaryName(const char *stem) {
  return std::string("datafile-") + stem + "-" + std::to_string(getpid());
}

// The descriptors open in the process now.
std::set<int> OpenDescriptors() {
  std::set<int> found;
  if (DIR *folder = opendir("/proc/self/fd")) {
    while (const dirent *entry = readdir(folder))
      if (entry->d_name[0] != '.')
        found.insert(std::stoi(entry->d_name));
    closedir(folder);
  }
  std::set<int> open;
  for (int fd : found)
    if (fcntl(fd, F_GETFD) != -1) // the listing's own descriptor is gone
      open.insert(fd);
  return open;
}

} // namespace

// A program the runtime starts inherits none of its files: every way of
// opening one opens it close-on-exec.
TEST_F(DataFileTest, EveryFileIsOpenedCloseOnExec) {
  const std::string path = PathOf("data");
  const std::string name = UniqueTemporaryName("cloexec");
  const std::set<int> before = OpenDescriptors();
  std::vector<std::unique_ptr<DataFile>> files;
  for (int way = 0; way < 5; ++way) {
    files.push_back(NewFile());
    DataFile &file = *files.back();
    bool opened = way == 0   ? file.Create(string(path.c_str()))
                  : way == 1 ? file.Open(string(path.c_str()), DataFile::kReadPermission)
                  : way == 2 ? file.Open(string(path.c_str()), DataFile::kReadWritePermission)
                  : way == 3 ? file.CreateTemporaryFile(string())
                             : file.CreateTemporaryFile(string(name.c_str()));
    ASSERT_TRUE(opened) << "way " << way;
  }
  int checked = 0;
  for (int fd : OpenDescriptors())
    if (!before.count(fd)) {
      ++checked;
      EXPECT_TRUE(fcntl(fd, F_GETFD) & FD_CLOEXEC) << "descriptor " << fd;
    }
  files.clear();
  unlink(("/tmp/" + name).c_str());
  EXPECT_EQ(checked, 5);
}

TEST_F(DataFileTest, CreateWriteSeekReadTruncateAndClose) {
  std::unique_ptr<DataFile> file = NewFile();
  const std::string path = PathOf("data");
  ASSERT_TRUE(file->Create(string(path.c_str())));
  ASSERT_TRUE(file->WriteData("hello world", 11));
  EXPECT_EQ(file->GetLength(), 11);
  EXPECT_EQ(file->GetPosition(), 11); // measuring leaves the position alone

  ASSERT_TRUE(file->SeekFromStart(6));
  EXPECT_EQ(Read(*file, 5), "world");
  EXPECT_FALSE(file->IsEOF()); // stdio: only a read that hits the end sets it
  long got = 7;
  char byte;
  EXPECT_FALSE(file->ReadData(&byte, 1, got));
  EXPECT_EQ(got, 0);
  EXPECT_TRUE(file->IsEOF());

  ASSERT_TRUE(file->SetLength(5));
  EXPECT_EQ(file->GetLength(), 5);
  EXPECT_TRUE(file->Close());
  EXPECT_FALSE(file->Close());
  EXPECT_EQ(FileText(path), "hello");

  ASSERT_TRUE(file->Open(string(path.c_str()), DataFile::kReadPermission));
  EXPECT_EQ(Read(*file, 100), "hello");
  EXPECT_FALSE(file->WriteData("x", 1)); // opened read only
}

TEST_F(DataFileTest, MissingFilesFailWithTheirErrorCode) {
  std::unique_ptr<DataFile> file = NewFile();
  EXPECT_FALSE(file->Open(string(PathOf("missing").c_str()), DataFile::kReadWritePermission));
  EXPECT_EQ(file->mLastError, ENOENT);
  file->mLastError = 0;
  EXPECT_FALSE(file->Create(string(PathOf("no-folder/data").c_str())));
  EXPECT_EQ(file->mLastError, ENOENT);
  EXPECT_FALSE(file->Close());
}

TEST_F(DataFileTest, AnInvalidPermissionAlertsAndFails) {
  AlertRecorder recorder;
  std::unique_ptr<DataFile> file = NewFile();
  std::ofstream(PathOf("present")) << "x";
  EXPECT_FALSE(file->Open(string(PathOf("present").c_str()), 2));
  ASSERT_EQ(recorder.count(), 1u);
  EXPECT_TRUE(ShownAt(recorder.alerts()[0], kOpenPermissionAlert));
  EXPECT_EQ(recorder.alerts()[0].message, kOpenPermissionMessage);
}

TEST_F(DataFileTest, ReadingAndWritingAlternateWithoutSeeks) {
  std::unique_ptr<DataFile> file = NewFile();
  const std::string path = PathOf("data");
  ASSERT_TRUE(file->Create(string(path.c_str())));
  ASSERT_TRUE(file->WriteData("abcdef", 6));
  ASSERT_TRUE(file->SeekFromStart(0));
  ASSERT_TRUE(file->WriteData("A", 1));
  EXPECT_EQ(Read(*file, 2), "bc");      // a write, then a read
  ASSERT_TRUE(file->WriteData("D", 1)); // a read, then a write
  EXPECT_EQ(Read(*file, 10), "ef");
  ASSERT_TRUE(file->Close());
  EXPECT_EQ(FileText(path), "AbcDef");
}

TEST_F(DataFileTest, SetLengthCutsAfterBufferedBytesReachTheFile) {
  std::unique_ptr<DataFile> file = NewFile();
  const std::string path = PathOf("data");
  ASSERT_TRUE(file->Create(string(path.c_str())));
  ASSERT_TRUE(file->WriteData("abcdef", 6)); // still in the stream's buffer
  ASSERT_TRUE(file->SetLength(3));
  ASSERT_TRUE(file->Close());
  EXPECT_EQ(FileText(path), "abc");
}

TEST_F(DataFileTest, CloseReportsAFailedFlush) {
  std::unique_ptr<DataFile> file = NewFile();
  ASSERT_TRUE(file->Create(string("/dev/full")));
  ASSERT_TRUE(file->WriteData("lost", 4)); // buffered; the device takes nothing
  EXPECT_FALSE(file->Close());
  EXPECT_EQ(file->mLastError, ENOSPC);
}

TEST_F(DataFileTest, CloseWithACleanerReportsAFailedFlushToo) {
  std::unique_ptr<DataFile> file = NewFile();
  ASSERT_TRUE(file->Create(string("/dev/full")));
  new DataFileCleaner(file.get()); // owned by the shutdown tasks
  ASSERT_NE(file->Cleaner(), nullptr);
  ASSERT_TRUE(file->WriteData("lost", 4));
  EXPECT_FALSE(file->Close());
  EXPECT_EQ(file->Cleaner(), nullptr);
  runShutdownAll(); // the cleaner is gone and touches nothing
}

TEST_F(DataFileTest, ACleanerClosesItsFileAtShutdown) {
  std::unique_ptr<DataFile> file = NewFile();
  const std::string path = PathOf("data");
  ASSERT_TRUE(file->Create(string(path.c_str())));
  new DataFileCleaner(file.get());
  ASSERT_TRUE(file->WriteData("kept", 4));
  runShutdownAll();
  EXPECT_EQ(file->Cleaner(), nullptr);
  EXPECT_EQ(FileText(path), "kept");
  EXPECT_FALSE(file->Close()); // already closed
}

TEST_F(DataFileTest, ClosedFilesRefuseEveryOperation) {
  std::unique_ptr<DataFile> file = NewFile();
  ASSERT_TRUE(file->Create(string(PathOf("data").c_str())));
  file->TemporaryClose();
  file->TemporaryReopen(); // cannot bring it back
  char byte = 0;
  long got = 5;
  EXPECT_FALSE(file->ReadData(&byte, 1, got));
  EXPECT_EQ(got, 0);
  EXPECT_FALSE(file->WriteData("x", 1));
  EXPECT_FALSE(file->SeekFromStart(0));
  EXPECT_FALSE(file->SetLength(0));
  EXPECT_EQ(file->GetLength(), -1);
  EXPECT_TRUE(file->IsEOF());
  EXPECT_FALSE(file->Close());
}

TEST_F(DataFileTest, ReadingIntoNoBufferAlerts) {
  AlertRecorder recorder;
  std::unique_ptr<DataFile> file = NewFile();
  ASSERT_TRUE(file->Create(string(PathOf("data").c_str())));
  long got = 3;
  EXPECT_FALSE(file->ReadData(nullptr, 1, got));
  EXPECT_EQ(got, 0);
  ASSERT_EQ(recorder.count(), 1u);
  EXPECT_TRUE(ShownAt(recorder.alerts()[0], kReadBufferAlert));
}

TEST_F(DataFileTest, AnonymousTemporaryFilesReadBackWhatWasWritten) {
  std::unique_ptr<DataFile> file = NewFile();
  ASSERT_TRUE(file->CreateTemporaryFile(string()));
  ASSERT_TRUE(file->WriteData("scratch", 7));
  ASSERT_TRUE(file->SeekFromStart(0));
  EXPECT_EQ(Read(*file, 7), "scratch");
  EXPECT_TRUE(file->Close());
}

TEST_F(DataFileTest, NamedTemporaryFilesAreMadeNewInTmp) {
  const std::string name = UniqueTemporaryName("scratch");
  const std::string path = "/tmp/" + name;
  std::unique_ptr<DataFile> file = NewFile();
  ASSERT_TRUE(file->CreateTemporaryFile(string(name.c_str())));
  ASSERT_TRUE(file->WriteData("made", 4));
  ASSERT_TRUE(file->Close());
  EXPECT_EQ(FileText(path), "made");

  // An existing file of that name is never reused or truncated.
  EXPECT_FALSE(file->CreateTemporaryFile(string(name.c_str())));
  EXPECT_EQ(file->mLastError, EEXIST);
  EXPECT_EQ(FileText(path), "made");
  unlink(path.c_str());
}

TEST_F(DataFileTest, TemporaryNamesCannotLeaveTmpOrFollowLinks) {
  std::unique_ptr<DataFile> file = NewFile();
  for (const char *name : {"../etc-passwd", "a/b", "/x"}) {
    EXPECT_FALSE(file->CreateTemporaryFile(string(name))) << name;
    EXPECT_EQ(file->mLastError, EINVAL) << name;
  }

  const std::string target = PathOf("target");
  std::ofstream(target) << "precious";
  const std::string name = UniqueTemporaryName("link");
  const std::string link = "/tmp/" + name;
  ASSERT_EQ(symlink(target.c_str(), link.c_str()), 0);
  EXPECT_FALSE(file->CreateTemporaryFile(string(name.c_str())));
  EXPECT_EQ(FileText(target), "precious");
  unlink(link.c_str());
}
