// The database's data file: whole reads and writes at 64-bit offsets, 64-bit
// length, flushing to the disk, and the text of the last failure, so that a
// full disk or a failing read is reported instead of passing unnoticed.
#pragma once
#include <cstdint>

#include "foundation/String.h"

class DatabaseFile {
public:
  DatabaseFile() = default;
  ~DatabaseFile();
  DatabaseFile(const DatabaseFile &) = delete;
  DatabaseFile &operator=(const DatabaseFile &) = delete;

  // Creates (truncating) or opens the file; Open tries reading and writing,
  // then reading only. The file stays locked while it is open (exclusively
  // for writing, shared for reading only): a second handle, in this process
  // or another, is refused instead of overwriting what the first commits.
  bool Create(const string &path);
  bool Open(const string &path);
  bool ReadOnly() const { return mReadOnly; }
  const string &Path() const { return mPath; }

  // Whole transfers: a short read or write fails.
  bool ReadAt(int64_t offset, void *buffer, int32_t count);
  bool WriteAt(int64_t offset, const void *buffer, int32_t count);
  // -1 on failure.
  int64_t Length();
  bool SetLength(int64_t length);
  bool Flush();
  void Close();

  // What failed last, as "operation: reason".
  const string &LastFailure() const { return mFailure; }

private:
  bool Fail(const char *operation);
  bool Lock(int operation);
  int mDescriptor = -1;
  bool mReadOnly = false;
  string mPath;
  string mFailure;
};

// Called before every write, length change (offset -1) and flush (offset
// -2) of any database or journal file, when set. Tests use it to stop a
// writer at a chosen point.
extern void (*gDatabaseFileWriteHook)(int64_t offset, int32_t count, const void *bytes);

// Removes a file; true when it is gone.
bool RemoveDatabaseFile(const string &path);
// Flushes the folder holding the file, so that a file created or removed in
// it stays so after a power loss.
bool SyncFolderOf(const string &path);
bool DatabaseFileExists(const string &path);
