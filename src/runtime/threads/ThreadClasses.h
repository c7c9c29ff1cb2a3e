// The language classes Thread, Semaphore and CriticalSection over the
// cooperative threads of RuntimeThread.h.
#pragma once
#include <cstddef>
#include <cstdint>

#include "runtime/objects/ObjectDefinition.h"
#include "runtime/objects/RuntimeObject.h"

struct RuntimeThread;

struct ThreadObject {
  RuntimeObject header;
  RuntimeThread *record; // while the thread runs
  int32_t stackSize;     // 0 or less: the default
  uint8_t suspended;
};
static_assert(sizeof(ThreadObject) == 36);
static_assert(offsetof(ThreadObject, record) == 24);
static_assert(offsetof(ThreadObject, stackSize) == 28);
static_assert(offsetof(ThreadObject, suspended) == 32);

struct SemaphoreObject {
  RuntimeObject header;
  int32_t taken;
};
static_assert(sizeof(SemaphoreObject) == 28);

struct CriticalSectionObject {
  RuntimeObject header;
  RuntimeThread *owner;
  int32_t count;
};
static_assert(sizeof(CriticalSectionObject) == 32);
static_assert(offsetof(CriticalSectionObject, owner) == 24);

// Used by ThreadEntry on the thread's own stack.
void FireThreadRun(RuntimeObject *thread);
void FinishThreadObject(RuntimeObject *thread);
bool ThreadObjectSuspended(RuntimeObject *thread);

ObjectDefinition *ThreadClass();
ObjectDefinition *SemaphoreClass();
ObjectDefinition *CriticalSectionClass();

extern "C" {

void threadRun(RuntimeObject *thread);
int32_t ThreadGetStackSize(RuntimeObject *thread, int32_t param);
void ThreadSetStackSize(RuntimeObject *thread, int32_t param, int32_t size);
int32_t ThreadGetID(RuntimeObject *thread, int32_t param);
int32_t ThreadGetSuspended(RuntimeObject *thread, int32_t param);
void ThreadSetSuspended(RuntimeObject *thread, int32_t param, int32_t value);
void Semaphore_Signal(RuntimeObject *semaphore);
void semaphore_release(RuntimeObject *semaphore);
void criticalsection_enter(RuntimeObject *section);
void criticalsection_leave(RuntimeObject *section);
int32_t DebuggerThreadCount();
RuntimeObject *DebuggerThreadLookup(int32_t ignored, int32_t index);
}
