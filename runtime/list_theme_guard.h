#pragma once

namespace lumasio::runtime {

// Windows' classic look paints a picked or hovered list row with a theme it
// opens on a hidden window of its own, which it makes a top-level window with
// SetParent(); that activates it (Wine's own tests of SetParent record Windows
// doing so). The program would lose activation, Qt would shut every open
// popup, and keys typed next would go to the hidden window. The style makes
// that window again after every change of the desktop's look (a theme, High
// Contrast, light or dark, the accent colour) and whenever a control is given
// a style, at the next row it paints: a combo box's list would shut as it
// opens, or under the pointer as an item is picked.
//
// From this call on, that window is refused activation on this thread, so
// whichever window had it keeps it. Call once, from the GUI thread.
void guardListTheme();

} // namespace lumasio::runtime
