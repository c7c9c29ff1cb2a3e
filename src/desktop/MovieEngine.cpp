#include "desktop/MovieEngine.h"

bool IsQuicktimeInstalled() { return false; }
