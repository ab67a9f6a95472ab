#include "ui/office/OfficeWindow.h"

#include "platform/MessageService.h"
#include "platform/widgets/TabOrder.h"
#include "signing/SignatureTrust.h"
#include "ui/office/OfficeApplicationsModel.h"
#include "ui/office/OfficeFileChooser.h"
#include "ui/office/OfficeTexts.h"

#include <QCloseEvent>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QMimeData>
#include <QProgressBar>
#include <QPushButton>
#include <QSplitter>
#include <QTableView>
#include <QVBoxLayout>

#include <utility>

namespace velmora {
namespace {

QString noContestText() {
    return QStringLiteral("Sin concurso: no se comprueban el cuerpo, el grupo ni las plazas.");
}

QPushButton* button(QWidget* parent, const char* name, const QString& text) {
    auto* made = new QPushButton(text, parent);
    made->setObjectName(QString::fromLatin1(name));
    return made;
}

QTableView* table(QWidget* parent, const char* name, QAbstractItemModel* model) {
    auto* view = new QTableView(parent);
    view->setObjectName(QString::fromLatin1(name));
    view->setModel(model);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->verticalHeader()->hide();
    view->horizontalHeader()->setStretchLastSection(true);
    // Tab leaves the table for the next control; the arrow keys move between its rows.
    view->setTabKeyNavigation(false);
    return view;
}

// The local files among dropped or chosen paths, a folder standing for the files in it.
QStringList localFiles(const QStringList& paths) {
    QStringList found;
    for (const QString& path : paths) {
        const QFileInfo info(path);
        if (info.isDir()) {
            for (const QFileInfo& inside : QDir(path).entryInfoList(QDir::Files, QDir::Name))
                found << inside.absoluteFilePath();
        } else {
            found << info.absoluteFilePath();
        }
    }
    return found;
}

QStringList droppedPaths(const QMimeData* data) {
    QStringList paths;
    if (!data)
        return paths;
    for (const QUrl& url : data->urls())
        if (url.isLocalFile())
            paths << url.toLocalFile();
    return paths;
}

} // namespace

OfficeWindow::OfficeWindow(OfficeWindowServices services, QWidget* parent)
    : QWidget(parent), m_services(std::move(services)) {
    setObjectName(QStringLiteral("frmOficina"));
    setWindowTitle(QStringLiteral("Velmora - Lectura de solicitudes escaneadas"));
    setAcceptDrops(true);
    buildControls();
    updateEnabled();
}

OfficeWindow::~OfficeWindow() = default; // a running task cancels and waits as it goes

void OfficeWindow::buildControls() {
    m_applications = new OfficeApplicationsModel(this);
    m_problems = new OfficeProblemsModel(this);

    m_cmdAnadir = button(this, "cmdAnadir", QStringLiteral("Añadir ficheros…"));
    m_cmdQuitar = button(this, "cmdQuitar", QStringLiteral("Quitar"));
    m_cmdConcurso = button(this, "cmdConcurso", QStringLiteral("Concurso…"));
    m_lblConcurso = new QLabel(noContestText(), this);
    m_lblConcurso->setObjectName(QStringLiteral("lblConcurso"));
    m_cmdConfianza = button(this, "cmdConfianza", QStringLiteral("Confianza…"));
    m_lblConfianza = new QLabel(QStringLiteral("Sin autoridades de confianza para las firmas"), this);
    m_lblConfianza->setObjectName(QStringLiteral("lblConfianza"));
    m_lstFicheros = new QListWidget(this);
    m_lstFicheros->setObjectName(QStringLiteral("lstFicheros"));
    m_lstFicheros->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_lstFicheros->setMaximumHeight(120);
    m_lstFicheros->setAccessibleName(QStringLiteral("Ficheros que se leerán"));

    m_cmdLeer = button(this, "cmdLeer", QStringLiteral("Leer"));
    m_prgLectura = new QProgressBar(this);
    m_prgLectura->setObjectName(QStringLiteral("prgLectura"));
    m_prgLectura->setRange(0, 1);
    m_prgLectura->setValue(0);
    m_lblProgreso = new QLabel(this);
    m_lblProgreso->setObjectName(QStringLiteral("lblProgreso"));
    m_lblProgreso->setMinimumWidth(140);
    m_cmdCancelar = button(this, "cmdCancelar", QStringLiteral("Cancelar"));

    m_grdSolicitudes = table(this, "grdSolicitudes", m_applications);
    m_grdSolicitudes->setAccessibleName(QStringLiteral("Solicitudes leídas"));
    m_lblIncidencias = new QLabel(QStringLiteral("Incidencias"), this);
    m_lblIncidencias->setObjectName(QStringLiteral("lblIncidencias"));
    m_cmdIncidenciasFicheros =
        button(this, "cmdIncidenciasFicheros", QStringLiteral("Incidencias de los ficheros"));
    m_grdIncidencias = table(this, "grdIncidencias", m_problems);
    m_grdIncidencias->setAccessibleName(QStringLiteral("Incidencias"));
    m_lblResumen = new QLabel(this);
    m_lblResumen->setObjectName(QStringLiteral("lblResumen"));
    m_lblResumen->setWordWrap(true);
    m_cmdExportar = button(this, "cmdExportar", QStringLiteral("Exportar"));

    auto* filesRow = new QHBoxLayout;
    filesRow->addWidget(m_cmdAnadir);
    filesRow->addWidget(m_cmdQuitar);
    filesRow->addSpacing(24);
    filesRow->addWidget(m_cmdConcurso);
    filesRow->addWidget(m_lblConcurso, 1);
    filesRow->addWidget(m_cmdConfianza);
    filesRow->addWidget(m_lblConfianza, 1);
    auto* readRow = new QHBoxLayout;
    readRow->addWidget(m_cmdLeer);
    readRow->addWidget(m_prgLectura, 1);
    readRow->addWidget(m_lblProgreso);
    readRow->addWidget(m_cmdCancelar);

    auto* problemsPane = new QWidget(this);
    auto* problemsLayout = new QVBoxLayout(problemsPane);
    problemsLayout->setContentsMargins(0, 0, 0, 0);
    auto* problemsHead = new QHBoxLayout;
    problemsHead->addWidget(m_lblIncidencias, 1);
    problemsHead->addWidget(m_cmdIncidenciasFicheros);
    problemsLayout->addLayout(problemsHead);
    problemsLayout->addWidget(m_grdIncidencias);
    auto* splitter = new QSplitter(Qt::Vertical, this);
    splitter->setObjectName(QStringLiteral("splTablas"));
    splitter->addWidget(m_grdSolicitudes);
    splitter->addWidget(problemsPane);
    splitter->setStretchFactor(0, 3);
    splitter->setStretchFactor(1, 2);

    auto* bottomRow = new QHBoxLayout;
    bottomRow->addWidget(m_lblResumen, 1);
    bottomRow->addWidget(m_cmdExportar);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(filesRow);
    layout->addWidget(m_lstFicheros);
    layout->addLayout(readRow);
    layout->addWidget(splitter, 1);
    layout->addLayout(bottomRow);
    resize(1000, 700);
    declareTabOrder(this, {m_cmdAnadir, m_cmdQuitar, m_cmdConcurso, m_cmdConfianza, m_lstFicheros, m_cmdLeer,
                           m_cmdCancelar, m_grdSolicitudes, m_cmdIncidenciasFicheros, m_grdIncidencias,
                           m_cmdExportar});

    connect(m_cmdAnadir, &QPushButton::clicked, this, &OfficeWindow::chooseFiles);
    connect(m_cmdQuitar, &QPushButton::clicked, this, &OfficeWindow::removeFiles);
    connect(m_cmdConcurso, &QPushButton::clicked, this, &OfficeWindow::chooseContest);
    connect(m_cmdConfianza, &QPushButton::clicked, this, &OfficeWindow::chooseTrust);
    connect(m_cmdLeer, &QPushButton::clicked, this, &OfficeWindow::startReading);
    connect(m_cmdCancelar, &QPushButton::clicked, this, &OfficeWindow::cancelReading);
    connect(m_cmdExportar, &QPushButton::clicked, this, &OfficeWindow::exportOutcome);
    connect(m_cmdIncidenciasFicheros, &QPushButton::clicked, m_grdSolicitudes, &QTableView::clearSelection);
    connect(m_grdSolicitudes->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &OfficeWindow::showSelectedProblems);
    connect(m_applications, &QAbstractItemModel::modelReset, this, &OfficeWindow::showSelectedProblems);
}

void OfficeWindow::addFiles(const QStringList& paths) {
    QStringList known = files();
    for (const QString& file : localFiles(paths)) {
        if (known.contains(file))
            continue;
        known << file;
        m_lstFicheros->addItem(QDir::toNativeSeparators(file));
        m_lstFicheros->item(m_lstFicheros->count() - 1)->setData(Qt::UserRole, file);
    }
    updateEnabled();
}

QStringList OfficeWindow::files() const {
    QStringList out;
    for (int i = 0; i < m_lstFicheros->count(); ++i)
        out << m_lstFicheros->item(i)->data(Qt::UserRole).toString();
    return out;
}

void OfficeWindow::chooseFiles() {
    addFiles(m_services.chooser.scanFiles());
}

void OfficeWindow::removeFiles() {
    const QList<QListWidgetItem*> selected = m_lstFicheros->selectedItems();
    if (selected.isEmpty())
        m_lstFicheros->clear(); // with nothing selected, "Quitar" empties the list
    else
        qDeleteAll(selected);
    updateEnabled();
}

void OfficeWindow::chooseContest() {
    const QString folder = m_services.chooser.installationFolder();
    if (!folder.isEmpty())
        useContest(folder);
}

bool OfficeWindow::useContest(const QString& folder) {
    std::shared_ptr<const ContestRules> contest = m_services.loadContest(folder, m_services.messages);
    if (!contest)
        return false; // the previous choice stays
    m_contest = std::move(contest);
    m_lblConcurso->setText(QStringLiteral("Concurso: %1").arg(QDir::toNativeSeparators(folder)));
    Q_EMIT contestLoaded(folder);
    return true;
}

void OfficeWindow::chooseTrust() {
    const QString folder = m_services.chooser.trustFolder();
    if (!folder.isEmpty())
        useTrust(folder);
}

bool OfficeWindow::useTrust(const QString& folder) {
    Result<std::shared_ptr<const SignatureTrust>> trust = SignatureTrust::load(folder);
    if (!trust) {
        m_services.messages.inform(trust.error().description, officeWindowTitle(), MessageIcon::Exclamation);
        return false;
    }
    m_trust = trust.value();
    m_lblConfianza->setText(QStringLiteral("Confianza: %1").arg(QDir::toNativeSeparators(folder)));
    Q_EMIT trustLoaded(folder);
    return true;
}

void OfficeWindow::startReading() {
    if (reading())
        return;
    const QStringList batch = files();
    if (batch.isEmpty()) {
        m_services.messages.inform(QStringLiteral("Añada antes los ficheros que desea leer."),
                                   officeWindowTitle(), MessageIcon::Exclamation);
        return;
    }
    m_task = std::make_unique<OfficeReadTask>(m_services.makeReading(m_contest.get(), m_trust.get()), batch);
    connect(m_task.get(), &OfficeReadTask::progressed, this, &OfficeWindow::showProgress);
    connect(m_task.get(), &OfficeReadTask::finished, this, &OfficeWindow::finishReading);
    m_prgLectura->setRange(0, 0); // busy until the first page tells the total
    m_lblProgreso->setText(QStringLiteral("Abriendo los ficheros…"));
    m_lblResumen->clear();
    m_task->start();
    updateEnabled();
}

void OfficeWindow::cancelReading() {
    if (!reading())
        return;
    m_task->cancel();
    m_cmdCancelar->setEnabled(false);
    m_lblProgreso->setText(QStringLiteral("Cancelando…"));
}

void OfficeWindow::showProgress(int done, int total) {
    if (!reading() || !m_cmdCancelar->isEnabled())
        return;
    m_prgLectura->setRange(0, qMax(total, 1));
    m_prgLectura->setValue(qBound(0, done, qMax(total, 1)));
    m_lblProgreso->setText(officeProgressText(done, total));
}

void OfficeWindow::finishReading() {
    std::unique_ptr<OfficeReadTask> task = std::move(m_task);
    m_outcome = task->outcome();
    m_haveOutcome = true;
    m_prgLectura->setRange(0, qMax(m_outcome.pages, 1));
    m_prgLectura->setValue(m_outcome.pages);
    m_lblProgreso->setText(m_outcome.cancelled ? QStringLiteral("Cancelada")
                                               : officeProgressText(m_outcome.pages, m_outcome.pages));
    m_applications->setApplications(m_outcome.applications);
    m_grdSolicitudes->resizeColumnsToContents();
    m_lblResumen->setText(officeSummaryText(m_outcome));
    updateEnabled();
    task.release()->deleteLater(); // it is still sending this signal
    Q_EMIT readingFinished();
}

void OfficeWindow::showSelectedProblems() {
    const QModelIndexList rows = m_grdSolicitudes->selectionModel()->selectedRows();
    const OfficeApplication* selected =
        rows.isEmpty() ? nullptr : m_applications->application(rows.first().row());
    if (selected) {
        m_problems->setProblems(selected->problems);
        m_lblIncidencias->setText(selected->complete()
                                      ? QStringLiteral("La solicitud %1 está completa.").arg(selected->id)
                                      : QStringLiteral("Incidencias de la solicitud %1").arg(selected->id));
    } else {
        m_problems->setProblems(m_haveOutcome ? m_outcome.fileProblems : std::vector<OfficeProblem>{});
        m_lblIncidencias->setText(
            m_haveOutcome
                ? QStringLiteral("Incidencias de los ficheros (%1)").arg(m_outcome.fileProblems.size())
                : QStringLiteral("Incidencias"));
    }
    m_grdIncidencias->resizeColumnsToContents();
    m_grdIncidencias->horizontalHeader()->setStretchLastSection(true);
}

void OfficeWindow::exportOutcome() {
    if (!m_haveOutcome) {
        m_services.messages.inform(QStringLiteral("Lea antes los ficheros: no hay nada que exportar."),
                                   officeWindowTitle(), MessageIcon::Exclamation);
        return;
    }
    const QString folder = m_services.chooser.exportFolder();
    if (folder.isEmpty())
        return;
    const Status written = m_services.exportCsv(m_outcome, folder);
    if (!written) {
        m_services.messages.inform(
            QStringLiteral("No se han podido exportar las solicitudes: %1").arg(written.error().description),
            officeWindowTitle(), MessageIcon::Critical);
        return;
    }
    m_services.messages.inform(QStringLiteral("Se han escrito solicitudes.csv, vacantes.csv, resultas.csv e "
                                              "incidencias.csv en %1.")
                                   .arg(QDir::toNativeSeparators(folder)),
                               officeWindowTitle(), MessageIcon::Information);
}

void OfficeWindow::updateEnabled() {
    const bool busy = reading();
    m_cmdAnadir->setEnabled(!busy);
    m_cmdQuitar->setEnabled(!busy && m_lstFicheros->count() > 0);
    m_cmdConcurso->setEnabled(!busy);
    m_cmdConfianza->setEnabled(!busy);
    m_lstFicheros->setEnabled(!busy);
    m_cmdLeer->setEnabled(!busy && m_lstFicheros->count() > 0);
    m_cmdCancelar->setEnabled(busy);
    m_cmdExportar->setEnabled(!busy && m_haveOutcome);
}

void OfficeWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (!reading() && !droppedPaths(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void OfficeWindow::dropEvent(QDropEvent* event) {
    const QStringList paths = droppedPaths(event->mimeData());
    if (reading() || paths.isEmpty())
        return;
    addFiles(paths);
    event->acceptProposedAction();
}

void OfficeWindow::closeEvent(QCloseEvent* event) {
    if (reading()) {
        const MessageAnswer answer = m_services.messages.show(
            QStringLiteral("Se están leyendo los ficheros. ¿Desea cancelar la lectura y cerrar la ventana?"),
            officeWindowTitle(), MessageIcon::Question, MessageButtons::YesNo);
        if (answer != MessageAnswer::Yes) {
            event->ignore();
            return;
        }
        m_task.reset(); // cancels and waits for the pages in hand
        updateEnabled();
    }
    event->accept();
}

} // namespace velmora
