// The windows area's hooks into the run loop.
#pragma once

// Installs its PaneHooks and WindowHooks. Start-up calls it once, before the
// built-in classes are registered; tests with a display call it themselves.
void InstallWindowsAreaHooks();
