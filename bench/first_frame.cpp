#include "first_frame.h"

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>

#include <cstdio>

namespace lumasio::bench {

namespace {

class FirstFrameWatcher : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        // The window itself is painted first, its children after it.
        if (event->type() == QEvent::Paint && watched->isWidgetType()
            && static_cast<QWidget *>(watched)->isWindow()) {
            // Every event of the application passes here: no further look
            // once the frame is seen.
            QCoreApplication::instance()->removeEventFilter(this);
            // The whole frame, children included, is painted and flushed
            // within this event; the zero timer runs right after it.
            QTimer::singleShot(0, [] {
                std::puts("first frame");
                std::fflush(stdout);
            });
        }
        return QObject::eventFilter(watched, event);
    }
};

} // namespace

void reportFirstFrame()
{
    QCoreApplication *app = QCoreApplication::instance();
    app->installEventFilter(new FirstFrameWatcher(app));
}

} // namespace lumasio::bench
