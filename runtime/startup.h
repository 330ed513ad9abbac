#pragma once

#include <QStringView>

#include <memory>

class QAbstractButton;
class QStyle;
class QWidget;

namespace lumasio::runtime {

// What start-up needs to know of the program.
struct Application {
    QStringView name = {};
    QStringView version = {};
    // The installed desktop entry's name, without ".desktop": it lets the
    // desktop match the window to its entry and icon.
    QStringView desktopFileName = {};
};

// Prepares the application: its name and version, Qt's own Chinese texts
// (dialog buttons, context menus), a Song-style face wherever "宋体" is
// missing, Windows' classic look on every Windows, whole frames under it at
// any display scaling, and its hidden list-theme window kept from taking
// activation (list_theme_guard.h).
// Call once, after the QApplication exists.
void prepareApplication(const Application &application);

// Creates the start-up window, shows it and runs the event loop until the
// window closes. Returns the process exit code.
[[nodiscard]] int startUp(const Application &application, int &argc, char **argv,
                          std::unique_ptr<QWidget> (&createWindow)());

// The style that draws for style, past any proxies over it: a proxy has no
// name of its own.
[[nodiscard]] const QStyle *drawingStyle(const QStyle *style);

// Lets a button show its palette's button colour on every platform: native
// styles (Windows, macOS, GTK) draw their own face and ignore it.
void showButtonColour(QAbstractButton *button);

} // namespace lumasio::runtime
