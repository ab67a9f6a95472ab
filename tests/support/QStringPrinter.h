#pragma once

#include <QString>

#include <ostream>

// Lets GoogleTest show QStrings (and lists of them) as readable UTF-8 text in failures.
inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}
