#pragma once

#include <QByteArray>
#include <QString>

namespace velmora::codepage {

// Windows-1252 exactly as Windows converts it: the five bytes the code page leaves
// undefined map to the C1 control characters of the same value, so every byte
// round-trips. Characters without a Windows-1252 byte encode as '?'.
QString decodeCp1252(QByteArrayView bytes);
QByteArray encodeCp1252(QStringView text);

// The OEM code page 850 of Western European consoles (zone names arrive in it).
QString decodeCp850(QByteArrayView bytes);

} // namespace velmora::codepage
