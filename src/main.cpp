#include "app/ContestFolder.h"
#include "platform/Clock.h"
#include "platform/ConsoleMessages.h"
#include "platform/widgets/QtFolderChooser.h"
#include "platform/widgets/QtMessageService.h"
#include "platform/widgets/SpanishTranslation.h"
#include "ui/GuidedWalk.h"
#include "ui/ProgramController.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QIcon>
#include <QSettings>
#include <QTextStream>

namespace {

// The contest folder asked for with the folder dialog, after a box that says why, if there is a why.
class ContestFolderDialog : public velmora::ContestFolderQuestion {
public:
    explicit ContestFolderDialog(velmora::MessageService& messages) : m_messages(messages) {}

    QString chooseFolder(const QString& title, const QString& startFolder,
                         const std::optional<velmora::Error>& why) override {
        m_messages.tell(why);
        return m_chooser.chooseFolder(title, startFolder);
    }

private:
    velmora::MessageService& m_messages;
    velmora::QtFolderChooser m_chooser;
};

} // namespace

// velmora [--recorrido] [CARPETA]: runs the program on the contest installation in CARPETA.
// Without one, as when started from the desktop menu, it runs on the program's own folder when
// that holds a contest, else on the folder used last, else on the one the user chooses.
// --recorrido walks through the windows on its own (sign-in, first tab, save, print to PDF)
// and leaves screenshots in the installation.
int main(int argc, char** argv) {
    QApplication app(argc, argv);
    velmora::keepDecoderWarningsOffTheConsole();
    QApplication::setApplicationName(QStringLiteral("Velmora"));
    QApplication::setApplicationVersion(QStringLiteral(VELMORA_VERSION));
    // The desktop entry and the icon installed with the package.
    QApplication::setDesktopFileName(QStringLiteral("velmora"));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("velmora")));
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
    velmora::QtMessageService messages;

    if (parser.isSet(walk)) {
        // Nobody is there to choose a folder: the walk runs where it is told, or beside the program.
        const QString folder = positional.isEmpty() ? QApplication::applicationDirPath() : positional.first();
        const velmora::Status contest = velmora::checkContestFolderUsable(folder);
        if (!contest.ok()) {
            // On the terminal: a message box would wait for a click that never comes.
            QTextStream(stderr) << contest.error().description << Qt::endl;
            return 1;
        }
        velmora::SystemClock clock;
        return velmora::runGuidedWalk(folder, clock);
    }

    QSettings settings(QStringLiteral("velmora"), QStringLiteral("velmora"));
    velmora::RememberedContestFolder memory(settings);
    ContestFolderDialog dialog(messages);
    velmora::ContestFolderPicker picker(memory, dialog);
    QString folder;
    if (positional.isEmpty()) {
        folder = picker.pick(QApplication::applicationDirPath());
        if (folder.isEmpty())
            return 0;
    } else {
        // A folder given on the command line that cannot be used is a failure.
        const velmora::Result<QString> given = picker.useGiven(positional.first());
        if (!given.ok()) {
            messages.tell(given.error());
            return 1;
        }
        folder = given.value();
    }

    velmora::SystemClock clock;
    velmora::ProgramController controller(folder, messages, clock);
    return controller.run();
}
