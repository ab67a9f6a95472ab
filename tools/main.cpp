#include "ToolCommand.h"

#include "platform/ConsoleMessages.h"
#include "platform/HeadlessEnvironment.h"
#include "platform/MemoryPages.h"

#include <QGuiApplication>

#include <cstdio>
#include <cstdlib>
#include <map>

namespace velmora::tools {
namespace {
struct Entry {
    QString usage;
    QString description;
    ToolHandler handler;
};
std::map<QString, Entry>& registry() {
    static std::map<QString, Entry> commands;
    return commands;
}
} // namespace

ToolCommand::ToolCommand(const char* name, const QString& usage, const QString& description,
                         ToolHandler handler) {
    registry()[QString::fromUtf8(name)] = Entry{usage, description, std::move(handler)};
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

int runCommand(const QGuiApplication& app) {
    using namespace velmora::tools;
    QStringList args = app.arguments().mid(1);
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
    velmora::preferLargeMemoryPages();
    // Rendering and fonts need a GUI application object, but never a display.
    velmora::prepareHeadlessEnvironment();
    QGuiApplication app(argc, argv);
    velmora::keepDecoderWarningsOffTheConsole();
    const int status = runCommand(app);
#if defined(__SANITIZE_ADDRESS__)
    return status; // sanitizer builds end normally, so that leaks are looked for
#else
    // Destroying the application object starts fontconfig only to close it again, a third
    // of a short command's time. A command has closed what it wrote when it returns, so the
    // process ends here.
    std::fflush(stdout);
    std::fflush(stderr);
    std::_Exit(status);
#endif
}
