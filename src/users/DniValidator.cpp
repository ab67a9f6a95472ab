#include "users/DniValidator.h"

namespace velmora {

namespace {

constexpr int kNumberLength = 8;
const QString kLetters = QStringLiteral("TRWAGMYFPDXBNJZSQVHLCKE");

bool isAsciiDigit(QChar c) {
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

// Only plain ASCII digits count: signs, blanks, separators and other scripts' digits make
// the number invalid rather than being read leniently.
bool allDigits(const QString& text) {
    for (const QChar c : text) {
        if (!isAsciiDigit(c))
            return false;
    }
    return true;
}

} // namespace

QColor dniValidColor() {
    return QColor(0, 0, 0);
}
QColor dniInvalidColor() {
    return QColor(254, 0, 0);
}

QString dniOf(int number) {
    return QStringLiteral("%1").arg(number, kNumberLength, 10, QLatin1Char('0')) +
           kLetters.at(number % kLetters.size());
}

Status ValidaDNI(DniTextBox& box) {
    if (box.text().size() < kDniLength) {
        const QString current = box.text();
        box.setText(QString(kDniLength - current.size(), QLatin1Char('0')) + current);
    }

    const QString text = box.text();
    bool valid = false;
    if (text.size() == kDniLength && !isAsciiDigit(text.back()) && allDigits(text.left(kNumberLength))) {
        valid = dniOf(text.left(kNumberLength).toInt()) == text.toUpper();
    }

    if (valid) {
        box.setForeColor(dniValidColor());
        box.setText(text.toUpper());
        return {};
    }
    box.setForeColor(dniInvalidColor());
    return Error::told(ErrorCode::InvalidValue, QStringLiteral("DNI no válido"),
                       QStringLiteral("Error en DNI"), MessageIcon::Exclamation);
}

} // namespace velmora
