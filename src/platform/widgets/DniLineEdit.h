#pragma once

#include "platform/DniTextBox.h"

#include <QLineEdit>

namespace velmora {

// A text box the DNI check can work on: its text colour is set through its palette, some
// characters can be kept out of it altogether, and it tells its window when a typed key
// changed its text and when it lost the focus, so the window can react as the form asks.
class DniLineEdit : public QLineEdit, public DniTextBox {
    Q_OBJECT
public:
    explicit DniLineEdit(QWidget* parent = nullptr);

    QString text() const override { return QLineEdit::text(); }
    void setText(const QString& text) override { QLineEdit::setText(text); }
    void setForeColor(const QColor& color) override;
    QColor foreColor() const;

    // These characters never enter the box: typed keys carrying them do nothing, and pasted
    // text arrives without them.
    void setDiscardedCharacters(const QString& characters) { m_discarded = characters; }
    QString discardedCharacters() const { return m_discarded; }

    // Selects the whole text whenever the box gets the focus, by mouse as well as by keyboard.
    void setSelectAllOnFocus(bool selectAll) { m_selectAllOnFocus = selectAll; }

Q_SIGNALS:
    // A key pressed in the box changed its text, and has now been released.
    void editingKeyReleased();
    // The box lost the focus, for this reason.
    void focusLeft(Qt::FocusReason reason);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    bool isDiscarded(QChar c) const { return m_discarded.contains(c); }
    void dropDiscardedCharacters();

    QString m_discarded;
    bool m_selectAllOnFocus = false;
    bool m_editedByKey = false;
};

} // namespace velmora
