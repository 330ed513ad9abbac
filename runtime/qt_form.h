#pragma once

#include "form.h"
#include "form_description.h"

#include <QHash>
#include <QLabel>
#include <QList>
#include <QPointer>
#include <QWidget>

#include <memory>

namespace lumasio::runtime {

// Converts twips to device-independent pixels at a given logical DPI.
class TwipsScale
{
public:
    explicit TwipsScale(double dotsPerInch)
        : m_dotsPerInch(dotsPerInch)
    {}

    [[nodiscard]] int toPixels(Twips twips) const;
    // Converts both edges, so controls that touch in twips touch in pixels.
    [[nodiscard]] QRect toPixels(const TwipsRect &rect) const;

private:
    double m_dotsPerInch;
};

// A form built as real Qt widgets from its description. Owns the window; its
// controls are the window's children, each named by objectName. Clicks on
// bound controls run their handlers, and an error that leaves a handler is
// shown to the user while the program goes on running.
class QtForm : public Form
{
public:
    explicit QtForm(const FormDescription &description);
    ~QtForm() override;

    [[nodiscard]] QWidget *window() const { return m_window.get(); }

    [[nodiscard]] QString text(QStringView name) const override;
    void setText(QStringView name, const QString &text) override;
    [[nodiscard]] bool value(QStringView name) const override;
    void setVisible(QStringView name, bool visible) override;
    void launch(const QUrl &address) override;

    // Runs a handler the way a user event does: an error it raises is
    // reported, never passed on into the event loop.
    void dispatch(Handler handler);

private:
    void createControl(const ControlDescription &control, const TwipsScale &scale);
    void applyTabOrder(std::span<const ControlDescription> controls);
    void bind(const EventBinding &binding);
    void linkBuddies(std::span<const ControlDescription> controls);
    void updateAccessibleNames();
    [[nodiscard]] QWidget *control(QStringView name, QStringView property) const;

    std::unique_ptr<QWidget> m_window;
    QHash<QString, QPointer<QWidget>> m_controls;
    // Labels that caption another control, front to back.
    QList<QPointer<QLabel>> m_captions;
};

// The warning box titled with the application's name, the message shown as
// plain text so that markup a user typed is never rendered.
void showErrorBox(QWidget *window, const QString &message);

} // namespace lumasio::runtime
