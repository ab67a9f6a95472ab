#pragma once

#include <QString>
#include <QStringList>

#include <functional>

namespace velmora::tools {

// A sub-command of velmora-tools ("catalog", "barcode", ...). Each command file
// registers itself with a static ToolCommand, so main() needs no list of them.
using ToolHandler = std::function<int(const QStringList& args)>;

struct ToolCommand {
    ToolCommand(const char* name, const char* usage, ToolHandler handler);
};

// Prints a line to standard output / standard error as UTF-8.
void printOut(const QString& line);
void printErr(const QString& line);

// "--name value" options: the value after the flag, or the fallback.
QString optionValue(const QStringList& args, const QString& flag, const QString& fallback = QString());
bool hasFlag(const QStringList& args, const QString& flag);
// The arguments that are neither flags nor the values of the given value flags.
QStringList positionalArgs(const QStringList& args, const QStringList& valueFlags);

} // namespace velmora::tools
