// A test image running beside the test on the test's display: its standard
// error, where the image writes one line per event it hears, read as it
// arrives, and its end awaited. Every wait blocks on the image's output, its
// exit or the X server, bounded so that a hung image fails the test.
#pragma once
#include <sys/types.h>

#include <string>
#include <vector>

class RunningImage {
public:
  // Starts the runtime carrying the named test image (TEST_IMAGES_DIR), with
  // the arguments (shell words, quoted by the caller) and the environment
  // variables (NAME=value words) given.
  explicit RunningImage(const std::string &name, const std::string &arguments = "",
                        const std::string &environment = "");
  // Kills the image when it is still running.
  ~RunningImage();
  RunningImage(const RunningImage &) = delete;
  RunningImage &operator=(const RunningImage &) = delete;

  bool Started() const { return mPid > 0; }

  // Waits until the image has written that line; false when it ends or the
  // bound passes first.
  bool WaitForLine(const std::string &line);
  // The same within the given milliseconds (at most the usual bound).
  bool WaitForLineWithin(const std::string &line, long long milliseconds);
  // Sends the input with xdotool until the image writes the line once more
  // than it had before; an input lost on a loaded machine, or sent before
  // the window took it, is sent again, a few times. False when the line
  // never came.
  bool InputUntilLine(const std::string &xdotoolArgs, const std::string &line);
  // Every line written so far, in order.
  const std::vector<std::string> &Lines() const { return mLines; }
  // The lines written so far that start with the prefix.
  std::vector<std::string> LinesStartingWith(const std::string &prefix) const;

  // The X window id of the image's visible window with exactly that title,
  // waiting for it to appear; "" when it does not.
  std::string WindowTitled(const std::string &title) const;
  // The window titled so, once it is there and the image has written the
  // line, given the keyboard focus; "" when that does not happen.
  std::string FocusedWindow(const std::string &title, const std::string &line);
  // The ids of the image's visible windows (matched by the class name GTK+
  // takes from the program's file name).
  std::vector<std::string> VisibleWindows() const;

  // Reads the rest of the output and waits for the image to end: its exit
  // status, -1 when it did not exit by itself within the bound.
  int WaitForExit();

private:
  // Reads what arrives within the time left; false at the end of the output
  // or when the time ran out.
  bool ReadMore(long long deadline);

  std::string mName;
  pid_t mPid = -1;
  int mErrors = -1; // the read end of the image's standard error
  std::string mPartial;
  std::vector<std::string> mLines;
};
