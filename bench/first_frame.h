#pragma once

namespace lumasio::bench {

// Once a window has painted its first frame, says so in a line on standard
// output, for the benchmark to take the time; the window stays, as a
// program's does, until the benchmark ends it. Call it once the application
// exists; a probe whose application is made out of its reach
// registers it with Q_COREAPP_STARTUP_FUNCTION.
void reportFirstFrame();

} // namespace lumasio::bench
