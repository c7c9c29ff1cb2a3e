// The one walk over a window's controls that may run language code on the
// way: handlers can close controls, drop the last references to them or to
// the window, and close the window itself.
#pragma once
#include <cstddef>
#include <vector>

#include "foundation/StringMap.h"
#include "runtime/loop/WindowInterface.h"

class RuntimeViewWindow;
struct RuntimeObject;

// The window's controls in the control map's order, as they stood when the
// walk began. The window object and each control are held while the walk
// lives. A control comes up only while the map still lists it (a handler
// may have closed it since), and the walk ends once the window's native
// window closes: once it goes, or starts closing when it was not closing
// as the walk began. Controls added meanwhile are not visited.
class ControlWalk {
public:
  explicit ControlWalk(RuntimeView *view);
  ~ControlWalk();
  ControlWalk(const ControlWalk &) = delete;
  ControlWalk &operator=(const ControlWalk &) = delete;

  class Iterator {
  public:
    RuntimeObject *operator*() const { return mWalk->mControls[mAt]; }
    Iterator &operator++() {
      mAt = mWalk->NextVisited(mAt + 1);
      return *this;
    }
    bool operator!=(const Iterator &other) const { return mAt != other.mAt; }

  private:
    friend class ControlWalk;
    Iterator(ControlWalk *walk, size_t at) : mWalk(walk), mAt(at) {}
    ControlWalk *mWalk;
    size_t mAt;
  };
  Iterator begin() { return Iterator(this, NextVisited(0)); }
  Iterator end() { return Iterator(this, mControls.size()); }

  // True once the window closed during the walk.
  bool WindowClosed() const;

private:
  // The first position from `from` on whose control is still listed, or
  // the end when there is none or the window closed.
  size_t NextVisited(size_t from);
  bool Listed(RuntimeObject *control);

  RuntimeView *mView = nullptr;
  RuntimeViewWindow *mNative = nullptr;
  bool mWasClosing = false;
  std::vector<RuntimeObject *> mControls;
  // Stands where the last control was found, so that an unchanged map costs
  // one step per control.
  StringMapIterator<RuntimeObject *> *mCursor = nullptr;
  StringMap<RuntimeObject *> *mCursorMap = nullptr;
};
