#include "windows/ControlWalk.h"

#include "runtime/objects/ObjectDefinitionConverter.h"
#include "windows/ControlServices.h"
#include "windows/RuntimeWindow.h"

ControlWalk::ControlWalk(RuntimeView *view) : mView(view) {
  if (!view)
    return;
  RuntimeLockObject(&view->header);
  mNative = view->nativeWindow;
  mWasClosing = mNative && mNative->IsClosing();
  if (!view->controlMap)
    return;
  StringMapIterator<RuntimeObject *> *it = view->controlMap->NewIterator();
  RuntimeObject *object = nullptr;
  while (it->Next(&object))
    if (IsControl(object)) {
      RuntimeLockObject(object);
      mControls.push_back(object);
    }
  delete it;
}

ControlWalk::~ControlWalk() {
  delete mCursor;
  // The controls go first: a control's last reference takes it out of the
  // window's map, which must still be there.
  for (RuntimeObject *c : mControls)
    RuntimeUnlockObject(c);
  if (mView)
    RuntimeUnlockObject(&mView->header);
}

bool ControlWalk::WindowClosed() const {
  if (!mNative)
    return false;
  if (mView->nativeWindow != mNative)
    return true;
  return !mWasClosing && mNative->IsClosing();
}

size_t ControlWalk::NextVisited(size_t from) {
  for (size_t at = from; at < mControls.size(); ++at) {
    if (WindowClosed())
      break;
    if (Listed(mControls[at]))
      return at;
  }
  return mControls.size();
}

bool ControlWalk::Listed(RuntimeObject *control) {
  StringMap<RuntimeObject *> *map = mView->controlMap;
  if (!map)
    return false;
  if (map != mCursorMap) {
    delete mCursor;
    mCursor = nullptr;
    mCursorMap = map;
  }
  // From the cursor to the end first, then once more from the start.
  for (int pass = 0; pass < 2; ++pass) {
    if (!mCursor)
      mCursor = map->NewIterator();
    RuntimeObject *object = nullptr;
    while (mCursor->Next(&object))
      if (object == control)
        return true;
    delete mCursor;
    mCursor = nullptr;
  }
  return false;
}
