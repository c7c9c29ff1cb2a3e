// The OLEContainer control, inert on this platform: its pane never embeds an
// object, so Content is nil and the pane takes no focus. The router would
// fire ShowObject and EventTriggered for an embedded object; nothing asks it.
#pragma once
#include <cstddef>
#include <cstdint>

#include "controls/RuntimeControl.h"
#include "foundation/String.h"
#include "runtime/objects/ObjectDefinition.h"
#include "windows/SubPane.h"

struct RuntimeArray;

struct OLEContainerObject {
  RuntimeControl control;
  stringStorage *programID;
};
static_assert(sizeof(OLEContainerObject) == 104);
static_assert(offsetof(OLEContainerObject, programID) == 100);

// What the pane tells its control about the embedded object.
class OLEContainerDelegate {
public:
  virtual ~OLEContainerDelegate() = default;
  virtual void ShowObject() = 0;
  virtual void EventTriggered(const string &name, RuntimeArray *parameters) = 0;
};

// The router: fires the control's ShowObject and EventTriggered handlers.
class RuntimeOLEContainerDelegate final : public OLEContainerDelegate {
public:
  explicit RuntimeOLEContainerDelegate(OLEContainerObject *control) : mControl(control) {}
  void ShowObject() override;
  void EventTriggered(const string &name, RuntimeArray *parameters) override;
  void ForgetControl() { mControl = nullptr; }

private:
  OLEContainerObject *mControl; // not counted
};

class OLEContainer final : public ContainerPane {
public:
  // Takes the delegate.
  OLEContainer(OLEContainerObject *control, OLEContainerDelegate *delegate,
               ContainerPane *container, int32_t tabPanelIndex, const QV::Rect &bounds);
  ~OLEContainer() override;

  // Lets any content go and reports failure: nothing can be embedded here.
  bool CreateObject(const string &programID);
  void DestroyObject();
  void ShowPropertyPages() {}
  // The content with a new reference (nil here).
  RuntimeObject *Content() const;

  bool AcceptFocus() override { return mObjectPresent; }
  void GainedFocus() override {}
  void LostFocus() override {}
  bool CanLoseFocusOnArrowKeyPress() override { return false; }
  // A closing pane is forgotten by its control.
  void Close() override;

  OLEContainerDelegate *Delegate() const { return mDelegate; }
  void ForgetControl();

private:
  OLEContainerObject *mControl; // not counted
  OLEContainerDelegate *mDelegate;
  RuntimeObject *mContent = nullptr; // counted
  bool mObjectPresent = false;
};

ObjectDefinition *OLEContainerClass();
// The events, in slot order.
enum class OLEContainerEvent { kShowObject, kEventTriggered };
const ObjectHook *OLEContainerEventHook(OLEContainerEvent event);

extern "C" {
void OLEContainerCreatePane(RuntimeObject *object);
RuntimeObject *OLEContainerContentGetter(RuntimeObject *self, int32_t);
int32_t OLEContainerCreateObject(RuntimeObject *self);
void OLEContainerDestroyObject(RuntimeObject *self);
}
