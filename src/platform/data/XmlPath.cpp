#include "platform/data/XmlPath.h"

namespace velmora {

QString toXPath(const QString& zeroBasedPath) {
    QString out;
    out.reserve(zeroBasedPath.size() + 4);
    qsizetype i = 0;
    while (i < zeroBasedPath.size()) {
        const QChar c = zeroBasedPath.at(i);
        out += c;
        ++i;
        if (c != QLatin1Char('['))
            continue;
        // Only a predicate that is a plain number is a position; anything else
        // ("[@id='3']") is copied as it stands.
        qsizetype end = i;
        while (end < zeroBasedPath.size() && zeroBasedPath.at(end).isDigit())
            ++end;
        if (end > i && end < zeroBasedPath.size() && zeroBasedPath.at(end) == QLatin1Char(']')) {
            out += QString::number(zeroBasedPath.mid(i, end - i).toLongLong() + 1);
            i = end;
        }
    }
    return out;
}

} // namespace velmora
