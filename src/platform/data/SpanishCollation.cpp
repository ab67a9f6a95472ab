#include "platform/data/SpanishCollation.h"

namespace velmora {
namespace {

constexpr char16_t kCombiningTilde = 0x0303;

} // namespace

QString spanishSortKey(QStringView text) {
    QString key;
    key.reserve(text.size() + 2);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        const char16_t u = c.unicode();
        // "n" followed by a combining tilde is the letter "ñ" written in two pieces.
        if ((u == 'n' || u == 'N') && i + 1 < text.size() && text.at(i + 1).unicode() == kCombiningTilde) {
            key += QLatin1Char('n');
            key += QChar(0x7F);
            ++i;
            continue;
        }
        if (u < 0x80) {
            key += QChar(u >= 'A' && u <= 'Z' ? u + 32 : u);
            continue;
        }
        if (u == 0x00F1 || u == 0x00D1) { // ñ Ñ: after every "n..." word
            key += QLatin1Char('n');
            key += QChar(0x7F);
            continue;
        }
        const QString decomposed = QString(c).normalized(QString::NormalizationForm_D);
        for (const QChar d : decomposed) {
            if (d.category() == QChar::Mark_NonSpacing)
                continue;
            key += d.toCaseFolded();
        }
    }
    return key;
}

int spanishCompare(QStringView a, QStringView b) {
    const int primary = spanishSortKey(a).compare(spanishSortKey(b));
    if (primary != 0)
        return primary;
    return a.compare(b);
}

} // namespace velmora
