#include "ToolCommand.h"

#include "platform/ConsoleMessages.h"
#include "platform/HeadlessEnvironment.h"

#include <QGuiApplication>

#include <cstdio>
#include <map>

namespace velmora::tools {
namespace {
struct Entry {
    QString usage;
    QString description;
    ToolHandler handler;
    ToolNeeds needs;
};
std::map<QString, Entry>& registry() {
    static std::map<QString, Entry> commands;
    return commands;
}
} // namespace

ToolCommand::ToolCommand(const char* name, const QString& usage, const QString& description,
                         ToolHandler handler, ToolNeeds needs) {
    registry()[QString::fromUtf8(name)] = Entry{usage, description, std::move(handler), needs};
}

void printOut(const QString& line) {
    std::fputs(line.toUtf8().constData(), stdout);
    std::fputc('\n', stdout);
}

void printErr(const QString& line) {
    std::fputs(line.toUtf8().constData(), stderr);
    std::fputc('\n', stderr);
}

namespace {

void printHelp(void (*print)(const QString&)) {
    print(QStringLiteral("Uso: velmora-tools ORDEN [argumentos]"));
    print(QString());
    print(QStringLiteral("Órdenes:"));
    for (const auto& [name, entry] : registry()) {
        print(QStringLiteral("  ") + entry.usage);
        print(QStringLiteral("      ") + entry.description);
    }
    print(QString());
    print(QStringLiteral("Con «velmora-tools ORDEN --help» se explican las opciones de cada orden."));
}

} // namespace

} // namespace velmora::tools

namespace {

int runCommand() {
    using namespace velmora::tools;
    QStringList args = QCoreApplication::arguments().mid(1);
    const auto& commands = registry();
    const QString first = args.value(0);
    if (first == QLatin1String("-h") || first == QLatin1String("--help") || first == QLatin1String("ayuda")) {
        printHelp(printOut);
        return 0;
    }
    if (!commands.count(first)) {
        if (!first.isEmpty())
            printErr(QStringLiteral("Orden desconocida: %1").arg(first));
        printHelp(printErr);
        return 2;
    }
    const QString name = args.takeFirst();
    const int status = commands.at(name).handler(args);
    // Output that never arrived (a full disk, a closed pipe) is a failure like any other.
    if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
        printErr(QStringLiteral("No se ha podido escribir la salida de la orden %1.").arg(name));
        return status == 0 ? 1 : status;
    }
    return status;
}

} // namespace

int main(int argc, char** argv) {
    using namespace velmora::tools;
    const auto command = registry().find(QString::fromLocal8Bit(argc > 1 ? argv[1] : ""));
    velmora::keepDecoderWarningsOffTheConsole();
    if (command == registry().end() || command->second.needs == ToolNeeds::TextOnly) {
        QCoreApplication app(argc, argv);
        return runCommand();
    }
    // Rendering and fonts need a GUI application object, but never a display.
    velmora::prepareHeadlessEnvironment();
    QGuiApplication app(argc, argv);
    return runCommand();
}
