// Pollables: objects polled once per run-loop step (IPC sockets). The list
// does not own them.
#pragma once

class Pollable {
public:
  virtual void Poll() = 0;

protected:
  ~Pollable() = default;
};

// Appends without checking for duplicates.
void AddToPollableList(Pollable *pollable);
// Removes the newest registration only.
void RemoveFromPollableList(Pollable *pollable);
// Polls every registered object, newest first.
void PollPollableList();
