#pragma once

#include <QString>
#include <QStringList>

#include <functional>

namespace velmora::tools {

// A sub-command of velmora-tools ("catalog", "barcode", ...). Each command file
// registers itself with a static ToolCommand, so main() needs no list of them.
using ToolHandler = std::function<int(const QStringList& args)>;

struct ToolCommand {
    // `usage` follows "Uso: velmora-tools "; `description` is one Spanish line for the help.
    ToolCommand(const char* name, const QString& usage, const QString& description, ToolHandler handler);
};

// Prints a line to standard output / standard error as UTF-8.
void printOut(const QString& line);
void printErr(const QString& line);

} // namespace velmora::tools
