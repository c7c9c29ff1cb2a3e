// Giving file names an extension, beside LaunchURL (ShowURL calls it through
// the runtime's UpperAreaHooks): it starts the first of the known browsers
// found on PATH with the URL as its one argument, without a shell and without
// waiting, and does nothing when none is installed.
#pragma once
#include <cstdint>

class string;

// Gives name the extension (without its dot) unless it already ends in one
// of the ";"-separated known extensions: an old extension is cut off and the
// name shortened so that it stays below maximumLength. 1 when the name was
// changed, 0 when it was left.
int32_t AppendFileExtension(string &name, const string &extensions, const string &extension,
                            long maximumLength);

void LaunchURL(const string &url);

// Nothing to shut down on this platform.
void shutdownInternetConfig();
