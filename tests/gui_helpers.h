#pragma once

#include "form1.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDesktopServices>
#include <QKeyEvent>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <stdexcept>

namespace lumasio::tests {

// A control of the window by its name. A miss fails the test and ends it
// there, rather than letting it crash on a null pointer.
template<typename T>
[[nodiscard]] T *findControl(const QWidget *window, const QString &name)
{
    T *control = window->objectName() == name ? qobject_cast<T *>(const_cast<QWidget *>(window))
                                              : window->findChild<T *>(name);
    if (control == nullptr) {
        ADD_FAILURE() << "no control " << name.toStdString() << " of type "
                      << T::staticMetaObject.className();
        throw std::runtime_error("missing control");
    }
    return control;
}

// Collects every modal message box that opens while it is alive, records
// what it showed and closes it, as a user pressing its button would.
class MessageBoxCatcher
{
public:
    struct Box {
        QString title;
        QString text;
        Qt::TextFormat format;
        QMessageBox::Icon icon;
        QString buttonText;
    };

    MessageBoxCatcher()
    {
        m_timer.setInterval(5);
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            if (box == nullptr || !box->isVisible()) {
                return;
            }
            const QList<QAbstractButton *> buttons = box->buttons();
            boxes.append({box->windowTitle(), box->text(), box->textFormat(), box->icon(),
                          buttons.isEmpty() ? QString() : buttons.front()->text()});
            box->done(QMessageBox::Ok);
        });
        m_timer.start();
    }

    QList<Box> boxes;

private:
    QTimer m_timer;
};

// Stands in for the default browser: records each address it is asked to open.
class UrlRecorder : public QObject
{
    Q_OBJECT

public:
    UrlRecorder() { QDesktopServices::setUrlHandler(QStringLiteral("http"), this, "open"); }
    ~UrlRecorder() override { QDesktopServices::unsetUrlHandler(QStringLiteral("http")); }

    Q_INVOKABLE void open(const QUrl &url) { opened.append(url); }

    QList<QUrl> opened;
};

// Types text the way an input method delivers it: one key event per
// character with no key code. QTest::keyClicks can't type Chinese.
inline void typeText(QWidget *widget, const QString &text)
{
    for (const QChar c : text) {
        QTest::sendKeyEvent(QTest::Press, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
        QTest::sendKeyEvent(QTest::Release, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}

} // namespace lumasio::tests
