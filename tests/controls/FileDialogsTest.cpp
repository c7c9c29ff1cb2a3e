// The file dialogs and the colour picker, run as real GTK+ dialogs that
// xdotool answers: typed paths, folders, the suggested name, cancelling,
// the working directory InitialDirectory leaves, a second run, the base
// class, the global functions, and the colour picker's OK and Cancel.
#include <gtest/gtest.h>

#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <string>

#include <gtk/gtk.h>

#include "controls/FolderItemDialog.h"
#include "runtime/application/ApplicationClass.h"
#include "runtime/objects/ClassLookup.h"
#include "runtime/objects/ValueAccessors.h"
#include "runtime/objects/ValueEntryPoints.h"
#include "support/AlertRecorder.h"
#include "support/WindowsTestSupport.h"

// From GDK's X11 header, which clashes with the windows area's names.
extern "C" unsigned long gdk_x11_drawable_get_xid(GdkDrawable *drawable);

namespace {

// The process's dialog that is up (a file selection or a colour picker).
GtkWidget *OpenDialog() {
  GtkWidget *found = nullptr;
  GList *windows = gtk_window_list_toplevels();
  for (GList *w = windows; w; w = w->next) {
    auto *widget = static_cast<GtkWidget *>(w->data);
    if ((GTK_IS_FILE_SELECTION(widget) || GTK_IS_COLOR_SELECTION_DIALOG(widget)) &&
        GTK_WIDGET_MAPPED(widget))
      found = widget;
  }
  g_list_free(windows);
  return found;
}

// Answers each dialog the code under test runs: every second while one is
// up, keysFor readies it and names the keys that xdotool sends it ("" sends
// none this time), again until it closes, so that an input lost on a
// loaded machine is sent again. After many tries the dialog is ended
// without a choice, so no run hangs.
class Answerer {
public:
  explicit Answerer(std::function<std::string(GtkWidget *)> keysFor)
      : mKeysFor(std::move(keysFor)) {
    mSource = g_timeout_add(1000, Tick, this);
  }
  ~Answerer() { g_source_remove(mSource); }
  Answerer(const Answerer &) = delete;
  Answerer &operator=(const Answerer &) = delete;

  int Tries() const { return mTries; }

private:
  static gboolean Tick(gpointer data) {
    auto *self = static_cast<Answerer *>(data);
    GtkWidget *dialog = OpenDialog();
    if (!dialog)
      return TRUE;
    if (++self->mTries > 120) {
      gtk_dialog_response(GTK_DIALOG(dialog), GTK_RESPONSE_NONE);
      return TRUE;
    }
    const std::string keys = self->mKeysFor(dialog);
    if (!keys.empty())
      XDoTool("windowfocus " + std::to_string(gdk_x11_drawable_get_xid(dialog->window)) + " " +
              keys);
    return TRUE;
  }

  std::function<std::string(GtkWidget *)> mKeysFor;
  guint mSource = 0;
  int mTries = 0;
};

GtkEntry *NameEntry(GtkWidget *dialog) {
  return GTK_ENTRY(GTK_FILE_SELECTION(dialog)->selection_entry);
}

// Types the text into the file selection's name field and, once it is all
// there, presses Return. While the field still changes, keys are arriving
// (a loaded machine may take seconds over them) and it is left alone; once
// it has stood still for a tick holding something else (for three ticks
// when empty or a prefix, as keys may be only slow), it is emptied and
// typed again. Emptying it only when no keys are in flight keeps a late
// key from spoiling the next typing.
Answerer Typing(const std::string &text) {
  return Answerer([text, last = std::string(), still = 0](GtkWidget *dialog) mutable {
    const std::string now = gtk_entry_get_text(NameEntry(dialog));
    if (now == text)
      return std::string("key Return");
    if (now != last) {
      last = now;
      still = 0;
      return std::string();
    }
    const bool prefix = text.compare(0, now.size(), now) == 0;
    if (++still < (prefix ? 3 : 1))
      return std::string();
    still = 0;
    last.clear();
    gtk_entry_set_text(NameEntry(dialog), "");
    gtk_widget_grab_focus(GTK_WIDGET(NameEntry(dialog)));
    return "type --delay 30 '" + text + "'";
  });
}

// Presses the keys on the dialog as it stands.
Answerer Pressing(const std::string &keys) {
  return Answerer([keys](GtkWidget *) { return keys; });
}

Answerer Cancelling() { return Pressing("key Escape"); }

std::string PathOf(RuntimeObject *item) {
  stringStorage *path = FolderItemAbsolutePath(item);
  std::string text = path ? stringStorage::CString(path) : "";
  RuntimeUnlockString(path);
  return text;
}

std::string WorkingDirectory() {
  char buffer[PATH_MAX];
  return getcwd(buffer, sizeof buffer) ? buffer : "";
}

class FileDialogs : public testing::Test {
protected:
  void SetUp() override {
    if (!HaveDisplay())
      GTEST_SKIP() << "no display";
    mStart = WorkingDirectory();
    char pattern[] = "/tmp/dialogsXXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    mDir = pattern;
    ASSERT_EQ(mkdir((mDir + "/sub").c_str(), 0700), 0);
    std::ofstream(mDir + "/file.txt") << "x";
  }
  void TearDown() override {
    RuntimeUnlockObject(mDialog);
    if (!mStart.empty())
      EXPECT_EQ(chdir(mStart.c_str()), 0);
    if (!mDir.empty())
      std::system(("rm -rf '" + mDir + "'").c_str());
  }

