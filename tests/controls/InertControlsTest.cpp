// The inert controls of other platforms in a window of the language: a
// MoviePlayer, an OLEContainer with a ProgramID and a NotePlayer open and
// close with their window; the MoviePlayer's pane takes the focus on a
// click, draws nothing on screen and a framed cross offscreen, widens its
// invalidation by a pixel with Border set, and hands out actions that run
// Play and Stop. Members that reach a pane answer nil without one.
#include <gtest/gtest.h>

#include "ControlWindowFixture.h"
#include "desktop/InertEntryPoints.h"
#include "desktop/MovieClasses.h"
#include "desktop/OLEContainer.h"
#include "desktop/RuntimeMedia.h"
#include "runtime/objects/ClassLookup.h"
#include "runtime/objects/ValueAccessors.h"
#include "runtime/startup/BuiltinClassRegistration.h"
#include "support/OffscreenPixels.h"
#include "support/RunningImage.h"
#include "windows/Window.h"
#include "windows/WindowsTestSupport.h"

namespace {

using InertControls = ControlWindow;

RuntimeMedia *MediaOf(RuntimeObject *o) { return static_cast<RuntimeMedia *>(Ctl(o)->pane); }

void SetBorder(RuntimeObject *o) { boolSetter(o, 104, 1); }

TEST_F(InertControls, TheirPanesOpenAndCloseWithTheWindow) {
  CreateControlClasses();
  // Without a window there is no pane: Content is nil, and Play, Stop and
  // the Looping setter skip the pane's part.
  RuntimeObject *loose = CreateInstance(MoviePlayerClass());
  RuntimeObject *looseOle = CreateInstance(OLEContainerClass());
  EXPECT_EQ(OLEContainerContentGetter(looseOle, 0), nullptr);
  EXPECT_EQ(OLEContainerCreateObject(looseOle), 0);
  RuntimeMediaPlay(loose);
  RuntimeMediaStop(loose);
  mediaControllerLoopingSetter(loose, 0, 1);
  EXPECT_EQ(boolGetter(loose, 108), 1);
  RuntimeUnlockObject(looseOle);
  RuntimeUnlockObject(loose);

  Open();
  RuntimeObject *movie = AddOf(MoviePlayerClass(), "Player", 10, 10, 100, 80, SetBorder);
  RuntimeObject *ole = AddOf(OLEContainerClass(), "Embed", 120, 10, 60, 40, [](RuntimeObject *o) {
    stringSetter(o, 100, string("Excel.Sheet").Storage());
  });
  RuntimeObject *notes = AddOf(NotePlayerClass(), "Notes", 0, 0, 0, 0);
  ASSERT_NE(MediaOf(movie), nullptr);
  ASSERT_NE(Ctl(ole)->pane, nullptr);
  EXPECT_EQ(Ctl(notes)->pane, nullptr) << "a NotePlayer has no pane";
  EXPECT_EQ(OLEContainerContentGetter(ole, 0), nullptr);
  EXPECT_EQ(OLEContainerCreateObject(ole), 0);
  EXPECT_FALSE(Ctl(ole)->pane->AcceptFocus());
  mediaControllerPalindromeSetter(movie, 0, 1);
  EXPECT_EQ(boolGetter(movie, 109), 1);

  // A click gives the player the focus.
  RuntimeMedia *pane = MediaOf(movie);
  EXPECT_TRUE(pane->AcceptFocus());
  EXPECT_TRUE(pane->HandleClick(20, 20, 0));
  ASSERT_NE(pane->GetWindow(), nullptr);
  EXPECT_EQ(pane->GetWindow()->GetRememberedFocus(), pane);

  // Closing the window forgets the panes: the members answer nil again.
  RuntimeLockObject(movie);
  RuntimeLockObject(ole);
  TearDown();
  window = nullptr;
  EXPECT_EQ(Ctl(movie)->pane, nullptr);
  EXPECT_EQ(Ctl(ole)->pane, nullptr);
  EXPECT_EQ(OLEContainerContentGetter(ole, 0), nullptr);
  RuntimeMediaPlay(movie);
  mediaControllerLoopingSetter(movie, 0, 0);
  RuntimeUnlockObject(ole);
  RuntimeUnlockObject(movie);
}

TEST_F(InertControls, TheMoviePlayerDrawsAFramedCrossOnlyOffscreenAndOnlyWhileShown) {
  SKIP_WITHOUT_DISPLAY();
  Open();
  RuntimeObject *movie = AddOf(MoviePlayerClass(), "Player", 10, 10, 40, 30, SetBorder);
  RuntimeMedia *pane = MediaOf(movie);
  DrawablePane *pixmap = NewOffscreen(80, 60);
  Graphics *g = pixmap->getGraphics();
  pane->Redraw(g);
  EXPECT_EQ(InkCount(pixmap), 0) << "nothing on screen";
  pane->DrawIntoOffscreen(g);
  for (auto [x, y] : {std::pair{10, 10}, {49, 10}, {10, 39}, {49, 39}, // the frame's corners
                      {30, 10}, {10, 25}}) {                            // its edges
    EXPECT_EQ(PixelAt(pixmap, x, y), 0x000000u) << x << "," << y;
  }
  // Column 20 crosses the diagonal from the top left near row 17 and the
  // one from the top right near row 32.
  EXPECT_GT(DarkBounds(pixmap, 20, 15, 1, 5, 64).bottom, 0) << "the first diagonal";
  EXPECT_GT(DarkBounds(pixmap, 20, 30, 1, 5, 64).bottom, 0) << "the second diagonal";
  EXPECT_EQ(PixelAt(pixmap, 30, 14), 0xFFFFFFu) << "inside, off the diagonals";
  EXPECT_EQ(PixelAt(pixmap, 9, 9), 0xFFFFFFu) << "outside the frame";
  const int32_t drawn = InkCount(pixmap);
  Graphics::Release(g);
  pixmap->removeReference();

  // Hidden, it draws nothing at all.
  pane->HandleAction(8);
  EXPECT_FALSE(pane->Shown());
  DrawablePane *hidden = NewOffscreen(80, 60);
  Graphics *h = hidden->getGraphics();
  pane->DrawIntoOffscreen(h);
  EXPECT_EQ(InkCount(hidden), 0);
  EXPECT_GT(drawn, 0);
  Graphics::Release(h);
  hidden->removeReference();
  pane->HandleAction(7);
  EXPECT_TRUE(pane->Shown());
}

TEST(MediaInvalidation, BorderWidensTheInvalidationByOnePixelOnEachSide) {
  const QV::Rect bounds = Rect(20, 20, 60, 50);
  const QV::Rect plain = MediaInvalidationRect(bounds, false);
  EXPECT_TRUE(QV::EqualRect(&plain, &bounds));
  const QV::Rect framed = MediaInvalidationRect(bounds, true);
  const QV::Rect grown = Rect(19, 19, 61, 51);
  EXPECT_TRUE(QV::EqualRect(&framed, &grown));
}

TEST_F(InertControls, GetBoundPartHandsOutPlayAndStopActionsWhoseNameCaseDoesNotMatter) {
  CreateControlClasses();
  RuntimeObject *movie = AddOf(MoviePlayerClass(), "Player", 10, 10, 40, 30);
  for (const char *name : {"GETPLAYACTION", "getStopAction"}) {
    RuntimeObject *action = mediaGetBoundPart(movie, string(name).Storage());
    ASSERT_NE(action, nullptr) << name;
    EXPECT_STREQ(stringStorage::CString(action->classPtr->name), "MoviePlayerAction");
    auto *a = reinterpret_cast<MoviePlayerActionObject *>(action);
    EXPECT_EQ(a->player, movie);
    EXPECT_EQ(a->kind, name[3] == 'P' ? kMoviePlay : kMovieStop);
    mediaActionPerformAction(action); // Play or Stop: nothing plays
    RuntimeUnlockObject(action);
  }
  for (const char *name : {"getPauseAction", "", "getPlayActions"})
    EXPECT_EQ(mediaGetBoundPart(movie, string(name).Storage()), nullptr) << name;
}

} // namespace

namespace {

// The same controls made from their property streams by compiled code (the
// inert_window image checks the streamed values and bound parts from
// inside): the window opens, a click on the player takes the focus from the
// edit field that had it, and the window closes with the program's end.
TEST(InertWindowImage, StreamedControlsOpenTakeTheFocusAndClose) {
  SKIP_WITHOUT_DISPLAY();
  RunningImage image("inert_window");
  ASSERT_TRUE(image.Started());
  const std::string window = image.FocusedWindow("Inert", "Open window");
  ASSERT_FALSE(window.empty()) << "no window";
  const std::string at = "mousemove --window " + window;
  EXPECT_TRUE(image.InputUntilLine(at + " 80 95 click 1", "LostFocus Probe"));
  EXPECT_TRUE(image.InputUntilLine(at + " 240 132 click 1", "Action Done"));
  EXPECT_EQ(image.WaitForExit(), 42);
  EXPECT_EQ(image.LinesStartingWith("failed check"), std::vector<std::string>{});
}

} // namespace
