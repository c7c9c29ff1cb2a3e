// The program's own file and folder, worked out from the path it was started
// by, against which relative folder-item paths are made absolute. Each is
// worked out once and then kept for the rest of the run, also when working it
// out gave the empty path, so a later change of the working directory does not
// move them.
#pragma once
#include "foundation/String.h"

// The program's file (folder false) or the folder that holds it (folder true).
// A start path that begins with "/" is cut at its last "/" for the folder (no
// trailing "/"); one with a "/" elsewhere is walked from the working directory
// (the folder then ends in "/"); a bare name, which the shell found on the
// search path, takes the executable's real path. A walk that meets a missing
// folder gives the empty path.
string GetApplicationPath(bool folder);

// The text without one trailing "/".
string StripTrailingSlash(const string &path);

// Forgets both cached paths, so that tests can start the lookup over.
void ResetApplicationPathCaches();
