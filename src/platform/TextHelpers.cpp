#include "platform/TextHelpers.h"

#include "platform/data/CodePages.h"

namespace velmora {

QString PadText(const QString& text, qint16 length, bool padLeft, QChar caracter) {
    if (text.size() >= length)
        return text;
    const QString padding(length - text.size(), caracter);
    return padLeft ? padding + text : text + padding;
}

QString OemToAnsi(const QString& text) {
    return codepage::decodeCp850(codepage::encodeCp1252(text));
}

} // namespace velmora
