#pragma once

#include "office/OfficeApplication.h"
#include "platform/Result.h"
#include "ui/office/OfficeReadTask.h"

#include <QWidget>

#include <functional>
#include <memory>

class QLabel;
class QListWidget;
class QProgressBar;
class QPushButton;
class QTableView;

namespace velmora {

class ContestRules;
class SignatureTrust;
class MessageService;
class OfficeApplicationsModel;
class OfficeFileChooser;
class OfficeProblemsModel;

// What the office's window works with besides its widgets.
struct OfficeWindowServices {
    MessageService& messages;
    OfficeFileChooser& chooser;
    OfficeReadingFactory makeReading;
    // Writes a batch's CSV files (applications, vacancies, resultas, problems) into a folder.
    std::function<Status(const OfficeReadOutcome& outcome, const QString& folder)> exportCsv;
    // A contest's rules from its installation folder; null after telling the user why not.
    std::function<std::shared_ptr<const ContestRules>(const QString& folder, MessageService& messages)>
        loadContest;
};

// The contest office's window (frmOficina): the scanned files to read, chosen or dropped on
// it; the reading with its progress, off the interface thread; the applications read with
// their status, the problems of the selected one (or of the files when none is selected); and
// the export to CSV.
class OfficeWindow : public QWidget {
    Q_OBJECT
public:
    explicit OfficeWindow(OfficeWindowServices services, QWidget* parent = nullptr);
    ~OfficeWindow() override;

    // Adds files not in the list yet; a folder adds the files in it.
    void addFiles(const QStringList& paths);
    QStringList files() const;
    // Checks the next readings against the contest installed in `folder`; false (after telling
    // the user why) when it cannot be loaded, and the previous contest stays.
    bool useContest(const QString& folder);
    // Checks the signed files of the next readings against the authorities of `folder`;
    // false (after telling the user why) when it holds none, and the previous choice stays.
    bool useTrust(const QString& folder);
    // What "Leer" does: reads the listed files off the interface thread.
    void startReading();
    bool reading() const { return m_task != nullptr; }
    const OfficeReadOutcome& outcome() const { return m_outcome; }

Q_SIGNALS:
    // The reading ended (or was cancelled) and its applications are on show.
    void readingFinished();
    // A contest folder was loaded for the checks (from the command line or "Concurso…").
    void contestLoaded(const QString& folder);
    // A folder of trusted authorities was chosen (from the command line or "Confianza…").
    void trustLoaded(const QString& folder);

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildControls();
    void chooseFiles();
    void removeFiles();
    void chooseContest();
    void chooseTrust();
    void cancelReading();
    void showProgress(int done, int total);
    void finishReading();
    void exportOutcome();
    void showSelectedProblems();
    void updateEnabled();

    OfficeWindowServices m_services;
    std::shared_ptr<const ContestRules> m_contest;
    std::shared_ptr<const SignatureTrust> m_trust;
    std::unique_ptr<OfficeReadTask> m_task;
    OfficeReadOutcome m_outcome;
    bool m_haveOutcome = false;

    QPushButton* m_cmdAnadir = nullptr;
    QPushButton* m_cmdQuitar = nullptr;
    QPushButton* m_cmdConcurso = nullptr;
    QLabel* m_lblConcurso = nullptr;
    QPushButton* m_cmdConfianza = nullptr;
    QLabel* m_lblConfianza = nullptr;
    QListWidget* m_lstFicheros = nullptr;
    QPushButton* m_cmdLeer = nullptr;
    QProgressBar* m_prgLectura = nullptr;
    QLabel* m_lblProgreso = nullptr;
    QPushButton* m_cmdCancelar = nullptr;
    QTableView* m_grdSolicitudes = nullptr;
    QLabel* m_lblIncidencias = nullptr;
    QPushButton* m_cmdIncidenciasFicheros = nullptr;
    QTableView* m_grdIncidencias = nullptr;
    QLabel* m_lblResumen = nullptr;
    QPushButton* m_cmdExportar = nullptr;
    OfficeApplicationsModel* m_applications = nullptr;
    OfficeProblemsModel* m_problems = nullptr;
};

} // namespace velmora
