#include "foundation/DataFile.h"
#include "foundation/NumberText.h"
#include "runtime/objects/RuntimeDebugModule.h"

extern "C" void debugDumpObjects(stringStorage *path) {
  DataFile *file = DataFile::New();
  file->Create(string::Borrow(path));
  RuntimeObject *runtime = RuntimeDebugInstance();
  file->WriteLine(ultoa(RuntimeDebugMemoryUsed(runtime, 0)) + string(" used in heap1"));
  int32_t count = RuntimeDebugObjectCount(runtime, 0);
  file->WriteLine(ultoa(count) + string(" objects"));
  for (int32_t i = 0; i < count; ++i)
    file->WriteLine(string::Adopt(RuntimeDebugObjectClass(runtime, i)));
  RuntimeUnlockObject(runtime);
  delete file;
}
