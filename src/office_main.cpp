#include "app/ContestFolder.h"
#include "office/OfficeCsvExport.h"
#include "platform/ConsoleMessages.h"
#include "platform/widgets/QtMessageService.h"
#include "platform/widgets/SpanishTranslation.h"
#include "ui/office/OfficeContestLoader.h"
#include "ui/office/OfficeFileChooser.h"
#include "ui/office/OfficeReadTask.h"
#include "ui/office/OfficeWindow.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QIcon>
#include <QSettings>
#include <QTimer>

// velmora-oficina [--concurso CARPETA] [--leer] [--captura PNG] [FICHEROS...]: the contest office's window,
// which reads scanned printed applications back into data. Files given on the command line start in its list
// (a folder stands for the files in it). Without --concurso the contest folder used last is loaded again.
int main(int argc, char** argv) {
    QApplication app(argc, argv);
    velmora::keepDecoderWarningsOffTheConsole();
    QApplication::setApplicationName(QStringLiteral("Velmora - Oficina"));
    QApplication::setApplicationVersion(QStringLiteral(VELMORA_VERSION));
    QApplication::setDesktopFileName(QStringLiteral("velmora-oficina"));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("velmora-oficina")));
    velmora::installSpanishTranslation(app);

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Lectura de solicitudes impresas y escaneadas"));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption contest(QStringLiteral("concurso"),
                                     QStringLiteral("Carpeta de instalación del concurso, para comprobar "
                                                    "cuerpos, grupos y plazas."),
                                     QStringLiteral("carpeta"));
    parser.addOption(contest);
    const QCommandLineOption trust(QStringLiteral("confianza"),
                                   QStringLiteral("Autoridades en las que se confía para las solicitudes "
                                                  "firmadas: carpeta de certificados (PEM o DER) o base de "
                                                  "datos NSS."),
                                   QStringLiteral("carpeta"));
    parser.addOption(trust);
    const QCommandLineOption readAtOnce(
        QStringLiteral("leer"), QStringLiteral("Empieza a leer los ficheros nada más abrir la ventana."));
    parser.addOption(readAtOnce);
    const QCommandLineOption capture(QStringLiteral("captura"),
                                     QStringLiteral("Lee los ficheros, guarda una imagen de la ventana en "
                                                    "FICHERO.png y termina."),
                                     QStringLiteral("fichero"));
    parser.addOption(capture);
    parser.addPositionalArgument(QStringLiteral("ficheros"), QStringLiteral("PDF o imágenes escaneadas."),
                                 QStringLiteral("[ficheros...]"));
    parser.process(app);

    velmora::QtMessageService messages;
    velmora::DialogFileChooser chooser;
    velmora::OfficeWindow window(
        {messages, chooser, velmora::makeBatchReading, velmora::writeOfficeCsv, velmora::loadOfficeContest});
    messages.setParent(&window);
    chooser.setParent(&window);
    QSettings settings(QStringLiteral("velmora"), QStringLiteral("velmora-oficina"));
    velmora::RememberedContestFolder memory(settings);
    QObject::connect(&window, &velmora::OfficeWindow::contestLoaded, &window,
                     [&memory](const QString& folder) { memory.remember(folder); });
    if (parser.isSet(contest)) {
        if (!window.useContest(parser.value(contest)))
            return 1;
    } else if (velmora::checkContestFolder(memory.folder()).ok()) {
        // The contest is optional: one that is gone since the last run is simply left out.
        window.useContest(memory.folder());
    }
    // The authorities are remembered like the contest, under a key of their own.
    const QString trustKey = QStringLiteral("confianza/carpeta");
    QObject::connect(&window, &velmora::OfficeWindow::trustLoaded, &window,
                     [&settings, &trustKey](const QString& folder) {
                         settings.setValue(trustKey, QDir(folder).absolutePath());
                     });
    if (parser.isSet(trust)) {
        if (!window.useTrust(parser.value(trust)))
            return 1;
    } else if (const QString folder = settings.value(trustKey).toString();
               !folder.isEmpty() && QDir(folder).exists()) {
        window.useTrust(folder);
    }
    window.addFiles(parser.positionalArguments());
    window.show();
    if (parser.isSet(capture)) {
        // A picture of the window as the office sees it once a batch is read, for the README
        // and for checking the window where there is no one to look at it.
        QObject::connect(&window, &velmora::OfficeWindow::readingFinished, &window, [&] {
            QTimer::singleShot(200, &window, [&] {
                const bool saved = window.grab().save(parser.value(capture));
                QApplication::exit(saved ? 0 : 1);
            });
        });
    }
    if (parser.isSet(readAtOnce) || parser.isSet(capture))
        QTimer::singleShot(0, &window, &velmora::OfficeWindow::startReading);
    return QApplication::exec();
}
