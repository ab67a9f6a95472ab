#pragma once

#include "app/ContestConfiguration.h"
#include "app/SaveAndPrintFlow.h"
#include "editor/ApplicationModel.h"
#include "editor/CandidateTables.h"
#include "platform/widgets/QtSystemPrinter.h"
#include "printing/ApplicationDocument.h"
#include "ui/EditorMenu.h"
#include "ui/EditorServices.h"
#include "ui/PreviewWindow.h"

#include <QMainWindow>
#include <QPointer>

#include <array>
#include <memory>

class QAction;
class QTabWidget;
class QTimer;

namespace velmora {

class ControlBinder;
class CoursesPanel;
class DocumentsPanel;
class FirstTabController;
class PersonalDataPanel;
class PositionPanel;
class RecoveryFile;
class ResultasPanel;
class UnsavedWorkKeeper;
class VacanciesPanel;

// frmSolicitudes: the one working window. Five tabs configured by conf.xml, the menu, the
// save and print routines and the close prompt. The first tab's rules are in
// FirstTabController; each list tab is a panel of its own.
class EditorWindow : public QMainWindow, private SaveAndPrintHost {
    Q_OBJECT
public:
    explicit EditorWindow(EditorServices services, QWidget* parent = nullptr);
    ~EditorWindow() override;

    // Open editor: the signed-in DNI goes into txtDNI, which stays disabled.
    void setSignedInDni(const QString& dni);
    // Reads a saved application (document and XML companion) into the editor. A failure
    // abandons the load and is returned without a message (the caller tells the user);
    // what was read until then stays.
    Status loadApplication(const QString& fileName);
    // From now on unsaved changes are kept in the applicant's recovery file, until saved or
    // dropped at the close prompt.
    void keepUnsavedWork();
    // Puts the unsaved work of `file` in, over the saved application already loaded (if
    // any): the first tab's data, the four lists, body and group locked as they were.
    Status recoverWork(const RecoveryFile& file);

    // GrabaSolicitud: the save check, the password of a new user, then save (and print).
    // True once saved (and printed when asked); otherwise the user has been told why,
    // by the check or by the saving routine.
    bool GrabaSolicitud(bool print, bool draft);
    void HabilitaFiltros(bool enabled);
    // "Solicitud Existente" answered Yes: the catalogues are released and the program ends.
    void quitNow();

    QAction* menuEntry(MenuEntry entry) const;
    // The print preview window while it is open (tests answer it).
    PreviewWindow* previewWindow() const { return m_preview; }
    const ApplicationModel& model() const { return m_model; }
    const ContestConfiguration& configuration() const { return m_config; }
    const QString& wordProcessorVersion() const { return m_wordProcessorVersion; }
    // Where prints go; tests and scripted runs ask for a PDF file.
    void setPrintDestination(docengine::PrintDestination destination, const QString& pdfPath = QString());

Q_SIGNALS:
    // "Cargar otra solicitud" answered No: the selection window must come back.
    void anotherApplicationRequested();
    // The applicant chose to close the program (existing application), or the editor
    // closed after releasing the catalogues.
    void programEndRequested();

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void buildMenu();
    void buildTabs();
    void CargaConfiguracion();
    void bindLists();
    void onMenu(MenuEntry entry);
    void showPreview();
    void openSigningWindow();
    void onTabChanged(int index);
    void onTimer1();
    void setMenusEnabled(bool enabled);

    // Saves without printing as the window closes; false when it failed and the user was told.
    bool saveOnClose();
    // After a save: true when it succeeded; then the recovery file has done its job. A failure
    // is told; a print's notice is told, then the printed document is kept until Timer1.
    bool workSaved(const Result<ApplicationPrintout>& saved);
    void dropUnsavedWork();
    void openManual();
    void releaseAndEnd();

    // SaveAndPrintHost
    PasswordOutcome askForPassword(const QString& dni) override;
    std::unique_ptr<ProgressWindow> progressWindow() override;
    void identityLocked() override;

    // The notice of a print that went out; a printout written to a PDF, which the user asked
    // to see, is opened with the desktop's viewer.
    void tellPrintout(const PrintoutNotice& notice);
    void openPrintout(const QString& pdfPath);
    // After the notice: Timer1, which closes the printed document later, is enabled, and
    // "Imprimir", "Guardar" and "Cargar otra solicitud" are disabled.
    void printingStarted();

    EditorServices m_services;
    ApplicationModel m_model;
    CandidateTables m_candidates;
    ContestConfiguration m_config;
    std::unique_ptr<RecordSet> m_zonesClone;
    std::unique_ptr<RecordSet> m_areasClone;
    QString m_wordProcessorVersion;

    QTabWidget* m_tabs = nullptr;
    PersonalDataPanel* m_personal = nullptr;
    CoursesPanel* m_courses = nullptr;
    VacanciesPanel* m_vacancies = nullptr;
    ResultasPanel* m_resultas = nullptr;
    DocumentsPanel* m_documents = nullptr;
    std::unique_ptr<ControlBinder> m_binder;
    std::unique_ptr<FirstTabController> m_firstTab;
    std::unique_ptr<UnsavedWorkKeeper> m_unsavedWork;
    QtSystemPrinter m_printers;
    std::unique_ptr<SaveAndPrintFlow> m_flow;
    std::array<QAction*, kMenuEntries.size()> m_menu{};
    QPointer<PreviewWindow> m_preview;
    QTimer* m_timer1 = nullptr;
    QTimer* m_timer2 = nullptr;
    QWidget* m_manualViewer = nullptr;

    bool m_closeWithoutPrompt = false;
    bool m_quitNow = false;
    bool m_released = false;
    // Saved or loaded: DNI, body and group no longer change in this window.
    bool m_identityKept = false;
};

} // namespace velmora
