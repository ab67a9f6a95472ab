#include "ui/ProgramController.h"

#include "app/RecoveryFile.h"
#include "applications/ApplicationFiles.h"
#include "applications/ApplicationSelection.h"
#include "catalog/CatalogLoader.h"
#include "editor/SavedApplicationReader.h"
#include "platform/Clock.h"
#include "platform/TraceFile.h"
#include "printing/BarcodePicture.h"
#include "ui/EditorWindow.h"
#include "ui/LoadingWindow.h"
#include "ui/SelectionWindow.h"
#include "ui/SignInWindow.h"

#include <QCoreApplication>
#include <QDir>
#include <QTimer>

#include <optional>
#include <utility>

namespace velmora {

ProgramController::ProgramController(const QString& programFolder, MessageService& messages,
                                     const Clock& clock, QObject* parent)
    : QObject(parent), m_messages(messages), m_clock(clock), m_users(programFolder) {
    m_state.folders = AppFolders::at(programFolder);
    setTraceFolder(m_state.folders.program);
}

ProgramController::~ProgramController() {
    delete m_editor;
    delete m_selection;
}

bool ProgramController::loadBodies() {
    CatalogLoader loader(m_state.folders.data);
    const Status built = loader.buildBodies(m_state.tables.bodies);
    if (!built.ok()) {
        m_messages.tell(
            built.error().retold(QStringLiteral("No se ha podido cargar la tabla de cuerpos: %1 %2")
                                     .arg(built.error().description)
                                     .arg(built.error().number),
                                 programTitle(), MessageIcon::Critical));
        return false;
    }
    return true;
}

bool ProgramController::start() {
    removeLeftBarcodePictures(m_state.folders.applications, m_clock.now());
    // Only the bodies are read before sign-in: the list of saved applications describes them.
    loadBodies();

    SignInWindow signIn(m_users, m_messages, m_state);
    if (signIn.isUsable())
        signIn.exec();
    else
        m_exitStatus = 1; // the store that could not be read has been reported
    if (!m_state.signedIn)
        return false;

    holdRecoveryFile();
    if (const std::optional<QString> belongsTo = offerRecovery()) {
        // The saved application the work belongs to is loaded first, the changes go on top.
        m_recovering = true;
        m_state.loadExisting = !belongsTo->isEmpty();
        m_state.selectedApplicationFile = *belongsTo;
        if (!runLoadingWindow())
            return false;
        openEditor();
        return true;
    }

    const auto count = listApplications(m_state.folders.applications, m_state.signedInDni,
                                        m_state.tables.bodies, m_state.applicationFiles);
    if (!count.ok() || count.value() < 1) {
        if (!runLoadingWindow())
            return false;
        openEditor();
        return true;
    }
    showSelection(false);
    return true;
}

bool ProgramController::runLoadingWindow() {
    if (m_catalogsLoaded) {
        // A second application in the same run: the catalogues are read afresh.
        m_state.tables.release();
        loadBodies();
    }
    LoadingWindow loading(m_state.folders, m_state.tables, m_messages);
    loading.exec();
    m_catalogsLoaded = true;
    if (loading.endsProgram())
        m_exitStatus = 1;
    return !loading.endsProgram();
}

int ProgramController::run() {
    if (!start())
        return m_exitStatus;
    return QCoreApplication::exec();
}

void ProgramController::openEditor() {
    EditorServices services{m_state, m_messages, m_clock, m_users, m_printing, m_openWithDesktop};
    m_editor = new EditorWindow(services);
    connect(m_editor, &EditorWindow::anotherApplicationRequested, this,
            &ProgramController::onAnotherApplication);
    connect(m_editor, &EditorWindow::programEndRequested, this, &ProgramController::end);
    m_editor->show();
    m_editor->setSignedInDni(m_state.signedInDni);
    if (!m_state.selectedApplicationFile.isEmpty()) {
        // The editor keeps what was read; the user learns that the rest is missing.
        const Status loaded = m_editor->loadApplication(m_state.selectedApplicationFile);
        if (!loaded.ok() && loaded.error().number == kUnreadableApplication)
            m_messages.inform(loaded.error().description, QStringLiteral("Solicitudes"),
                              MessageIcon::Exclamation);
        else if (!loaded.ok())
            m_messages.inform(QStringLiteral("No se ha podido recuperar la solicitud %1: %2 %3")
                                  .arg(m_state.selectedApplicationFile, loaded.error().description)
                                  .arg(loaded.error().number),
                              programTitle(), MessageIcon::Critical);
    }
    if (std::exchange(m_recovering, false)) {
        const RecoveryFile recovery(m_state.folders.applications, m_state.signedInDni);
        if (const Status recovered = m_editor->recoverWork(recovery); !recovered.ok())
            reportDamagedRecovery(recovery, recovered.error());
    }
    m_editor->keepUnsavedWork();
    Q_EMIT editorOpened(m_editor);
}

void ProgramController::holdRecoveryFile() {
    const RecoveryFile recovery(m_state.folders.applications, m_state.signedInDni);
    m_recoveryLock = std::make_unique<RecoveryFileLock>(recovery);
    m_state.recoveryHeldElsewhere = !m_recoveryLock->held();
    if (m_state.recoveryHeldElsewhere)
        m_messages.inform(QStringLiteral("Hay otra copia del programa abierta con el DNI %1. Los cambios sin "
                                         "guardar de esta copia no se podrán recuperar si se cierra de forma "
                                         "inesperada: guarde la solicitud a menudo.")
                              .arg(m_state.signedInDni),
                          QStringLiteral("Solicitud"), MessageIcon::Information);
}

std::optional<QString> ProgramController::offerRecovery() {
    const RecoveryFile recovery(m_state.folders.applications, m_state.signedInDni);
    if (m_state.recoveryHeldElsewhere || !recovery.exists())
        return std::nullopt;
    const Result<RecoveredWork> header = recovery.header();
    if (!header.ok()) {
        reportDamagedRecovery(recovery, header.error());
        return std::nullopt;
    }
    const QDateTime at = header.value().writtenAt;
    const MessageAnswer answer = m_messages.show(
        QStringLiteral("Se han encontrado cambios sin guardar de la solicitud del %1 a las %2. "
                       "¿Desea recuperarlos?")
            .arg(at.toString(QStringLiteral("dd/MM/yyyy")), at.toString(QStringLiteral("HH:mm"))),
        QStringLiteral("Solicitud"), MessageIcon::Question, MessageButtons::YesNo);
    if (answer != MessageAnswer::Yes) {
        if (const Status removed = recovery.remove(); !removed.ok())
            m_messages.inform(removed.error().description, QStringLiteral("Solicitud"),
                              MessageIcon::Exclamation);
        return std::nullopt;
    }
    const QString belongsTo = header.value().applicationFile;
    // Work on an application deleted since is recovered as a new one.
    return applicationFileExists(m_state.folders.applications, belongsTo) ? belongsTo : QString();
}

void ProgramController::reportDamagedRecovery(const RecoveryFile& recovery, const Error& error) {
    m_messages.inform(recovery.setAsideDamaged(error), QStringLiteral("Solicitud"), MessageIcon::Exclamation);
}

void ProgramController::showSelection(bool hideNew) {
    if (!m_selection) {
        m_selection = new SelectionWindow(m_state, m_messages);
        connect(m_selection, &SelectionWindow::newApplicationRequested, this,
                &ProgramController::onNewApplication);
        connect(m_selection, &SelectionWindow::applicationRequested, this,
                &ProgramController::onLoadApplication);
        connect(m_selection, &SelectionWindow::closedWithoutChoice, this, &ProgramController::end);
    }
    if (hideNew)
        m_selection->hideNewButton();
    m_selection->show();
}

void ProgramController::onNewApplication() {
    m_state.loadExisting = false;
    m_state.selectedApplicationFile.clear();
    m_selection->hide();
    if (!runLoadingWindow())
        return end();
    openEditor();
    m_selection->deleteLater();
    m_selection = nullptr;
}

void ProgramController::onLoadApplication(const QString& fileName) {
    m_state.loadExisting = true;
    m_state.selectedApplicationFile = fileName;
    m_selection->hide();
    if (!runLoadingWindow())
        return end();
    openEditor();
    m_selection->deleteLater();
    m_selection = nullptr;
}

void ProgramController::onAnotherApplication() {
    // The list is read again, so an application saved in this run is there.
    if (const auto listed = listApplications(m_state.folders.applications, m_state.signedInDni,
                                             m_state.tables.bodies, m_state.applicationFiles);
        !listed.ok())
        m_messages.tell(listingFailure(listed.error()));
    m_state.selectedApplicationFile.clear();
    if (m_editor)
        m_editor->deleteLater();
    m_editor = nullptr;
    showSelection(true);
}

void ProgramController::end() {
    Q_EMIT finished();
    QTimer::singleShot(0, qApp, [status = m_exitStatus] { QCoreApplication::exit(status); });
}

} // namespace velmora
