#include "office/Unfolding.h"

namespace velmora {
namespace {

QChar unfolded(QChar letter) {
    switch (letter.unicode()) {
    case u'a':
        return u'á';
    case u'e':
        return u'é';
    case u'i':
        return u'í';
    case u'o':
        return u'ó';
    case u'u':
        return u'ú';
    case u'A':
        return u'Á';
    case u'E':
        return u'É';
    case u'I':
        return u'Í';
    case u'O':
        return u'Ó';
    case u'U':
        return u'Ú';
    case u'n':
        return u'ñ';
    case u'N':
        return u'Ñ';
    default:
        return QChar();
    }
}

} // namespace

QString unfoldBarcodeText(const QString& folded) {
    QString text;
    text.reserve(folded.size());
    for (qsizetype i = 0; i < folded.size(); ++i) {
        if (folded.at(i) == QLatin1Char('&') && i + 1 < folded.size()) {
            if (const QChar letter = unfolded(folded.at(i + 1)); !letter.isNull()) {
                text += letter;
                ++i;
                continue;
            }
        }
        text += folded.at(i);
    }
    return text;
}

} // namespace velmora
