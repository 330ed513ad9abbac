#pragma once

#include "project_description.h"

#include <functional>

class QWidget;

namespace lumasio::runtime {

// Prepares the application: its name and version, Qt's own Chinese texts
// (dialog buttons, context menus) and a Song-style face wherever "宋体" is
// missing. Call once, after the QApplication exists.
void prepareApplication(const ProjectDescription &project);

// Called with the start-up window right after it is shown.
using ShownHook = std::function<void(QWidget *window)>;

// Creates the project's start-up form, shows it and runs the event loop until
// the window closes. Returns the process exit code.
[[nodiscard]] int startUp(const ProjectDescription &project, int &argc, char **argv,
                          const ShownHook &onShown = {});

} // namespace lumasio::runtime
