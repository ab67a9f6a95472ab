#pragma once

#include "users/DniValidator.h"

namespace velmora::test {

// A text box without a window: keeps its text and colour.
class FakeDniTextBox : public DniTextBox {
public:
    explicit FakeDniTextBox(QString text = QString()) : m_text(std::move(text)) {}

    QString text() const override { return m_text; }
    void setText(const QString& text) override { m_text = text; }
    void setForeColor(const QColor& color) override { foreColor = color; }

    QColor foreColor; // invalid until the check sets it

private:
    QString m_text;
};

} // namespace velmora::test
