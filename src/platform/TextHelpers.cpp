#include "platform/TextHelpers.h"

#include "platform/MessageService.h"
#include "platform/data/CodePages.h"

namespace velmora {

QString PadText(const QString& text, qint16 length, bool padLeft, const QString& caracter,
                MessageService& messages) {
    if (caracter.size() != 1) {
        messages.show(QStringLiteral("Sólo se admiten caracteres, no cadenas en el argumento 'caracter'"),
                      QStringLiteral("Error"), MessageIcon::None, MessageButtons::Ok);
        return QString();
    }
    if (text.size() >= length)
        return text;
    const QString padding(length - text.size(), caracter.at(0));
    return padLeft ? padding + text : text + padding;
}

QString OemToAnsi(const QString& text) {
    return codepage::decodeCp850(codepage::encodeCp1252(text));
}

} // namespace velmora
