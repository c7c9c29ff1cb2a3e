// What a shell command writes on its standard output, for tests that ask
// other programs (xdotool, xclip) about the display. Header-only, so that any
// test can use it.
#pragma once
#include <cstdio>
#include <string>

inline std::string CommandOutput(const std::string &command) {
  std::string text;
  if (FILE *pipe = popen(command.c_str(), "r")) {
    char buffer[4096];
    for (size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;)
      text.append(buffer, n);
    pclose(pipe);
  }
  return text;
}
