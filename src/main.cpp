#include "platform/Clock.h"
#include "platform/ConsoleMessages.h"
#include "platform/widgets/QtMessageService.h"
#include "platform/widgets/SpanishTranslation.h"
#include "ui/GuidedWalk.h"
#include "ui/ProgramController.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>

// velmora [--recorrido] [CARPETA]: runs the program on the installation in CARPETA (by
// default the program's own folder). --recorrido walks through the windows on its own
// (sign-in, first tab, save, print to PDF) and leaves screenshots in the installation.
int main(int argc, char** argv) {
    QApplication app(argc, argv);
    velmora::keepDecoderWarningsOffTheConsole();
    QApplication::setApplicationName(QStringLiteral("Velmora"));
    QApplication::setApplicationVersion(QStringLiteral(VELMORA_VERSION));
    velmora::installSpanishTranslation(app);
    QApplication::setQuitOnLastWindowClosed(false);

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Solicitudes de concurso de traslados"));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption walk(QStringLiteral("recorrido"),
                                  QStringLiteral("Recorre las ventanas sin intervención y guarda capturas."));
    parser.addOption(walk);
    parser.addPositionalArgument(QStringLiteral("carpeta"), QStringLiteral("Carpeta de la instalación."));
    parser.process(app);
    const QStringList positional = parser.positionalArguments();
    const QString folder = positional.isEmpty() ? QApplication::applicationDirPath() : positional.first();
    if (!QDir(folder).exists(QStringLiteral("conf.xml"))) {
        velmora::QtMessageService messages;
        messages.inform(QStringLiteral("No se encuentra la instalación del concurso en %1 (falta conf.xml).")
                            .arg(QDir::toNativeSeparators(QDir(folder).absolutePath())),
                        velmora::programTitle(), velmora::MessageIcon::Critical);
        return 1;
    }

    velmora::SystemClock clock;
    if (parser.isSet(walk))
        return velmora::runGuidedWalk(folder, clock);

    velmora::QtMessageService messages;
    velmora::ProgramController controller(folder, messages, clock);
    if (!controller.start())
        return 0;
    return QApplication::exec();
}
