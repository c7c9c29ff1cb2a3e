// Whether the movie engine is installed; there is none on this platform.
#pragma once

bool IsQuicktimeInstalled();
