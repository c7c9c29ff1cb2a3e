#include "controls/MessageDialog.h"

#include "controls/MessageDialogClass.h"
#include "runtime/loop/RunLoop.h"
#include "runtime/objects/ClassLookup.h"
#include "runtime/startup/RuntimeLifecycle.h"
#include "windows/Pane.h"

MessageDialog::MessageDialog() : header{} { Init(); }

MessageDialog::~MessageDialog() { Destroy(false); }

void MessageDialog::Init() {
  RuntimeObject **buttons[] = {&actionButton, &cancelButton, &alternateButton};
  ObjectDefinition *classes[] = {ActionButtonClass(), CancelButtonClass(),
                                 AlternateActionButtonClass()};
  for (int i = 0; i < 3; ++i) {
    *buttons[i] = CreateInstance(classes[i]);
    if (*buttons[i])
      reinterpret_cast<MessageDialogButtonObject *>(*buttons[i])->owner = this;
  }
  icon = 0;
  cancelShown = 0;
  alternateShown = 0;
  defaultId = kActionButton;
  cancelId = kCancelButton;
}

void MessageDialog::Destroy(bool releaseStrings) {
  for (RuntimeObject **button : {&actionButton, &cancelButton, &alternateButton}) {
    if (!*button)
      continue;
    // Code may still hold the button; it must not reach this dialog.
    reinterpret_cast<MessageDialogButtonObject *>(*button)->owner = nullptr;
    RuntimeUnlockObject(*button);
    *button = nullptr;
  }
  if (!releaseStrings)
    return;
  for (string *s : {&title, &message, &explanation, &actionCaption, &cancelCaption,
                    &alternateCaption})
    *s = string();
}

int32_t MessageDialog::ShowModal() { return Run(false); }

int32_t MessageDialog::ShowModalWhileShuttingDown() { return Run(true); }

int32_t MessageDialog::Run(bool whileShuttingDown) {
  Pane::AboutToYield();
  // Each run keeps its own result, so that a dialog run from a timer inside
  // this one's loop leaves it alone.
  int32_t response = kNoButton;
  QV::Rect bounds{0, 0, 1, 1};
  auto *imp = new Imp(this, bounds, &response);
  SubPaneWatcher watch(imp);
  while (watch.pane() && imp->IsVisible() && !imp->IsClosing() &&
         (whileShuttingDown || !IsAppShuttingDown()))
    ModalEvents();
  if (watch.pane() && !imp->IsClosing())
    imp->Close();
  return response;
}

void PresentFinalDialog(const FinalDialogText &text) {
  MessageDialog dialog;
  dialog.icon = 2;
  dialog.message = text.message;
  dialog.explanation = text.explanation;
  dialog.ShowModalWhileShuttingDown();
}
