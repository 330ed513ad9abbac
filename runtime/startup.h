#pragma once

#include "project_description.h"

namespace lumasio::runtime {

// Prepares the application: its name and version, Qt's own Chinese texts
// (dialog buttons, context menus) and a Song-style face wherever "宋体" is
// missing. Call once, after the QApplication exists.
void prepareApplication(const ProjectDescription &project);

// Creates the project's start-up form, shows it and runs the event loop until
// the window closes. Returns the process exit code.
[[nodiscard]] int startUp(const ProjectDescription &project, int &argc, char **argv);

} // namespace lumasio::runtime
