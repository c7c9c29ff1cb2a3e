#include "runtime/loop/WindowInterface.h"

namespace {
WindowHooks sWindowHooks{};
} // namespace

void InstallWindowHooks(const WindowHooks *hooks) { sWindowHooks = hooks ? *hooks : WindowHooks{}; }
const WindowHooks &GetWindowHooks() { return sWindowHooks; }
