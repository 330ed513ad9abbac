#pragma once

#include "startup.h"

#include <QUrl>

namespace lumasio::window {

// Lumasio as start-up knows it: its name, version and desktop entry.
[[nodiscard]] const runtime::Application &application();

// The publisher's web site that Label4 names and opens.
[[nodiscard]] QUrl publisherSite();

} // namespace lumasio::window
