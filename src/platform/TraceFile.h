#pragma once

#include <QString>

namespace velmora {

// traza.txt in the program folder: the program's one trace file. The program names its folder
// when it starts; before that, and in the tools, appending writes nothing.
void setTraceFolder(const QString& programFolder);
// Appends `line` with the date and time; a trace that cannot be written is given up quietly,
// as there is nowhere left to report it.
void appendTraceLine(const QString& line);

} // namespace velmora
