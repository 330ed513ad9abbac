#pragma once

class QWidget;

namespace lumasio::runtime {

// Adds "置顶(&T)" to a shown top-level window's window menu (Windows only):
// chosen, it keeps the window above every window that is not on top itself,
// with a check mark beside it; chosen again, the window is ordinary again.
// Each start begins ordinary, and nothing is remembered.
void addStayOnTopItem(QWidget &window);

} // namespace lumasio::runtime
