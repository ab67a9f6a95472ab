#include "SavedApplicationRun.h"

#include "OutputGuard.h"
#include "ToolCommand.h"

#include "app/LoadingSequence.h"
#include "editor/FirstTabRules.h"
#include "editor/SavedApplicationReader.h"
#include "platform/Progress.h"
#include "printing/ApplicationDocument.h"
#include "users/UserStore.h"

#include <QDir>

#include <utility>

namespace velmora::tools {

// The save and print flow on the console: the copy it saves goes to a scratch folder, so no
// password is set for it, and its progress is not shown.
class SavedApplicationRun::ConsoleHost final : public SaveAndPrintHost {
public:
    PasswordOutcome askForPassword(const QString&) override { return PasswordOutcome::Declined; }
    std::unique_ptr<ProgressWindow> progressWindow() override { return std::make_unique<ProgressWindow>(); }
};

namespace {

// A body or group the catalogue does not know gets no code: the barcodes' key would carry
// "00000" or a blank for it, which the contest office cannot file.
void warnAboutUnknownChoices(const ApplicationModel& model) {
    for (const auto& [control, what] :
         {std::pair(ctl::cboCuerpo, "el cuerpo o categoría"), std::pair(ctl::cboGrupo, "el grupo")}) {
        const QString text = model.text(control);
        if (!text.isEmpty() && model.value(control).isEmpty())
            printErr(QStringLiteral("aviso: %1 de la solicitud («%2») no está en el catálogo del concurso; "
                                    "los códigos de barras no llevarán su código.")
                         .arg(QString::fromUtf8(what), text));
    }
}

} // namespace

QFileInfo applicationDocument(const AppFolders& folders, const QString& named) {
    return QFileInfo(named.contains(QLatin1Char('/')) || named.contains(QLatin1Char('\\'))
                         ? named
                         : QDir(folders.applications).filePath(named));
}

bool outputAllowed(const QString& output, const QFileInfo& document, const AppFolders& folders) {
    const QString lists =
        QDir(document.absolutePath()).filePath(document.completeBaseName() + QStringLiteral(".xml"));
    const Status allowed = checkOutputFile(output, {document.filePath(), lists}, folders.program);
    if (!allowed.ok())
        printErr(allowed.error().description);
    return allowed.ok();
}

SavedApplicationRun::SavedApplicationRun() = default;
SavedApplicationRun::~SavedApplicationRun() = default;

bool SavedApplicationRun::load(const AppFolders& folders, const QFileInfo& document) {
    m_folders = folders;
    auto configuration = ContestConfiguration::read(folders.program);
    if (!configuration.ok()) {
        printErr(QStringLiteral("No se puede leer conf.xml: %1").arg(configuration.error().description));
        return false;
    }
    m_configuration = configuration.value();
    const LoadingOutcome installation = loadInstallation(folders, m_tables);
    m_messages.tell(installation.notice);
    if (!installation.loaded) {
        printErr(QStringLiteral("La carga del concurso ha fallado."));
        return false;
    }
    m_lists.emplace(ApplicationLists{m_tables.vacancyList, m_tables.resultasList, m_tables.coursesList,
                                     m_tables.documentsList});
    docengine::WordProcessor reader;
    Progress progress;
    auto loaded = readSavedApplication(document.absolutePath(), document.fileName(), reader, m_model,
                                       *m_lists, progress, &m_tables);
    if (!loaded.ok()) {
        printErr(QStringLiteral("No se puede leer la solicitud %1: %2")
                     .arg(QDir::toNativeSeparators(document.filePath()), loaded.error().description));
        return false;
    }
    for (const QString& notice : loaded.value().notices)
        printErr(notice);
    // The lists print from the companion file: without it the printout would lack them.
    if (loaded.value().lists != SidecarRead::Loaded) {
        printErr(QStringLiteral("No se puede imprimir la solicitud sin sus listas."));
        return false;
    }
    // What the editor does with a loaded application: the situation found in its list (or
    // the list's "other" row), the boxes it shows.
    FirstTabRules(m_model).applyLoadedData(m_tables.situations);
    warnAboutUnknownChoices(m_model);
    return true;
}

SaveAndPrintFlow& SavedApplicationRun::flow(const QString& pdf, bool olderWordProcessor) {
    AppFolders printFolders = m_folders;
    printFolders.applications = m_scratch.path() + QLatin1Char('/');
    // Read only: the flow asks whether the DNI has a password.
    m_users = std::make_unique<UserStore>(m_folders.program);
    m_host = std::make_unique<ConsoleHost>();
    m_flow = std::make_unique<SaveAndPrintFlow>(
        SaveAndPrintContext{.model = m_model,
                            .lists = *m_lists,
                            .situations = m_tables.situations,
                            .configuration = *m_configuration,
                            .folders = printFolders,
                            .users = *m_users,
                            .printing = m_wordProcessor,
                            .questions = m_messages,
                            .clock = m_clock,
                            .wordProcessorVersion =
                                olderWordProcessor ? QStringLiteral("8") : QStringLiteral("16"),
                            .destination = docengine::PrintDestination::Pdf,
                            .pdfPath = QFileInfo(pdf).absoluteFilePath()},
        *m_host);
    return *m_flow;
}

} // namespace velmora::tools
