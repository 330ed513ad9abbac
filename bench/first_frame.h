#pragma once

namespace lumasio::bench {

// Once a window has painted its first frame, prints the CLOCK_MONOTONIC time
// in nanoseconds on standard output and quits the event loop. Call it once
// the application exists; a probe whose application is made out of its reach
// registers it with Q_COREAPP_STARTUP_FUNCTION.
void reportFirstFrame();

} // namespace lumasio::bench
