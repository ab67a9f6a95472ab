#pragma once

#include <QString>

namespace velmora {

// Orders texts as a Spanish reader expects: case and accents are ignored at the first
// level ("Ávila" stands among the A's), "ñ" is a letter of its own after "n", and
// texts equal at that level fall back to their exact characters, so the order is total.
QString spanishSortKey(QStringView text);
int spanishCompare(QStringView a, QStringView b);

} // namespace velmora
