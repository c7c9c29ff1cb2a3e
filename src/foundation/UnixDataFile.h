// DataFile on a stdio stream.
#pragma once
#include <cstdio>

#include "foundation/AssertionAlert.h"
#include "foundation/DataFile.h"

// The alerts of an invalid permission (shown with kOpenPermissionMessage) and
// of a read into no buffer.
inline constexpr char kUnixDataFileAlertSource[] = "../Universal/DataFile";
inline constexpr AlertSite kOpenPermissionAlert{kUnixDataFileAlertSource, 914, "0"};
inline constexpr char kOpenPermissionMessage[] =
    "Invalid permissions passed in to UnixDataFile::Open";
inline constexpr AlertSite kReadBufferAlert{kUnixDataFileAlertSource, 926, "data"};

class UnixDataFile final : public DataFile {
public:
  UnixDataFile() = default;
  ~UnixDataFile() override; // closes the file

  bool Create(const string &path) override;
  // Permission 1 reads, 3 reads and writes; others alert and fail.
  bool Open(const string &path, int permission) override;
  // A name must not hold "/": the file is made new in /tmp, never through an
  // existing file or link of that name.
  bool CreateTemporaryFile(const string &name) override;
  // Closes the stream for good; TemporaryReopen cannot bring it back.
  void TemporaryClose() override;

  // True when something was read; got holds the count.
  bool ReadData(void *buffer, long count, long &got) override;
  bool WriteData(const void *buffer, long count) override;
  bool IsEOF() override;
  bool SeekFromStart(long offset) override;
  long GetPosition() override;
  // The end position; the position is left where it was.
  long GetLength() override;
  // Writes out buffered data, then cuts or extends the file.
  bool SetLength(long length) override;
  void FlushToDisk() override;
  void FlushBuffer() override;
  // Flushes and closes; false when there was no open stream or the system
  // reported a failure.
  bool Close() override;

private:
  // Adopts a newly opened stream (closing any previous one); on failure
  // records errno.
  bool Adopt(FILE *stream);
  bool Fail(); // records errno, answers false
  // stdio needs a seek or flush between writing and reading the same stream;
  // this places one when the direction changes.
  void TurnTo(int direction);

  enum { kNoDirection = 0, kReading = 1, kWriting = 2 };
  FILE *mStream = nullptr;
  int mDirection = kNoDirection;
};
