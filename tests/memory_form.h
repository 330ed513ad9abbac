#pragma once

#include "form.h"
#include "handler_error.h"

#include <QHash>
#include <QList>
#include <QSet>
#include <QString>
#include <QUrl>

namespace lumasio::tests {

using namespace Qt::StringLiterals;

// Form1's properties held in memory, so handlers run without widgets. Every
// property write is logged, and a control named in failingControls fails
// every call the way a broken control would.
class MemoryForm : public runtime::Form
{
public:
    MemoryForm()
    {
        for (const QString &name : {u"Text1"_s, u"Text2"_s, u"Text3"_s, u"Combo1"_s}) {
            m_texts.insert(name, QString());
        }
        for (const QString &name : {u"Option1"_s, u"Option2"_s, u"Option3"_s, u"Option4"_s}) {
            m_values.insert(name, name == u"Option1");
        }
        m_visible.insert(u"Label6"_s, true);
    }

    [[nodiscard]] QString text(QStringView control) const override
    {
        check(control, m_texts.contains(control.toString()), u"Text");
        return m_texts.value(control.toString());
    }

    void setText(QStringView control, const QString &text) override
    {
        check(control, m_texts.contains(control.toString()), u"Text");
        m_texts.insert(control.toString(), text);
        writes.append(control.toString());
    }

    [[nodiscard]] bool value(QStringView control) const override
    {
        check(control, m_values.contains(control.toString()), u"Value");
        return m_values.value(control.toString());
    }

    void setVisible(QStringView control, bool visible) override
    {
        check(control, m_visible.contains(control.toString()), u"Visible");
        m_visible.insert(control.toString(), visible);
        writes.append(control.toString());
    }

    void launch(const QUrl &address) override
    {
        if (failLaunch) {
            throw runtime::Error::launch(address.toString());
        }
        launched.append(address);
    }

    // Test set-up, bypassing the write log.
    void put(const QString &control, const QString &text) { m_texts.insert(control, text); }
    void select(const QString &option)
    {
        for (auto it = m_values.begin(); it != m_values.end(); ++it) {
            it.value() = it.key() == option;
        }
    }
    [[nodiscard]] bool visible(const QString &control) const { return m_visible.value(control); }

    QStringList writes;
    QList<QUrl> launched;
    QSet<QString> failingControls;
    bool failLaunch = false;

private:
    void check(QStringView control, bool known, QStringView property) const
    {
        if (!known || failingControls.contains(control.toString())) {
            throw runtime::Error::controlCall(control, property);
        }
    }

    QHash<QString, QString> m_texts;
    QHash<QString, bool> m_values;
    QHash<QString, bool> m_visible;
};

} // namespace lumasio::tests
