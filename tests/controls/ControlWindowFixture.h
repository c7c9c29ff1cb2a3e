// A window object of a test class holding controls of a test RectControl
// subclass whose CreatePane makes a plain container pane, shown by its native
// window on the tests' private display. What the controls' handlers heard is
// logged as "Event Name" or "Event Name$Index".
#pragma once
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "controls/ControlClasses.h"
#include "runtime/exceptions/RuntimeExceptions.h"
#include "windows/RuntimeWindow.h"

ObjectDefinition *TestControlClass();
ObjectDefinition *TestWindowClass();
std::vector<std::string> &ControlLog();

class ControlWindow : public testing::Test {
protected:
  void SetUp() override;
  void TearDown() override;

  // A control in the window's map under Name or Name$Index, holding the
  // map's reference; bounds left, top, width, height. After Open it gets
  // its pane at once, as a window that is open does.
  RuntimeObject *Add(const char *name, int32_t index, int left, int top, int width, int height,
                     bool visible = true, bool enabled = true);
  // The same for a control of the class (outside any control array), added
  // to the open window as WindowAddControl adds it; beforePane runs on the
  // object before its pane is made.
  RuntimeObject *AddOf(ObjectDefinition *cls, const char *name, int left, int top, int width,
                       int height, const std::function<void(RuntimeObject *)> &beforePane = {});
  // The native window: CreateControls, then the controls' panes in map order.
  RuntimeViewWindow *Open();
  std::vector<std::string> Keys() const;

  RuntimeObject *window = nullptr;
  RuntimeView *view = nullptr;

private:
  RuntimeObject *Make(ObjectDefinition *cls, const char *name, int32_t index, int left, int top,
                      int width, int height, bool visible, bool enabled,
                      const std::function<void(RuntimeObject *)> &beforePane);
};

inline RuntimeControl *Ctl(RuntimeObject *o) { return reinterpret_cast<RuntimeControl *>(o); }

// While it lives, the class names of the exceptions raised with no handler,
// in order.
struct RaisedClasses {
  RaisedClasses() {
    Names().clear();
    SetUnhandledExceptionHook(
        [](RuntimeObject *e) { Names().push_back(stringStorage::CString(e->classPtr->name)); });
  }
  ~RaisedClasses() { SetUnhandledExceptionHook(nullptr); }
  RaisedClasses(const RaisedClasses &) = delete;
  RaisedClasses &operator=(const RaisedClasses &) = delete;
  static std::vector<std::string> &Names() {
    static std::vector<std::string> names;
    return names;
  }
};
