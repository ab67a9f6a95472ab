#include "platform/data/XmlPath.h"

#include <limits>

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
            // A number too large to hold is copied as it stands: no node sits at either
            // position, whereas reading it as 0 would quietly pick the first one.
            bool fits = false;
            const qlonglong position = QStringView(zeroBasedPath).mid(i, end - i).toLongLong(&fits);
            if (fits && position < std::numeric_limits<qlonglong>::max()) {
                out += QString::number(position + 1);
                i = end;
            }
        }
    }
    return out;
}

} // namespace velmora
