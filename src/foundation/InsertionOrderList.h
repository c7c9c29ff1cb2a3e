// The insertion-ordered entry list that the hash maps keep beside their bins:
// singly linked through each entry's nextInOrder, with first and last ends.
#pragma once

template <typename Entry>
void AppendInInsertionOrder(Entry *&first, Entry *&last, Entry *entry) {
  entry->nextInOrder = nullptr;
  if (last)
    last->nextInOrder = entry;
  else
    first = entry;
  last = entry;
}

// Deletes every entry of the list; the ends are the caller's to clear.
template <typename Entry>
void DeleteInInsertionOrder(Entry *first) {
  while (first) {
    Entry *next = first->nextInOrder;
    delete first;
    first = next;
  }
}
