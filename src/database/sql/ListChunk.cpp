#include "database/sql/ListChunk.h"

#include "foundation/DataFile.h"

namespace {

DataFile *NewTemporaryFile() {
  DataFile *file = DataFile::New();
  if (file && !file->CreateTemporaryFile(string())) {
    delete file;
    return nullptr;
  }
  return file;
}

} // namespace

ListChunk *newListChunk() {
  DataFile *index = NewTemporaryFile();
  if (!index)
    return nullptr;
  DataFile *data = NewTemporaryFile();
  if (!data) {
    delete index;
    return nullptr;
  }
  return new ListChunk{0, index, data};
}

RandomAccessMechanism *addListChunk(ListChunk *chunk) {
  if (!chunk)
    return nullptr;
  const long end = chunk->data->GetLength();
  if (end < 0 || !chunk->data->SeekFromStart(end))
    return nullptr;
  const int32_t offset = static_cast<int32_t>(end);
  if (!chunk->index->SeekFromStart(4L * chunk->count) || !chunk->index->WriteData(&offset, sizeof offset))
    return nullptr;
  ++chunk->count;
  return chunk->data;
}

namespace {

// Entry i's offset, read from the index file.
bool ReadOffset(ListChunk *chunk, int32_t i, int32_t &offset) {
  if (!chunk || i < 0 || i >= chunk->count || !chunk->index->SeekFromStart(4L * i))
    return false;
  long got = 0;
  return chunk->index->ReadData(&offset, sizeof offset, got) && got == sizeof offset;
}

} // namespace

int32_t getListChunkOffset(ListChunk *chunk, int32_t i) {
  int32_t offset = 0;
  return ReadOffset(chunk, i, offset) ? offset : 0;
}

RandomAccessMechanism *getListChunk(ListChunk *chunk, int32_t i) {
  int32_t offset = 0;
  if (!ReadOffset(chunk, i, offset) || !chunk->data->SeekFromStart(offset))
    return nullptr;
  return chunk->data;
}

RandomAccessMechanism *getChunkStorage(ListChunk *chunk) { return chunk ? chunk->data : nullptr; }

int32_t listChunkCount(const ListChunk *chunk) { return chunk ? chunk->count : 0; }

void disposeListChunk(ListChunk *chunk) {
  if (!chunk)
    return;
  delete chunk->index;
  delete chunk->data;
  delete chunk;
}
