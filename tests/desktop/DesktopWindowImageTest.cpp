// Drag and drop, the Keyboard and System modules and a sound resource driven
// from compiled code (the desktop_window image) under the test's X server:
// a DragItem dragged onto a push button, onto nothing and out of every
// window, a file dropped from another client, the modifiers of real key
// presses, the command line the image was started with, and its 'WAVE'
// resource played with and without a sound device.
// Each input is repeated until the line it causes arrives, within a bound.
#include <gtest/gtest.h>

#include <stdlib.h>
#include <unistd.h>

#include <cstdint>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "graphics/WindowPixels.h"
#include "support/RunningImage.h"
#include "support/WindowsTestSupport.h"

// From GDK's X11 header, which clashes with the windows area's names.
extern "C" unsigned long gdk_x11_drawable_get_xid(GdkDrawable *drawable);

namespace {

using Lines = std::vector<std::string>;

constexpr uint32_t kBlack = 0x000000, kWhite = 0xFFFFFF;

// An ALSA configuration of its own for the image: with a null default PCM
// every frame is taken at once; without any PCM no device opens, as on a
// machine with neither OSS nor ALSA. Both keep the host's cards out.
class AlsaConfiguration {
public:
  explicit AlsaConfiguration(bool nullDevice) {
    char pattern[] = "/tmp/alsaconfXXXXXX";
    const int fd = mkstemp(pattern);
    if (fd >= 0)
      close(fd);
    mPath = pattern;
    std::ofstream(mPath) << (nullDevice ? "pcm.!default { type null }\n" : "");
  }
  ~AlsaConfiguration() { unlink(mPath.c_str()); }
  std::string Environment() const { return "ALSA_CONFIG_PATH=" + mPath; }

private:
  std::string mPath;
};

// A window of the test's own that offers one URI list by drag and drop, as
// another program's file manager does.
class UriListSource {
public:
  explicit UriListSource(const std::string &list) : mList(list) {
    mWindow = gtk_window_new(GTK_WINDOW_TOPLEVEL);
    gtk_window_set_title(GTK_WINDOW(mWindow), "DragSource");
    gtk_window_set_default_size(GTK_WINDOW(mWindow), 100, 60);
    gtk_window_move(GTK_WINDOW(mWindow), 600, 500);
    GtkWidget *box = gtk_event_box_new();
    gtk_container_add(GTK_CONTAINER(mWindow), box);
    static const GtkTargetEntry targets[] = {{const_cast<gchar *>("text/uri-list"), 0, 0}};
    gtk_drag_source_set(box, GDK_BUTTON1_MASK, targets, 1, GDK_ACTION_COPY);
    g_signal_connect(box, "drag-begin", G_CALLBACK(Began), this);
    g_signal_connect(box, "drag-end", G_CALLBACK(Ended), this);
    g_signal_connect(box, "drag-data-get", G_CALLBACK(Get), this);
    gtk_widget_show_all(mWindow);
  }
  ~UriListSource() { gtk_widget_destroy(mWindow); }
  UriListSource(const UriListSource &) = delete;
  UriListSource &operator=(const UriListSource &) = delete;

  bool Mapped() const { return GTK_WIDGET_MAPPED(mWindow); }
  std::string Xid() const { return std::to_string(gdk_x11_drawable_get_xid(mWindow->window)); }
  // Whether a drag runs, and whether a window under the pointer takes it.
  bool Dragging() const { return mContext != nullptr; }
  bool Accepted() const { return mContext && mContext->dest_window && mContext->action; }

private:
  static void Began(GtkWidget *, GdkDragContext *context, gpointer self) {
    static_cast<UriListSource *>(self)->mContext = context;
  }
  static void Ended(GtkWidget *, GdkDragContext *, gpointer self) {
    static_cast<UriListSource *>(self)->mContext = nullptr;
  }
  static void Get(GtkWidget *, GdkDragContext *, GtkSelectionData *data, guint, guint,
                  gpointer self) {
    const std::string &list = static_cast<UriListSource *>(self)->mList;
    gtk_selection_data_set(data, data->target, 8, reinterpret_cast<const guchar *>(list.data()),
                           static_cast<gint>(list.size()));
  }

