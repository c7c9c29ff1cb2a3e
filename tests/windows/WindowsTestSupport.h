// The window tests' helpers live with the shared test support.
#pragma once
#include "support/WindowsTestSupport.h"
