#include "ui/EditorWindow.h"

#include "app/UserManualWriter.h"
#include "applications/ApplicationFiles.h"
#include "applications/SavedApplicationReader.h"
#include "editor/ApplicationChecks.h"
#include "platform/CannotFail.h"
#include "platform/MessageService.h"
#include "platform/barcode/Pdf417Writer.h"
#include "platform/widgets/DataComboBox.h"
#include "platform/widgets/DataGrid.h"
#include "platform/widgets/DesktopOpener.h"
#include "printing/PrintRecord.h"
#include "printing/PrintingWordProcessor.h"
#include "ui/ControlBinder.h"
#include "ui/FirstTabController.h"
#include "ui/GeneralProgressWindow.h"
#include "ui/ManualViewer.h"
#include "ui/PasswordWindow.h"
#include "ui/PersonalDataPanel.h"
#include "ui/editor/CoursesPanel.h"
#include "ui/editor/DocumentsPanel.h"
#include "ui/editor/ResultasPanel.h"
#include "ui/editor/VacanciesPanel.h"
#include "users/UserStore.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QLabel>
#include <QMenuBar>
#include <QScrollArea>
#include <QTabWidget>
#include <QTimer>

namespace velmora {
namespace {

constexpr std::array<int, 6> kMenuIndexes = {1000, 2000, 2500, 3000, 4000, 5000};

int menuSlot(int index) {
    for (size_t i = 0; i < kMenuIndexes.size(); ++i)
        if (kMenuIndexes[i] == index)
            return int(i);
    return -1;
}

QString controlArrayName(const char* name, int index) {
    return QStringLiteral("%1(%2)").arg(QLatin1String(name)).arg(index);
}

} // namespace

EditorWindow::EditorWindow(EditorServices services, QWidget* parent)
    : QMainWindow(parent), m_services(services) {
    setObjectName(QStringLiteral("frmSolicitudes"));
    setWindowTitle(QStringLiteral("Solicitud de Concurso"));
    setAttribute(Qt::WA_DeleteOnClose, false);

    m_timer1 = new QTimer(this);
    m_timer1->setObjectName(QStringLiteral("Timer1"));
    m_timer1->setInterval(10000);
    connect(m_timer1, &QTimer::timeout, this, &EditorWindow::onTimer1);
    m_timer2 = new QTimer(this);
    m_timer2->setObjectName(QStringLiteral("Timer2"));
    m_timer2->setInterval(10000);

    buildMenu();
    buildTabs();

    // Form_Load.
    CargaConfiguracion();
    bindLists();
    if (!m_services.state.hasPassword)
        m_menu[5]->setVisible(false);
    const auto version = VersionProcesador(embeddedWordProcessor());
    m_wordProcessorVersion = version.ok() ? QString::number(version.value()) : QString();
    m_model.setVisible(u"fraAcopPetConyu", true);
    m_binder->pushAll();

    resize(1180, 800);
}

EditorWindow::~EditorWindow() = default;

void EditorWindow::buildMenu() {
    const std::array<const char*, 6> captions = {"Imprimir", "Guardar", "Cargar otra solicitud",
                                                 "Salir",    "Ayuda",   "Cambiar contraseña"};
    for (size_t i = 0; i < kMenuIndexes.size(); ++i) {
        auto* action = new QAction(QString::fromUtf8(captions[i]), this);
        action->setObjectName(controlArrayName("mnuP", kMenuIndexes[i]));
        const int index = kMenuIndexes[i];
        connect(action, &QAction::triggered, this, [this, index] { onMenu(index); });
        menuBar()->addAction(action);
        m_menu[i] = action;
    }
    setMenusEnabled(false);
}

QAction* EditorWindow::menuEntry(int index) const {
    const int slot = menuSlot(index);
    return slot < 0 ? nullptr : m_menu[size_t(slot)];
}

void EditorWindow::setMenusEnabled(bool enabled) {
    for (int index : {1000, 2000, 2500})
        menuEntry(index)->setEnabled(enabled);
}

void EditorWindow::buildTabs() {
    LoadedTables& t = m_services.state.tables;
    m_tabs = new QTabWidget(this);
    m_tabs->setObjectName(QStringLiteral("tabPrincipal"));

    m_personal = new PersonalDataPanel;
    auto* scroll = new QScrollArea;
    scroll->setObjectName(QStringLiteral("tabPrincipal(0)"));
    scroll->setWidget(m_personal);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    m_tabs->addTab(scroll, QStringLiteral(" Datos Personales"));

    m_courses = new CoursesPanel(t.coursesList, m_services.messages);
    m_courses->setClock(m_services.clock);
    m_tabs->addTab(m_courses, QStringLiteral("Cursos"));
    // Each position tab filters its own copies of the location tables.
    m_zonesClone = t.zones.clone();
    m_areasClone = t.areas.clone();
    m_vacancies = new VacanciesPanel(PositionTabTables{t.vacancyList, m_candidates.vacancies, t.provinces,
                                                       t.localities2, t.departments, t.areas, t.zones},
                                     m_services.messages);
    m_vacancies->setInstitutions(&t.institutions);
    m_tabs->addTab(m_vacancies, QStringLiteral("Plazas Vacantes"));
    m_resultas =
        new ResultasPanel(PositionTabTables{t.resultasList, m_candidates.resultas, t.provinces, t.localities3,
                                            t.departments2, *m_areasClone, *m_zonesClone},
                          m_services.messages);
    m_tabs->addTab(m_resultas, QStringLiteral("Plazas Resultas"));
    const auto identityChosen = [this] {
        return !m_model.text(ctl::cboCuerpo).isEmpty() && !m_model.text(ctl::cboGrupo).isEmpty();
    };
    for (PositionPanel* panel :
         {static_cast<PositionPanel*>(m_vacancies), static_cast<PositionPanel*>(m_resultas)}) {
        panel->setBodyOrGroupChosen(identityChosen);
        // Requested positions belong to the body: while there are any, it stays.
        connect(panel, &PositionPanel::positionsAdded, this, [this] {
            m_model.setEnabled(ctl::cboCuerpo, false);
            m_model.setEnabled(ctl::cboGrupo, false);
        });
        connect(panel, &PositionPanel::positionDeleted, this, [this] {
            const LoadedTables& lists = m_services.state.tables;
            // A saved or loaded application keeps its body: another one would be saved under
            // another file name and leave the first behind.
            if (!m_identityKept && lists.vacancyList.recordCount() == 0 &&
                lists.resultasList.recordCount() == 0)
                m_model.setEnabled(ctl::cboCuerpo, true);
        });
    }
    m_documents = new DocumentsPanel(t.documentsList, m_services.messages);
    m_tabs->addTab(m_documents, QStringLiteral("Cursos Realizados"));
    setCentralWidget(m_tabs);
    connect(m_tabs, &QTabWidget::currentChanged, this, &EditorWindow::onTabChanged);

    m_binder = std::make_unique<ControlBinder>(m_model, *m_personal);
    m_firstTab = std::make_unique<FirstTabController>(*m_personal, m_model, *m_binder, m_candidates,
                                                      m_services, *this);
}

// Applies conf.xml: tab captions, titles above the grids, visible tabs and the template key.
void EditorWindow::CargaConfiguracion() {
    auto read = ContestConfiguration::read(m_services.state.folders.program);
    if (!read.ok()) {
        // The loading window read the same file moments ago; a file gone since is reported.
        m_services.messages.inform(read.error().description, programTitle(), MessageIcon::Exclamation);
        return;
    }
    m_config = read.value();
    for (int i = 0; i < 5; ++i) {
        const TabSettings& tab = m_config.tabs[size_t(i)];
        m_tabs->setTabText(i, tab.title);
        if (auto* label = m_tabs->widget(i)->findChild<QLabel*>(controlArrayName("lblGrid", i)))
            label->setText(tab.gridTitle);
        m_tabs->setTabVisible(i, tab.isVisible());
    }
    setWindowTitle(windowCaption(m_config.contestName));
}

// Binds the first tab's drop-downs to the catalogue tables (the list tabs bind their own).
void EditorWindow::bindLists() {
    LoadedTables& t = m_services.state.tables;
    auto combo = [this](const char* name) {
        return m_personal->findChild<DataComboBox*>(QLatin1String(name));
    };
    combo("cboPrefLocalidad")->bind(&t.localities);
    t.bodies.clearFilter();
    cannotFail(t.bodies.setFilter(QStringLiteral("Grupo <> 'X'")));
    DataComboBox* body = combo("cboCuerpo");
    body->bind(&t.bodies);
    body->setColumnWidthTwips(0, 900);
    body->setColumnWidthTwips(1, 5700);
    combo("cboGrupo")->bind(&t.groups);
    combo("cboPrefProvincia")->bind(&t.zones);
    combo("cboProvincia")->bind(&t.addressProvinces);
    combo("cboPrefArea")->bind(&t.areas);
    combo("cboSituaciones")->bind(&t.situations);
    combo("cboProvinciasIxa")->bind(&t.provinces);
    combo("cboAreaIxa")->bind(&t.areas2);
    combo("cboZBSIxa")->bind(&t.zones2);
    if (t.localitiesClone)
        combo("cboLocalidadesIxa")->bind(t.localitiesClone.get());
}

void EditorWindow::setSignedInDni(const QString& dni) {
    m_model.setText(u"txtDNI", dni);
    m_model.setEnabled(u"txtDNI", false);
    m_binder->pushAll();
}

void EditorWindow::HabilitaFiltros(bool enabled) {
    m_vacancies->setFiltersEnabled(enabled);
    m_resultas->setFiltersEnabled(enabled);
}

void EditorWindow::changeEvent(QEvent* event) {
    // Form_Activate.
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        HabilitaFiltros(!m_model.text(u"cboCuerpo").isEmpty() && !m_model.text(u"cboGrupo").isEmpty());
    QMainWindow::changeEvent(event);
}

void EditorWindow::onTabChanged(int index) {
    if (index < 1)
        return;
    if (m_model.text(u"txtDNI").isEmpty() || m_model.text(u"cboCuerpo").isEmpty() ||
        m_model.text(u"cboGrupo").isEmpty()) {
        m_tabs->setCurrentIndex(0);
        m_services.messages.inform(QStringLiteral("Compruebe que ha rellenado los datos del formulario"),
                                   QStringLiteral("Datos incompletos"), MessageIcon::Exclamation);
        return;
    }
    setMenusEnabled(true);
}

void EditorWindow::onMenu(int index) {
    QApplication::processEvents();
    m_courses->resetPanel();
    m_vacancies->resetPanel();
    m_resultas->resetPanel();
    for (DataGrid* grid : {m_courses->grid(), m_vacancies->grid(), m_resultas->grid()})
        grid->clearRowSelection();
    switch (index) {
    case 1000:
        if (ValidaDatosImpresion()) {
            m_printRecord = GeneraCadenaImpresion(m_model);
            GrabaSolicitud(true, false);
        } else if (m_services.messages.show(
                       QStringLiteral(
                           "Faltan datos por rellenar. ¿Desea imprimir una copia borrador de la solicitud?"),
                       QStringLiteral("Copia Borrador"), MessageIcon::Question,
                       MessageButtons::YesNo) == MessageAnswer::Yes) {
            GrabaSolicitud(true, true);
        }
        break;
    case 2000:
        GrabaSolicitud(false, false);
        break;
    case 2500: {
        const MessageAnswer answer = m_services.messages.show(QStringLiteral("¿Guardar la solicitud actual?"),
                                                              QStringLiteral("GUARDAR"), MessageIcon::None,
                                                              MessageButtons::YesNoCancel);
        if (answer == MessageAnswer::Yes) {
            GrabaSolicitud(false, false);
        } else if (answer == MessageAnswer::No) {
            // The selection window is on screen before this one goes.
            Q_EMIT anotherApplicationRequested();
            m_closeWithoutPrompt = true;
            close();
        }
        break;
    }
    case 3000:
        close();
        break;
    case 4000:
        openManual();
        break;
    case 5000: {
        PasswordWindow window(m_services.users, m_services.messages, this);
        window.setStrDNI(m_model.text(u"txtDNI"));
        window.exec();
        break;
    }
    default:
        break;
    }
}

bool EditorWindow::ValidaDatosImpresion() {
    const LoadedTables& t = m_services.state.tables;
    return velmora::ValidaDatosImpresion(m_model, t.vacancyList, t.resultasList, m_services.messages);
}

bool EditorWindow::ValidaDatosGrabacion() {
    return velmora::ValidaDatosGrabacion(m_model, m_services.messages);
}

// Step 3 of GrabaSolicitud: a new user sets a password before the first save. The has-
// password flag and menu entry 5000 follow only a password really stored.
bool EditorWindow::createPasswordIfNeeded() {
    const QString dni = m_model.text(u"txtDNI");
    if (m_services.users.ExisteUsuario(dni))
        return true;
    PasswordWindow window(m_services.users, m_services.messages, this);
    window.setStrDNI(dni);
    window.exec();
    if (!m_services.users.ExisteUsuario(dni))
        return false;
    m_menu[5]->setVisible(true);
    m_services.state.hasPassword = true;
    return true;
}

bool EditorWindow::GrabaSolicitud(bool print, bool draft) {
    GeneralProgressWindow progress(this);
    if (!ValidaDatosGrabacion())
        return false;
    createPasswordIfNeeded();
    for (ControlName name : {ctl::cboCuerpo, ctl::cboGrupo, ctl::txtDNI})
        m_model.setEnabled(name, false);
    m_identityKept = true;
    m_binder->pushAll();

    LoadedTables& t = m_services.state.tables;
    PrintingEditor editor{m_model,
                          t.lists(),
                          draft ? QString() : m_printRecord,
                          m_config.templateFolderKey,
                          m_config.positionsPerPage,
                          m_services.state.folders,
                          m_services.printing,
                          m_services.messages,
                          m_services.clock,
                          this,
                          m_destination,
                          m_pdfPath};
    Pdf417Writer barcode;
    return saveApplication(editor, progress, barcode, m_wordProcessorVersion, print, draft).ok();
}

void EditorWindow::setPrintDestination(docengine::PrintDestination destination, const QString& pdfPath) {
    m_destination = destination;
    m_pdfPath = pdfPath;
}

void EditorWindow::documentPrinted(const docengine::PrintOutcome& outcome) {
    if (!outcome.printed && !outcome.pdfPath.isEmpty() && m_services.openWithDesktop)
        openWithDesktopApplication(outcome.pdfPath);
}

void EditorWindow::printingStarted() {
    m_timer1->start();
    setMenusEnabled(false);
}

void EditorWindow::onTimer1() {
    if (!m_services.printing.closeAndForget())
        return;
    m_timer1->stop();
    setMenusEnabled(true);
}

void EditorWindow::openManual() {
    const QString manual =
        findUserManual(m_services.state.folders.program, QCoreApplication::applicationDirPath());
    if (m_services.openWithDesktop && openWithDesktopApplication(manual))
        return;
    if (!m_manualViewer)
        m_manualViewer = new ManualViewer(manual, m_services.messages, this);
    m_manualViewer->show();
    m_manualViewer->raise();
}

Status EditorWindow::loadApplication(const QString& fileName) {
    GeneralProgressWindow progress(this);
    progress.showAction(QStringLiteral("Recuperando información de la solicitud ..."));
    auto started = embeddedWordProcessor()();
    if (!started.ok())
        return started.error();
    LoadedTables& t = m_services.state.tables;
    auto loaded = m_firstTab->loadSavedApplication(m_services.state.folders.applications, fileName,
                                                   *started.value(), progress);
    progress.setValue(progress.maximum());
    progress.unload();
    m_identityKept = true;
    if (!loaded.ok())
        return loaded.error();
    for (RecordSet* list : {&t.coursesList, &t.vacancyList, &t.resultasList, &t.documentsList})
        if (list->recordCount() > 0)
            list->moveFirst();
    setMenusEnabled(true);
    return {};
}

void EditorWindow::closeEvent(QCloseEvent* event) {
    // Form_Unload.
    if (m_timer1->isActive()) {
        event->ignore();
        return;
    }
    if (m_closeWithoutPrompt) {
        m_closeWithoutPrompt = false;
        event->accept();
        return;
    }
    if (m_quitNow) {
        event->accept();
        releaseAndEnd();
        return;
    }
    if (m_released) {
        event->accept();
        return;
    }
    const MessageAnswer answer = m_services.messages.show(
        QStringLiteral("La aplicación se cerrará, ¿desea guardar los cambios?"), QStringLiteral("Solicitud"),
        MessageIcon::Question, MessageButtons::YesNoCancel);
    if (answer == MessageAnswer::Cancel) {
        event->ignore();
        return;
    }
    if (answer == MessageAnswer::Yes) {
        if (!ValidaDatosGrabacion()) {
            event->ignore();
            return;
        }
        // A save that failed has told the user why; closing now would lose the application.
        if (!saveOnClose()) {
            event->ignore();
            return;
        }
    }
    event->accept();
    releaseAndEnd();
}

bool EditorWindow::saveOnClose() {
    createPasswordIfNeeded();
    GeneralProgressWindow progress(this);
    LoadedTables& t = m_services.state.tables;
    PrintingEditor editor{m_model,
                          t.lists(),
                          QString(),
                          m_config.templateFolderKey,
                          m_config.positionsPerPage,
                          m_services.state.folders,
                          m_services.printing,
                          m_services.messages,
                          m_services.clock,
                          this};
    Pdf417Writer barcode;
    return saveApplication(editor, progress, barcode, m_wordProcessorVersion, false, false).ok();
}

void EditorWindow::quitNow() {
    m_quitNow = true;
    close();
}

void EditorWindow::releaseAndEnd() {
    if (m_released)
        return;
    m_released = true;
    m_candidates.vacancies.close();
    m_candidates.resultas.close();
    m_services.state.releaseCatalogues();
    Q_EMIT programEndRequested();
}

} // namespace velmora
