#pragma once

namespace lumasio::bench {

// Once a window has painted its first frame, says so in a line on standard
// output, for the benchmark to take the time, and quits the event loop. Call it once
// the application exists; a probe whose application is made out of its reach
// registers it with Q_COREAPP_STARTUP_FUNCTION.
void reportFirstFrame();

} // namespace lumasio::bench
