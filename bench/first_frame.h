#pragma once

#include <QWidget>

namespace lumasio::bench {

// Once the window has painted its first frame, prints the CLOCK_MONOTONIC
// time in nanoseconds on standard output and quits the event loop.
void reportFirstFrame(QWidget *window);

} // namespace lumasio::bench
