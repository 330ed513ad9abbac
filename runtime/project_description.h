#pragma once

#include "form_description.h"

#include <QStringView>

namespace lumasio::runtime {

// What start-up needs: the program's name and version and the form it opens.
struct ProjectDescription {
    QStringView name = {};
    QStringView version = {};
    // The installed desktop entry's name, without ".desktop": it lets the
    // desktop match the window to its entry and icon.
    QStringView desktopFileName = {};
    const FormDescription *startupForm = nullptr;
};

} // namespace lumasio::runtime
