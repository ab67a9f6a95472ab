#include "ToolCommand.h"

#include "platform/HeadlessEnvironment.h"

#include <QGuiApplication>

#include <cstdio>
#include <map>

namespace velmora::tools {
namespace {
struct Entry {
    QString usage;
    ToolHandler handler;
};
std::map<QString, Entry>& registry() {
    static std::map<QString, Entry> commands;
    return commands;
}
} // namespace

ToolCommand::ToolCommand(const char* name, const char* usage, ToolHandler handler) {
    registry()[QString::fromUtf8(name)] = Entry{QString::fromUtf8(usage), std::move(handler)};
}

void printOut(const QString& line) {
    std::fputs(line.toUtf8().constData(), stdout);
    std::fputc('\n', stdout);
}

void printErr(const QString& line) {
    std::fputs(line.toUtf8().constData(), stderr);
    std::fputc('\n', stderr);
}

QString optionValue(const QStringList& args, const QString& flag, const QString& fallback) {
    const qsizetype at = args.indexOf(flag);
    return at >= 0 && at + 1 < args.size() ? args.at(at + 1) : fallback;
}

bool hasFlag(const QStringList& args, const QString& flag) {
    return args.contains(flag);
}

QStringList positionalArgs(const QStringList& args, const QStringList& valueFlags) {
    QStringList out;
    for (qsizetype i = 0; i < args.size(); ++i) {
        if (valueFlags.contains(args.at(i))) {
            ++i;
            continue;
        }
        if (!args.at(i).startsWith(QLatin1String("--")))
            out << args.at(i);
    }
    return out;
}

} // namespace velmora::tools

int main(int argc, char** argv) {
    using namespace velmora::tools;
    // Rendering and fonts need a GUI application object, but never a display.
    velmora::prepareHeadlessEnvironment();
    QGuiApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    const auto& commands = registry();
    if (args.isEmpty() || !commands.count(args.first())) {
        printErr(QStringLiteral("Uso: velmora-tools ORDEN [argumentos]"));
        for (const auto& [name, entry] : commands)
            printErr(QStringLiteral("  ") + entry.usage);
        return 2;
    }
    const QString name = args.takeFirst();
    return commands.at(name).handler(args);
}
