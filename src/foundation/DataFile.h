// The platform file object: a byte stream over a file named by a path, which
// it creates, opens, reads, writes, sizes and closes. System errors of failing
// calls are kept in mLastError.
#pragma once
#include <cstdint>

#include "foundation/RandomAccessMechanism.h"
#include "foundation/ShutdownTasks.h"

class DataFileCleaner;

class DataFile : public RandomAccessMechanism {
public:
  // Permissions of Open.
  enum Permission : int { kReadPermission = 1, kReadWritePermission = 3 };

  // A new, closed data file of this platform.
  static DataFile *New();

  DataFile() = default;
  ~DataFile() override;

  // The base answers false or -1 and does nothing; the platform file
  // replaces what it supports.
  bool ReadData(void *buffer, long count, long &got) override;
  bool WriteData(const void *buffer, long count) override;
  bool Close() override;
  bool IsEOF() override; // GetPosition() >= GetLength()
  bool SeekFromStart(long offset) override;
  long GetLength() override;
  bool SetLength(long length) override;
  long GetPosition() override;

  // Creates or truncates the file for reading and writing.
  virtual bool Create(const string &path);
  virtual bool Open(const string &path, int permission);
  // An empty name makes an anonymous file that disappears when closed; a
  // name makes that file in the temporary folder.
  virtual bool CreateTemporaryFile(const string &name);
  virtual void TemporaryClose();
  virtual void TemporaryReopen();
  virtual void FlushBuffer();

  DataFileCleaner *Cleaner() const { return mCleaner; }

  uint8_t mFlag1 = 0, mFlag2 = 0, mFlag3 = 0; // kept for subclasses; unused here

protected:
  // Lets the file close without its cleaner, which then no longer guards it.
  void DetachCleaner();

private:
  friend class DataFileCleaner;
  DataFileCleaner *mCleaner = nullptr;
};

// A shutdown task that closes its data file at exit unless the file was
// closed first. Closing the file deletes its cleaner.
class DataFileCleaner final : public runShutdownTask {
public:
  explicit DataFileCleaner(DataFile *file);
  ~DataFileCleaner() override;

private:
  friend class DataFile;
  DataFile *mFile;
};
