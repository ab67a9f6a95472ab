#pragma once

#include <QLineEdit>

namespace velmora {

// Hides what is typed in `box` behind "*", whatever the style would draw.
inline void showPasswordAsStars(QLineEdit* box) {
    box->setEchoMode(QLineEdit::Password);
    box->setStyleSheet(QStringLiteral("QLineEdit { lineedit-password-character: 42; }"));
}

} // namespace velmora
