#pragma once

#include <QString>
#include <QStringList>

#include <functional>

namespace velmora::tools {

// A sub-command of velmora-tools ("catalog", "barcode", ...). Each command file
// registers itself with a static ToolCommand, so main() needs no list of them.
using ToolHandler = std::function<int(const QStringList& args)>;

// What a command works with. Fonts and drawing need a GUI application object, whose teardown
// reads the system's font configuration only to close it: a command on text does without.
enum class ToolNeeds { Drawing, TextOnly };

struct ToolCommand {
    // `usage` follows "Uso: velmora-tools "; `description` is one Spanish line for the help.
    ToolCommand(const char* name, const QString& usage, const QString& description, ToolHandler handler,
                ToolNeeds needs = ToolNeeds::Drawing);
};

// Prints a line to standard output / standard error as UTF-8.
void printOut(const QString& line);
void printErr(const QString& line);

} // namespace velmora::tools
