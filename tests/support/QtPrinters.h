#pragma once

// Makes GoogleTest print Qt strings as text in failure messages. Force-included in
// every test source by the build.

#include <QStringList>

#include <ostream>

// Tests write their texts as u"..."_s.
using namespace Qt::StringLiterals;

inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

inline void PrintTo(const QStringList& list, std::ostream* os) {
    *os << "{";
    for (qsizetype i = 0; i < list.size(); ++i)
        *os << (i ? ", \"" : "\"") << list[i].toStdString() << '"';
    *os << "}";
}
