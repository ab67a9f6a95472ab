#pragma once

#include <QValidator>

class QLineEdit;

namespace velmora {

// Keeps one character out of a text box. A key typing it does nothing, as a key the box does
// not take; text pasted or dropped into the box arrives with a stand-in in its place, so the
// rest of what the user meant is kept. Text set by the program is shown the same way.
class CharacterGuard : public QValidator {
    Q_OBJECT
public:
    // Guards `box` for as long as it lives (the guard is its child).
    static void install(QLineEdit* box, QChar refused, QChar standIn);

    State validate(QString& input, int& pos) const override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    CharacterGuard(QObject* parent, QChar refused, QChar standIn)
        : QValidator(parent), m_refused(refused), m_standIn(standIn) {}

    QChar m_refused;
    QChar m_standIn;
};

} // namespace velmora
