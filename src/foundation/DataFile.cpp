#include "foundation/DataFile.h"

DataFile::~DataFile() { DetachCleaner(); }

bool DataFile::ReadData(void *, long, long &got) {
  got = 0;
  return false;
}
bool DataFile::WriteData(const void *, long) { return false; }
bool DataFile::Close() { return false; }
bool DataFile::IsEOF() { return GetPosition() >= GetLength(); }
bool DataFile::SeekFromStart(long) { return false; }
long DataFile::GetLength() { return -1; }
bool DataFile::SetLength(long) { return false; }
long DataFile::GetPosition() { return -1; }
bool DataFile::Create(const string &) { return false; }
bool DataFile::Open(const string &, int) { return false; }
bool DataFile::CreateTemporaryFile(const string &) { return false; }
void DataFile::TemporaryClose() {}
void DataFile::TemporaryReopen() {}
void DataFile::FlushBuffer() {}

void DataFile::DetachCleaner() {
  DataFileCleaner *cleaner = mCleaner;
  if (!cleaner)
    return;
  mCleaner = nullptr;
  cleaner->mFile = nullptr;
  delete cleaner;
}

DataFileCleaner::DataFileCleaner(DataFile *file) : runShutdownTask("DataFileCleaner"), mFile(file) {
  if (!mFile)
    return;
  mFile->DetachCleaner(); // one cleaner per file
  mFile->mCleaner = this;
}

DataFileCleaner::~DataFileCleaner() {
  if (!mFile)
    return;
  DataFile *file = mFile;
  mFile = nullptr;
  file->mCleaner = nullptr;
  file->Close();
}
