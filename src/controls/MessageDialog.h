// The runtime's own alert: an icon, a message, an optional explanation and
// one to three push buttons, run modally. The same record is the body of
// the language's MessageDialog object and a plain object that MsgBox and
// the unhandled-exception path build for themselves.
#pragma once
#include <cstddef>
#include <cstdint>

#include "controls/PushButton.h"
#include "foundation/String.h"
#include "graphics/FontStructure.h"
#include "runtime/objects/RuntimeObject.h"
#include "windows/Window.h"

// Button ids: roles and the result of a run.
enum MessageDialogButtonId : int32_t {
  kNoButton = -1,
  kCancelButton = 0,
  kActionButton = 1,
  kAlternateButton = 2,
};

class MessageDialog;

// A button object of the language: it points at its dialog, uncounted; the
// dialog clears the pointer when it goes.
struct MessageDialogButtonObject {
  RuntimeObject header;
  MessageDialog *owner;
};
static_assert(sizeof(MessageDialogButtonObject) == 28);

class MessageDialog {
public:
  // A plain dialog: OK alone, the default, information icon.
  MessageDialog();
  ~MessageDialog();
  MessageDialog(const MessageDialog &) = delete;
  MessageDialog &operator=(const MessageDialog &) = delete;

  // Creates the three button objects and sets the initial roles.
  void Init();
  // Releases the button objects (clearing their link to this dialog); with
  // releaseStrings also the texts, as the language object's destructor does.
  void Destroy(bool releaseStrings);
  // Runs the dialog; the pressed button's id, or -1.
  int32_t ShowModal();
  // The same for the last words of a program that is already shutting down.
  int32_t ShowModalWhileShuttingDown();

  class Imp;

  RuntimeObject header; // the language object's header; unused in a plain dialog
  RuntimeObject *actionButton;
  RuntimeObject *cancelButton;
  RuntimeObject *alternateButton;
  int32_t icon; // -1 to 3
  string title;
  string message;
  string explanation;
  uint8_t cancelShown;
  uint8_t alternateShown;
  uint8_t pad54[2];
  string actionCaption; // empty: the default caption
  string cancelCaption;
  string alternateCaption;
  int32_t defaultId;
  int32_t cancelId;

private:
  int32_t Run(bool whileShuttingDown);
};
static_assert(offsetof(MessageDialog, header) == 0);
static_assert(offsetof(MessageDialog, actionButton) == 24);
static_assert(offsetof(MessageDialog, cancelButton) == 28);
static_assert(offsetof(MessageDialog, alternateButton) == 32);
static_assert(offsetof(MessageDialog, icon) == 36);
static_assert(offsetof(MessageDialog, title) == 40);
static_assert(offsetof(MessageDialog, message) == 44);
static_assert(offsetof(MessageDialog, explanation) == 48);
static_assert(offsetof(MessageDialog, cancelShown) == 52);
static_assert(offsetof(MessageDialog, alternateShown) == 53);
static_assert(offsetof(MessageDialog, actionCaption) == 56);
static_assert(offsetof(MessageDialog, cancelCaption) == 60);
static_assert(offsetof(MessageDialog, alternateCaption) == 64);
static_assert(offsetof(MessageDialog, defaultId) == 68);
static_assert(offsetof(MessageDialog, cancelId) == 72);
constexpr int32_t kMessageDialogInstanceSize = 76;
static_assert(sizeof(MessageDialog) == kMessageDialogInstanceSize);

// The dialog's window while it runs: lays itself out from the dialog, draws
// the icon and texts, and is the delegate of its own buttons.
class MessageDialog::Imp : public Window, public PushButtonDelegate {
public:
  Imp(MessageDialog *dialog, const QV::Rect &bounds, int32_t *response);

  void Redraw(Graphics *g) override;
  bool CloseBoxClicked() override;
  SubPane *GetFocus() override;
  void PushButtonClicked(PushButton *pane) override;

  PushButton *ButtonPane(int32_t id) const;
  const QV::Rect &MessageRect() const { return mMessageRect; }
  const QV::Rect &ExplanationRect() const { return mExplanationRect; }

  static constexpr int32_t kIconLeft = 10;
  static constexpr int32_t kIconTop = 12;
  static constexpr int32_t kIconSize = 32;

private:
  // Without a default button no button takes the focus when the window
  // shows, so that Return presses nothing.
  static void ShownWithoutDefault(GtkWidget *window, Imp *imp);

  MessageDialog *mDialog; // not owned
  PushButton *mActionPane = nullptr;
  PushButton *mCancelPane = nullptr;
  PushButton *mAlternatePane = nullptr;
  QV::Rect mMessageRect;
  QV::Rect mExplanationRect;
  FontStructure mMessageFont;
  FontStructure mExplanationFont;
  FontStructure mButtonFont;
  int32_t *mResponse; // the run's own result
};

// The final dialog of an unhandled exception: the message dialog with the
// error icon, shown modally even while the program shuts down.
struct FinalDialogText;
void PresentFinalDialog(const FinalDialogText &text);
