#include "platform/widgets/DniLineEdit.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QTimer>

#include <algorithm>

namespace velmora {

DniLineEdit::DniLineEdit(QWidget* parent) : QLineEdit(parent) {
    connect(this, &QLineEdit::textEdited, this, &DniLineEdit::dropDiscardedCharacters);
}

void DniLineEdit::setForeColor(const QColor& color) {
    QPalette colours = palette();
    // A disabled box keeps the style's dimmed colour, so it still looks disabled.
    colours.setColor(QPalette::Active, QPalette::Text, color);
    colours.setColor(QPalette::Inactive, QPalette::Text, color);
    setPalette(colours);
}

QColor DniLineEdit::foreColor() const {
    return palette().color(QPalette::Active, QPalette::Text);
}

void DniLineEdit::keyPressEvent(QKeyEvent* event) {
    const QString typed = event->text();
    if (!typed.isEmpty() &&
        std::all_of(typed.begin(), typed.end(), [this](QChar c) { return isDiscarded(c); })) {
        event->accept();
        return;
    }
    const QString before = QLineEdit::text();
    QLineEdit::keyPressEvent(event);
    if (QLineEdit::text() != before)
        m_editedByKey = true;
}

void DniLineEdit::keyReleaseEvent(QKeyEvent* event) {
    QLineEdit::keyReleaseEvent(event);
    if (!m_editedByKey)
        return;
    m_editedByKey = false;
    Q_EMIT editingKeyReleased();
}

void DniLineEdit::focusInEvent(QFocusEvent* event) {
    QLineEdit::focusInEvent(event);
    m_editedByKey = false;
    // After the mouse press that brought the focus has placed the cursor.
    if (m_selectAllOnFocus)
        QTimer::singleShot(0, this, [this] {
            if (hasFocus())
                selectAll();
        });
}

void DniLineEdit::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    m_editedByKey = false;
    Q_EMIT focusLeft(event->reason());
}

void DniLineEdit::dropDiscardedCharacters() {
    const QString current = QLineEdit::text();
    if (m_discarded.isEmpty() ||
        std::none_of(current.begin(), current.end(), [this](QChar c) { return isDiscarded(c); }))
        return;
    QString kept;
    int cursor = cursorPosition();
    for (qsizetype i = 0; i < current.size(); ++i) {
        if (!isDiscarded(current.at(i)))
            kept.append(current.at(i));
        else if (i < cursorPosition())
            --cursor;
    }
    QLineEdit::setText(kept);
    setCursorPosition(cursor);
}

} // namespace velmora
