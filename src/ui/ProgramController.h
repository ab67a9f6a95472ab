#pragma once

#include "app/RunState.h"
#include "platform/Clock.h"
#include "platform/widgets/QtMessageService.h"
#include "printing/PrintingWordProcessor.h"
#include "ui/EditorWindow.h"
#include "ui/SelectionWindow.h"
#include "users/UserStore.h"

#include <QObject>
#include <QPointer>

#include <memory>
#include <optional>

namespace velmora {

class MessageService;
class RecoveryFile;
class RecoveryFileLock;

// The program's start-up and the road between its windows: sign-in, the list of saved
// applications or the loading window, then the editor; back to the list when the applicant
// loads another application. The program ends when the editor closes, or when the first
// windows are left without going on.
class ProgramController : public QObject {
    Q_OBJECT
public:
    ProgramController(const QString& programFolder, MessageService& messages, const Clock& clock,
                      QObject* parent = nullptr);
    ~ProgramController() override;

    // Main: true when a window is left open and the event loop must run.
    bool start();
    // Main: start(), then the event loop while a window is open. The program's exit status:
    // 0 unless it ended on a failure (a user store or catalogues it cannot work without).
    int run();

    RunState& state() { return m_state; }
    EditorWindow* editor() const { return m_editor; }
    SelectionWindow* selection() const { return m_selection; }
    UserStore& users() { return m_users; }
    // Scripted runs and tests: no desktop application is started for PDFs or the manual.
    void setOpenWithDesktop(bool open) { m_openWithDesktop = open; }

Q_SIGNALS:
    void editorOpened(EditorWindow* editor);
    void finished();

private:
    bool loadBodies();
    bool runLoadingWindow();
    void openEditor();
    void showSelection(bool hideNew);
    void onNewApplication();
    void onLoadApplication(const QString& fileName);
    void onAnotherApplication();
    void end();
    // Unsaved work of the signed-in applicant: asks whether it comes back. The saved
    // application it belongs to (empty for a new one) when it does.
    std::optional<QString> offerRecovery();
    // Takes the recovery file of the signed-in DNI for this run, unless another copy of the
    // program holds it (then says so).
    void holdRecoveryFile();
    void reportDamagedRecovery(const RecoveryFile& recovery, const Error& error);

    RunState m_state;
    MessageService& m_messages;
    const Clock& m_clock;
    UserStore m_users;
    PrintingWordProcessor m_printing;
    QPointer<EditorWindow> m_editor;
    QPointer<SelectionWindow> m_selection;
    bool m_openWithDesktop = true;
    bool m_catalogsLoaded = false;
    bool m_recovering = false; // the editor about to open takes the recovered work
    int m_exitStatus = 0;      // 1 once a failure ends the program
    std::unique_ptr<RecoveryFileLock> m_recoveryLock;
};

} // namespace velmora