  std::string mList;
  GtkWidget *mWindow = nullptr;
  GdkDragContext *mContext = nullptr;
};

class DesktopWindowImage : public testing::Test {
protected:
  // Starts the image with the arguments and a sound device or none.
  void Start(const std::string &arguments, bool nullDevice) {
    if (!HaveDisplay())
      GTEST_SKIP() << "no display";
    mAlsa = std::make_unique<AlsaConfiguration>(nullDevice);
    mImage = std::make_unique<RunningImage>("desktop_window", arguments, mAlsa->Environment());
    ASSERT_TRUE(mImage->Started());
    mWindow = mImage->FocusedWindow("Desktop", "Open window");
    ASSERT_FALSE(mWindow.empty()) << "no window";
  }

  std::string At(int x, int y) const {
    return "mousemove --window " + mWindow + " " + std::to_string(x) + " " + std::to_string(y) +
           " ";
  }
  // Whether the window's pixel at (x, y) has the colour, within the bound.
  bool PixelBecomes(int x, int y, uint32_t colour) {
    return StepUntil([&] { return WindowPixels(mWindow).At(x, y) == colour; });
  }

  std::unique_ptr<AlsaConfiguration> mAlsa;
  std::unique_ptr<RunningImage> mImage;
  std::string mWindow;
};

// A press at (40, 40) starts a drag of the bounds (30, 30) to (50, 50),
// outlined in the window. The outline follows the pointer: at (150, 38) its
// top edge runs along y 28 from x 140 to 160. Released over the push button
// at (200, 20) to (300, 50), the item's Text reaches its DropObject.
TEST_F(DesktopWindowImage, ADragFromTheWindowDropsItsTextOnAPushButtonTakingText) {
  Start("", false);
  ASSERT_TRUE(mImage->InputUntilLine(At(40, 40) + "mousedown 1", "Drag starts"));
  EXPECT_TRUE(PixelBecomes(30, 40, kBlack)) << "the outline's left edge";
  ASSERT_TRUE(XDoTool(At(150, 38)));
  EXPECT_TRUE(PixelBecomes(150, 28, kBlack)) << "the outline follows the pointer";
  EXPECT_EQ(WindowPixels(mWindow).At(30, 40), kWhite) << "and left its first place";
  ASSERT_TRUE(XDoTool(At(250, 35)));
  ASSERT_TRUE(mImage->InputUntilLine("mouseup 1", "Drag ended"));
  EXPECT_EQ(mImage->LinesStartingWith("DropObject"), Lines{"DropObject Target: dragged text"});
}

// Released where nothing takes drops, the drag ends without a drop and its
// outline goes; released outside every window of the program, likewise.
TEST_F(DesktopWindowImage, ADragReleasedWhereNothingTakesItEndsWithoutADrop) {
  Start("", false);
  ASSERT_TRUE(mImage->InputUntilLine(At(40, 40) + "mousedown 1", "Drag starts"));
  ASSERT_TRUE(XDoTool(At(150, 38)));
  EXPECT_TRUE(PixelBecomes(150, 28, kBlack)) << "the outline follows the pointer";
  ASSERT_TRUE(mImage->InputUntilLine("mouseup 1", "Drag ended"));
  EXPECT_TRUE(PixelBecomes(150, 28, kWhite)) << "the outline went with the drag";

  ASSERT_TRUE(mImage->InputUntilLine(At(40, 40) + "mousedown 1", "Drag starts"));
  ASSERT_TRUE(XDoTool(At(250, 35)));
  ASSERT_TRUE(XDoTool(At(600, 400)));
  ASSERT_TRUE(mImage->InputUntilLine("mouseup 1", "Drag ended"));
  EXPECT_EQ(mImage->LinesStartingWith("DropObject"), Lines{});
}

// A file whose path has blanks, dragged from another client's window onto
// the push button taking files at (200, 80) to (300, 110), arrives as a
// FolderItem of that path. The source answers the drop from this process's
// loop, so the test steps it while waiting; a drag that went astray on a
// loaded machine is made again.
TEST_F(DesktopWindowImage, AFileDraggedFromAnotherClientArrivesAsAFolderItemWithItsBlanks) {
  Start("", false);
  char pattern[] = "/tmp/drop testXXXXXX";
  ASSERT_NE(mkdtemp(pattern), nullptr);
  const std::string folder = pattern, path = folder + "/a file.txt";
  std::ofstream(path) << "x";
  gchar *uri = g_filename_to_uri(path.c_str(), nullptr, nullptr);
  ASSERT_NE(uri, nullptr);
  UriListSource source(std::string(uri) + "\r\n");
  g_free(uri);
  ASSERT_TRUE(StepUntil([&] { return source.Mapped(); }));
  const std::string line = "DropObject Files: " + path;
  bool dropped = false;
  for (int attempt = 0; attempt < 3 && !dropped; ++attempt) {
    ASSERT_TRUE(XDoTool("mousemove --window " + source.Xid() + " 30 30 mousedown 1"));
    if (XDoToolUntil("mousemove_relative 6 6", [&] { return source.Dragging(); }))
      XDoToolUntil(At(250, 95), [&] { return source.Accepted(); });
    ASSERT_TRUE(XDoTool("mouseup 1"));
    dropped = StepWithin([&] { return mImage->WaitForLineWithin(line, 50); }, 30);
  }
  EXPECT_TRUE(dropped) << testing::PrintToString(mImage->Lines());
  EXPECT_EQ(mImage->LinesStartingWith("DropObject"), Lines{line});
  unlink(path.c_str());
  rmdir(folder.c_str());
}

// ShiftKey reads the modifiers of the key press being handled; AsyncShiftKey
// reads whether Shift is held now, with no other key pressed.
TEST_F(DesktopWindowImage, ShiftKeyFollowsTheKeyPressAndAsyncShiftKeyTheHeldKey) {
  Start("", false);
  ASSERT_TRUE(mImage->WaitForLine("AsyncShiftKey 0"));
  ASSERT_TRUE(mImage->InputUntilLine("key shift+a", "KeyDown A ShiftKey 1 CommandKey 0"));
  ASSERT_TRUE(mImage->InputUntilLine("key a", "KeyDown a ShiftKey 0 CommandKey 0"));
  ASSERT_TRUE(mImage->InputUntilLine("keydown Shift_L", "AsyncShiftKey 1"));
  ASSERT_TRUE(mImage->InputUntilLine("keyup Shift_L", "AsyncShiftKey 0"));
}

// System.CommandLine joins the program and every argument unquoted.
TEST_F(DesktopWindowImage, CommandLineHoldsTheProgramAndItsArguments) {
  Start("'a b' c", false);
  const Lines lines = mImage->LinesStartingWith("CommandLine ");
  ASSERT_EQ(lines.size(), 1u);
  const std::string &line = lines[0];
  const std::string program = std::string(TEST_IMAGES_DIR) + "/desktop_window";
  EXPECT_NE(line.find(program), std::string::npos) << line;
  EXPECT_EQ(line.substr(line.size() - 6), " a b c") << line;
}

// The 'WAVE' resource becomes a Sound. Where no device opens it stays
// silent: IsPlaying False and no alert. Through a device that takes every
// frame it plays and then ends by itself.
TEST_F(DesktopWindowImage, TheWaveResourceIsSilentWithoutADevice) {
  if (access("/dev/dsp", W_OK) == 0)
    GTEST_SKIP() << "this machine has an OSS device";
  Start("", false);
  EXPECT_EQ(mImage->LinesStartingWith("Sound"), Lines{"Sound IsPlaying 0"});
  EXPECT_EQ(mImage->VisibleWindows().size(), 1u) << "an alert is up";
}

TEST_F(DesktopWindowImage, TheWaveResourcePlaysToTheEndThroughADevice) {
  Start("", true);
  ASSERT_FALSE(mImage->LinesStartingWith("Sound").empty());
  EXPECT_EQ(mImage->LinesStartingWith("Sound")[0], "Sound IsPlaying 1");
  EXPECT_TRUE(mImage->WaitForLine("Sound IsPlaying 0"));
}

} // namespace
