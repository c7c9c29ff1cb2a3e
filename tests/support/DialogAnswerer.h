// Runs a test image under the display while answering every dialog it shows
// with the Return key, so that programs that end in a modal dialog can be
// tested on the real thing. Header-only, like ImageRunner.h.
#pragma once
#include <cstdio>
#include <future>
#include <chrono>
#include <map>
#include <sstream>
#include <string>

#include "support/CommandOutput.h"
#include "support/ImageRunner.h"

struct AnsweredRun {
  int status;         // exit status, -1 when the program did not exit by itself
  int dialogs;        // distinct windows answered
  std::string errors; // what the program wrote on standard error
};

// The windows of a program are found by their class name, which GTK+ takes
// from the program's file name; each one that becomes visible is focused and
// sent Return. Focus and key go under one lock shared by every answering
// test, so two answerers never send both Returns to one window. A Return can
// still be lost (another test's window took the focus between the two, or the
// dialog did not take keys yet), so a window still showing a few seconds after
// its answer is answered again.
inline AnsweredRun RunTestImageAnsweringDialogs(const std::string &name) {
  using Clock = std::chrono::steady_clock;
  auto run = std::async(std::launch::async, [&] { return RunTestImage(name); });
  std::map<std::string, Clock::time_point> answered;
  while (run.wait_for(std::chrono::seconds(0)) != std::future_status::ready) {
    // Waits (up to a second, then looks whether the program ended) for a
    // visible window of the program.
    std::istringstream ids(CommandOutput(
        "timeout 1 xdotool search --sync --onlyvisible --classname '" + name + "' 2>/dev/null"));
    for (std::string id; ids >> id;) {
      auto known = answered.find(id);
      if (known != answered.end() && Clock::now() - known->second < std::chrono::seconds(3))
        continue;
      answered[id] = Clock::now();
      CommandOutput("flock /tmp/dialog-answerer.lock xdotool windowfocus --sync " + id +
                              " key Return 2>/dev/null");
    }
  }
  const ProgramRun finished = run.get();
  return {finished.status, static_cast<int>(answered.size()), finished.errors};
}
