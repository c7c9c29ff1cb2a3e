// A numbered list of byte blocks kept in two anonymous temporary files: the
// data file holds the entries one after another, the index file entry i's
// 4-byte offset at byte 4 × i. Sorted result rows and scrollable rows live
// in list chunks, so that their size is bounded by the disk, not memory.
#pragma once
#include <cstdint>

class DataFile;
class RandomAccessMechanism;

struct ListChunk {
  int32_t count = 0;
  DataFile *index = nullptr;
  DataFile *data = nullptr;
};

// A new, empty list chunk; nil when either temporary file cannot be made.
ListChunk *newListChunk();
// Starts entry count: answers the data file positioned at its end for the
// caller to write the entry, or nil (count unchanged) when that fails.
RandomAccessMechanism *addListChunk(ListChunk *chunk);
// The data file positioned at entry i, or nil.
RandomAccessMechanism *getListChunk(ListChunk *chunk, int32_t i);
// Entry i's offset in the data file; 0 when out of range or unreadable.
int32_t getListChunkOffset(ListChunk *chunk, int32_t i);
RandomAccessMechanism *getChunkStorage(ListChunk *chunk);
int32_t listChunkCount(const ListChunk *chunk);
// Destroys both files and the chunk; nil is ignored.
void disposeListChunk(ListChunk *chunk);
