#pragma once

namespace lumasio::runtime {

// Under Windows' native style at a fractional display scaling (125 %, 175 %,
// 225 %), makes the frames of line edits, editable combo boxes and group
// boxes keep all four edges. Elsewhere it changes nothing. Call once, after the
// QApplication exists and its style is chosen.
void keepNativeFramesWhole();

} // namespace lumasio::runtime