  FolderItemDialogData *Make(ObjectDefinition *cls) {
    mDialog = CreateInstance(cls);
    return reinterpret_cast<FolderItemDialogData *>(mDialog);
  }
  // Runs the dialog: the path of what it answered ("nil" for nil), which
  // must be its Result too.
  std::string Run() {
    RuntimeObject *chosen = FolderItemDialogShowModal(mDialog);
    EXPECT_EQ(chosen, reinterpret_cast<FolderItemDialogData *>(mDialog)->result);
    std::string path = chosen ? PathOf(chosen) : "nil";
    RuntimeUnlockObject(chosen);
    return path;
  }

  std::string mStart, mDir;
  RuntimeObject *mDialog = nullptr;
};

TEST_F(FileDialogs, ATypedPathIsTheResultAndASecondRunDropsIt) {
  Make(OpenDialogClass());
  {
    Answerer answer = Typing(mDir + "/file.txt");
    EXPECT_EQ(Run(), mDir + "/file.txt");
  }
  Answerer cancel = Cancelling();
  EXPECT_EQ(Run(), "nil");
  EXPECT_LE(cancel.Tries(), 120);
}

// Open and save dialogs take no folder; a folder dialog keeps the slash.
TEST_F(FileDialogs, ANameEndingInASlashIsNoFileButIsAFolder) {
  struct Case {
    ObjectDefinition *(*cls)();
    std::string expected;
  };
  for (const Case &c : {Case{OpenDialogClass, "nil"}, Case{SelectFolderDialogClass, "sub/"}}) {
    Make(c.cls());
    Answerer answer = Typing(mDir + "/sub/");
    const std::string path = Run();
    EXPECT_EQ(path, c.expected == "nil" ? "nil" : mDir + "/" + c.expected);
    RuntimeUnlockObject(mDialog);
    mDialog = nullptr;
  }
}

// The suggested name is filled in and, accepted, names a file in the
// working directory that InitialDirectory chose; that directory stays the
// working one after a cancelled run as well.
TEST_F(FileDialogs, InitialDirectoryMovesTheWorkingDirectoryAndSaveShowsTheSuggestedName) {
  FolderItemDialogData *d = Make(SaveAsDialogClass());
  RuntimeObject *sub = NewFolderItemForPath((mDir + "/sub").c_str());
  objSetter(mDialog, offsetof(FolderItemDialogData, initialDirectory), sub);
  RuntimeUnlockObject(sub);
  string name("notes.txt");
  stringSetter(mDialog, offsetof(FolderItemDialogData, suggestedFileName), name.Storage());
  std::string shown;
  {
    Answerer answer([&](GtkWidget *dialog) {
      shown = gtk_entry_get_text(NameEntry(dialog));
      return std::string("key Return");
    });
    EXPECT_EQ(Run(), mDir + "/sub/notes.txt");
  }
  EXPECT_EQ(shown, "notes.txt");
  EXPECT_EQ(WorkingDirectory(), mDir + "/sub");

  ASSERT_EQ(chdir(mStart.c_str()), 0);
  d->type = FolderItemDialogData::kOpen;
  Answerer cancel = Cancelling();
  EXPECT_EQ(Run(), "nil");
  EXPECT_EQ(WorkingDirectory(), mDir + "/sub");
}

TEST_F(FileDialogs, TheBaseClassAlertsAndAnswersNil) {
  AlertRecorder alerts;
  Make(FolderItemDialogClass());
  EXPECT_EQ(Run(), "nil");
  ASSERT_EQ(alerts.count(), 1u);
  EXPECT_EQ(alerts.alerts()[0].condition, "-1 != mType");
  EXPECT_EQ(alerts.alerts()[0].line, 886);
}

TEST_F(FileDialogs, TheGlobalFunctionsRunTheirDialogs) {
  string filter("text");
  {
    Answerer answer = Typing(mDir + "/file.txt");
    RuntimeObject *item = RuntimeGetOpenFolderItem(filter.Storage());
    EXPECT_EQ(PathOf(item), mDir + "/file.txt");
    RuntimeUnlockObject(item);
  }
  {
    Answerer answer = Typing(mDir + "/sub/");
    RuntimeObject *item = RuntimeSelectFolder();
    EXPECT_EQ(PathOf(item), mDir + "/sub/");
    RuntimeUnlockObject(item);
  }
  ASSERT_EQ(chdir(mDir.c_str()), 0);
  std::string shown;
  string name("saved.txt");
  Answerer answer([&](GtkWidget *dialog) {
    shown = gtk_entry_get_text(NameEntry(dialog));
    return std::string("key Return");
  });
  RuntimeObject *item = RuntimeGetSaveFolderItem(filter.Storage(), name.Storage());
  EXPECT_EQ(PathOf(item), mDir + "/saved.txt");
  EXPECT_EQ(shown, "saved.txt");
  RuntimeUnlockObject(item);
}

// OK on the untouched picker answers its own colour, whatever the value
// held; Cancel leaves the value.
TEST(SelectColor, OkGivesThePickersColourAndCancelKeepsTheValue) {
  if (!HaveDisplay())
    GTEST_SKIP() << "no display";
  auto pressOk = [](GtkWidget *dialog) {
    gtk_widget_grab_focus(GTK_COLOR_SELECTION_DIALOG(dialog)->ok_button);
    return std::string("key Return");
  };
  string prompt("Pick");
  int32_t first = 0x123456, second = 0xABCDEF;
  {
    Answerer ok(pressOk);
    EXPECT_EQ(selectColor(&first, prompt.Storage()), 1);
    EXPECT_EQ(selectColor(&second, prompt.Storage()), 1);
  }
  EXPECT_EQ(first, second) << "the picker's start colour both times";
  int32_t kept = 0x123456;
  Answerer cancel = Pressing("key Escape");
  EXPECT_EQ(selectColor(&kept, prompt.Storage()), 0);
  EXPECT_EQ(kept, 0x123456);
}

} // namespace
