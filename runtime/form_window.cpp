#include "form_window.h"

#include <QEvent>
#include <QFont>
#include <QFontDatabase>

#include <algorithm>

namespace lumasio::runtime {

void FormWindow::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::FontChange) {
        nameInstalledFace();
    }
    QWidget::changeEvent(event);
}

void FormWindow::nameInstalledFace()
{
    QFont named = font();
    const QStringList standIns = QFont::substitutes(named.family());
    if (standIns.isEmpty()) {
        return;
    }
    const QStringList installed = QFontDatabase::families();
    if (installed.contains(named.family(), Qt::CaseInsensitive)) {
        return;
    }
    // Qt keeps stand-ins in lower case; the face is named as installed.
    for (const QString &standIn : standIns) {
        const auto face =
            std::find_if(installed.cbegin(), installed.cend(), [&](const QString &name) {
                return name.compare(standIn, Qt::CaseInsensitive) == 0;
            });
        if (face != installed.cend()) {
            // Set anew, the font comes back here with an installed face.
            named.setFamily(*face);
            setFont(named);
            return;
        }
    }
}

} // namespace lumasio::runtime
