// The step engine is built twice, with the trace (the engine of every traced
// build) and without it (to compare answers with), and a test program may
// link both. Each build's functions get names of their own, in an inline
// namespace of steps picked by DEBUG_LOG, so that a program can't take the
// one for the other.
#pragma once

#include "diag/debug_log.h"

#if DEBUG_LOG
#define LUMOCALC_STEPS_BUILD traced
#else
#define LUMOCALC_STEPS_BUILD untraced
#endif
