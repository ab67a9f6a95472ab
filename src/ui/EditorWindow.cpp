#include "ui/EditorWindow.h"
#include "editor/ControlName.h"

#include "app/ApplicationSigning.h"
#include "app/SaveAndPrintFlow.h"
#include "app/UnsavedWorkKeeper.h"
#include "app/UserManualWriter.h"
#include "applications/ApplicationFiles.h"
#include "catalog/CatalogColumns.h"
#include "editor/ApplicationChecks.h"
#include "editor/SavedApplicationReader.h"
#include "platform/CannotFail.h"
#include "platform/MessageService.h"
#include "platform/barcode/Pdf417Writer.h"
#include "platform/widgets/DataComboBox.h"
#include "platform/widgets/DataGrid.h"
#include "platform/widgets/DesktopOpener.h"
#include "platform/widgets/ScreenFit.h"
#include "platform/widgets/SpokenNames.h"
#include "platform/widgets/TabOrder.h"
#include "printing/PrintingWordProcessor.h"
#include "ui/CatalogueDropDown.h"
#include "ui/ControlBinder.h"
#include "ui/FirstTabController.h"
#include "ui/GeneralProgressWindow.h"
#include "ui/ManualViewer.h"
#include "ui/PasswordWindow.h"
#include "ui/PersonalDataPanel.h"
#include "ui/PreviewWindow.h"
#include "ui/SigningDialogs.h"
#include "ui/SigningWindow.h"
#include "ui/editor/CoursesPanel.h"
#include "ui/editor/DocumentsPanel.h"
#include "ui/editor/ResultasPanel.h"
#include "ui/editor/VacanciesPanel.h"
#include "users/UserStore.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QMenuBar>
#include <QScrollArea>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>

namespace velmora {
namespace {

// Each with its Alt key.
const char* menuCaption(MenuEntry entry) {
    switch (entry) {
    case MenuEntry::Print:
        return "&Imprimir";
    case MenuEntry::Sign:
        return "&Firmar solicitud…";
    case MenuEntry::Preview:
        return "&Vista previa";
    case MenuEntry::Save:
        return "&Guardar";
    case MenuEntry::LoadAnother:
        return "&Cargar otra solicitud";
    case MenuEntry::Quit:
        return "&Salir";
    case MenuEntry::Help:
        return "&Ayuda";
    case MenuEntry::ChangePassword:
        return "Cambiar c&ontraseña";
    }
    return "";
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
    // Where a save that worked says so, without a dialog to dismiss.
    statusBar()->setObjectName(QStringLiteral("barEstado"));

    // Form_Load.
    CargaConfiguracion();
    bindLists();
    m_flow = std::make_unique<SaveAndPrintFlow>(
        SaveAndPrintContext{m_model, m_services.state.tables.lists(), m_services.state.tables.situations,
                            m_config, m_services.state.folders, m_services.users, m_services.printing,
                            m_services.messages, m_services.clock, QString(),
                            docengine::PrintDestination::Automatic, &m_printers},
        static_cast<SaveAndPrintHost&>(*this));
    if (!m_services.state.hasPassword)
        menuEntry(MenuEntry::ChangePassword)->setVisible(false);
    const auto version = VersionProcesador(embeddedWordProcessor());
    m_wordProcessorVersion = version.ok() ? QString::number(version.value()) : QString();
    m_flow->setWordProcessorVersion(m_wordProcessorVersion);
    m_model.setVisible(ctl::fraAcopPetConyu, true);
    m_binder->pushAll();

    resize(fittedToScreen(QSize(1180, 800), this));
}

EditorWindow::~EditorWindow() = default;

void EditorWindow::buildMenu() {
    for (size_t i = 0; i < kMenuEntries.size(); ++i) {
        const MenuEntry entry = kMenuEntries[i];
        auto* action = new QAction(QString::fromUtf8(menuCaption(entry)), this);
        action->setObjectName(controlArrayName("mnuP", int(entry)));
        connect(action, &QAction::triggered, this, [this, entry] { onMenu(entry); });
        menuBar()->addAction(action);
        m_menu[i] = action;
    }
    setMenusEnabled(false);
}

QAction* EditorWindow::menuEntry(MenuEntry entry) const {
    for (size_t i = 0; i < kMenuEntries.size(); ++i)
        if (kMenuEntries[i] == entry)
            return m_menu[i];
    return nullptr;
}

void EditorWindow::setMenusEnabled(bool enabled) {
    for (MenuEntry entry : kApplicationMenuEntries)
        menuEntry(entry)->setEnabled(enabled);
}

void EditorWindow::buildTabs() {
    LoadedTables& t = m_services.state.tables;
    m_tabs = new QTabWidget(this);
    m_tabs->setObjectName(QStringLiteral("tabPrincipal"));
    m_tabs->tabBar()->setAccessibleName(QStringLiteral("Apartados de la solicitud"));
    // Every page scrolls: on a small screen, or at a large scale factor, nothing is cut off.
    const auto addPage = [this](QWidget* page, const QString& caption) {
        auto* scroll = new QScrollArea;
        scroll->setObjectName(QStringLiteral("tabPrincipal(%1)").arg(m_tabs->count()));
        scroll->setWidget(page);
        scroll->setWidgetResizable(true);
        scroll->setFrameShape(QFrame::NoFrame);
        // The page's controls take the focus, not the scroll area around them.
        scroll->setFocusPolicy(Qt::NoFocus);
        m_tabs->addTab(scroll, caption);
    };

    m_personal = new PersonalDataPanel;
    addPage(m_personal, QStringLiteral(" Datos Personales"));

    m_courses = new CoursesPanel(t.coursesList, m_services.messages);
    m_courses->setClock(m_services.clock);
    addPage(m_courses, QStringLiteral("Cursos"));
    // Each position tab filters its own copies of the location tables.
    m_zonesClone = t.zones.clone();
    m_areasClone = t.areas.clone();
    m_vacancies = new VacanciesPanel(PositionTabTables{t.vacancyList, m_candidates.vacancies, t.provinces,
                                                       t.localities2, t.departments, t.areas, t.zones},
                                     m_services.messages);
    m_vacancies->setInstitutions(&t.institutions);
    addPage(m_vacancies, QStringLiteral("Plazas Vacantes"));
    m_resultas =
        new ResultasPanel(PositionTabTables{t.resultasList, m_candidates.resultas, t.provinces, t.localities3,
                                            t.departments2, *m_areasClone, *m_zonesClone},
                          m_services.messages);
    addPage(m_resultas, QStringLiteral("Plazas Resultas"));
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
    addPage(m_documents, QStringLiteral("Cursos Realizados"));
    setCentralWidget(m_tabs);
    nameControlsAfterLabels(m_tabs);
    // A page taller or wider than the window (a small screen, a large scale) shows the control
    // that takes the focus, however it got there: Tab, a panel moving on after a pick, a check.
    // Tied to the tab widget, not the window: focus still moves while the window is being
    // destroyed, after its own members are gone.
    connect(qApp, &QApplication::focusChanged, m_tabs, [tabs = m_tabs](QWidget*, QWidget* focused) {
        auto* page = qobject_cast<QScrollArea*>(tabs->currentWidget());
        if (focused && page && page->widget()->isAncestorOf(focused))
            page->ensureWidgetVisible(focused);
    });
    // The tab bar, then the controls of the page shown; the others are out of sight and skipped.
    QList<QWidget*> order{m_tabs->tabBar()};
    for (QWidget* page : {static_cast<QWidget*>(m_personal), static_cast<QWidget*>(m_courses),
                          static_cast<QWidget*>(m_vacancies), static_cast<QWidget*>(m_resultas),
                          static_cast<QWidget*>(m_documents)})
        order << declaredTabOrder(page);
    declareTabOrder(this, order);
    if (QWidget* first = declaredTabOrder(m_personal).value(0))
        first->setFocus();
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
        // A title the configuration leaves out keeps the window's own caption.
        if (!tab.title.isEmpty())
            m_tabs->setTabText(i, tab.title);
        if (auto* label = m_tabs->widget(i)->findChild<QLabel*>(controlArrayName("lblGrid", i)))
            if (!tab.gridTitle.isEmpty())
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
    bindCatalogue(*combo("cboPrefLocalidad"), t.localities);
    t.bodies.clearFilter();
    cannotFail(t.bodies.setFilter(Filter::compare(col::Bodies::Grupo, Filter::Op::NotEqual, u"X")));
    DataComboBox* body = combo("cboCuerpo");
    bindCatalogue(*body, t.bodies);
    body->setColumnWidthTwips(0, 900);
    body->setColumnWidthTwips(1, 5700);
    bindCatalogue(*combo("cboGrupo"), t.groups);
    bindCatalogue(*combo("cboPrefProvincia"), t.zones);
    bindCatalogue(*combo("cboProvincia"), t.addressProvinces);
    bindCatalogue(*combo("cboPrefArea"), t.areas);
    bindCatalogue(*combo("cboSituaciones"), t.situations);
    bindCatalogue(*combo("cboProvinciasIxa"), t.provinces);
    bindCatalogue(*combo("cboAreaIxa"), t.areas2);
    bindCatalogue(*combo("cboZBSIxa"), t.zones2);
    if (t.localitiesClone)
        bindCatalogue(*combo("cboLocalidadesIxa"), *t.localitiesClone);
    // An area or a province may have no locality of its own: the box says so rather than
    // opening on nothing.
    combo("cboPrefLocalidad")->setEmptyListText(QStringLiteral("Ninguna localidad en esta área"));
    combo("cboLocalidadesIxa")->setEmptyListText(QStringLiteral("Ninguna localidad en esta provincia"));
}

void EditorWindow::setSignedInDni(const QString& dni) {
    m_model.setText(ctl::txtDNI, dni);
    m_model.setEnabled(ctl::txtDNI, false);
    m_binder->pushAll();
}

void EditorWindow::HabilitaFiltros(bool enabled) {
    m_vacancies->setFiltersEnabled(enabled);
    m_resultas->setFiltersEnabled(enabled);
}

void EditorWindow::changeEvent(QEvent* event) {
    // Form_Activate.
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        HabilitaFiltros(!m_model.text(ctl::cboCuerpo).isEmpty() && !m_model.text(ctl::cboGrupo).isEmpty());
    QMainWindow::changeEvent(event);
}

void EditorWindow::onTabChanged(int index) {
    if (index < 1)
        return;
    if (const Status mayOpen = checkListTabsMayOpen(m_model); !mayOpen) {
        m_services.messages.tell(mayOpen.error());
        m_tabs->setCurrentIndex(0);
        return;
    }
    setMenusEnabled(true);
}

void EditorWindow::onMenu(MenuEntry entry) {
    QApplication::processEvents();
    m_courses->resetPanel();
    m_vacancies->resetPanel();
    m_resultas->resetPanel();
    for (DataGrid* grid : {m_courses->grid(), m_vacancies->grid(), m_resultas->grid()})
        grid->clearRowSelection();
    switch (entry) {
    case MenuEntry::Print:
        workSaved(m_flow->print());
        break;
    case MenuEntry::Sign:
        openSigningWindow();
        break;
    case MenuEntry::Preview:
        showPreview();
        break;
    case MenuEntry::Save:
        GrabaSolicitud(false, false);
        break;
    case MenuEntry::LoadAnother: {
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
    case MenuEntry::Quit:
        close();
        break;
    case MenuEntry::Help:
        openManual();
        break;
    case MenuEntry::ChangePassword: {
        PasswordWindow window(m_services.users, m_services.messages, this);
        window.setStrDNI(m_model.text(ctl::txtDNI));
        window.exec();
        break;
    }
    }
}

SaveAndPrintHost::PasswordOutcome EditorWindow::askForPassword(const QString& dni) {
    PasswordWindow window(m_services.users, m_services.messages, this);
    window.setStrDNI(dni);
    window.exec();
    // The has-password flag and the entry to change it follow only a password really stored.
    if (!m_services.users.ExisteUsuario(dni))
        return window.storeFailed() ? PasswordOutcome::StoreFailed : PasswordOutcome::Declined;
    menuEntry(MenuEntry::ChangePassword)->setVisible(true);
    m_services.state.hasPassword = true;
    return PasswordOutcome::Stored;
}

std::unique_ptr<ProgressWindow> EditorWindow::progressWindow() {
    return std::make_unique<GeneralProgressWindow>(this);
}

void EditorWindow::identityLocked() {
    m_identityKept = true;
    m_binder->pushAll();
}

bool EditorWindow::GrabaSolicitud(bool print, bool draft) {
    return workSaved(m_flow->save(print, draft));
}

bool EditorWindow::workSaved(const Result<ApplicationPrintout>& saved) {
    if (!saved.ok()) {
        m_services.messages.tell(saved.error());
        return false;
    }
    if (const std::optional<PrintoutNotice>& notice = saved.value().notice) {
        tellPrintout(*notice);
        printingStarted();
    }
    statusBar()->showMessage(QStringLiteral("Solicitud guardada a las %1")
                                 .arg(m_services.clock.now().toString(QStringLiteral("HH:mm"))));
    if (m_unsavedWork) {
        m_unsavedWork->setApplicationFile(QFileInfo(saved.value().documentPath).fileName());
        m_unsavedWork->setIdentityLocked(true);
        (void)m_unsavedWork->discard();
    }
    return true;
}

void EditorWindow::keepUnsavedWork() {
    if (m_services.state.recoveryHeldElsewhere)
        return;
    m_unsavedWork = std::make_unique<UnsavedWorkKeeper>(
        RecoveryFile(m_services.state.folders.applications, m_services.state.signedInDni), m_model,
        m_services.state.tables.lists(), m_services.clock, this);
    m_unsavedWork->setApplicationFile(m_services.state.selectedApplicationFile);
    m_unsavedWork->setIdentityLocked(m_identityKept);
    m_unsavedWork->start();
}

void EditorWindow::dropUnsavedWork() {
    if (m_unsavedWork)
        (void)m_unsavedWork->discard();
}

Status EditorWindow::recoverWork(const RecoveryFile& file) {
    LoadedTables& t = m_services.state.tables;
    auto read = file.read(t.lists());
    if (!read.ok())
        return read.error();
    m_firstTab->applyRecovered(read.value().model);
    m_identityKept = read.value().identityLocked;
    m_binder->pushAll();
    setMenusEnabled(!m_model.value(ctl::cboCuerpo).isEmpty() && !m_model.value(ctl::cboGrupo).isEmpty());
    for (RecordSet* list : {&t.coursesList, &t.vacancyList, &t.resultasList, &t.documentsList})
        if (list->recordCount() > 0)
            list->moveFirst();
    return {};
}

// The pages as the print would give them, in their own window; its "Imprimir" runs the
// normal print from its checks on.
void EditorWindow::showPreview() {
    const Result<ApplicationPrintout> preview = m_flow->preview();
    if (!preview.ok()) {
        m_services.messages.tell(preview.error());
        return;
    }
    m_preview = new PreviewWindow(preview.value().pages, this);
    const int chosen = m_preview->exec();
    delete m_preview;
    if (chosen == PreviewWindow::kPrintChosen)
        onMenu(MenuEntry::Print);
}

// "Firmar solicitud…": the window picks the certificate; its "Firmar" saves, prints into a
// PDF and signs as "Imprimir" prints.
void EditorWindow::openSigningWindow() {
    QtSigningDialogs qtDialogs(this);
    const auto sign = [this](const SigningChoice& choice) {
        auto made = signApplication(*m_flow, m_model.text(ctl::txtDNI), choice);
        if (made.ok())
            workSaved(made.value().printout);
        return made;
    };
    SigningWindow window(
        SigningWindowServices{m_services.messages,
                              m_services.signingDialogs ? *m_services.signingDialogs : qtDialogs, sign,
                              m_model.text(ctl::txtDNI), m_model.value(ctl::cboCuerpo), QString()},
        this);
    window.exec();
}

void EditorWindow::setPrintDestination(docengine::PrintDestination destination, const QString& pdfPath) {
    m_flow->setDestination(destination, pdfPath);
}

void EditorWindow::tellPrintout(const PrintoutNotice& notice) {
    if (notice.pdfToOpen.isEmpty()) {
        m_services.messages.inform(notice.text, notice.title, notice.icon);
        return;
    }
    if (m_services.messages.ask(notice.text, notice.title, notice.icon, QuestionButtons::YesNo) ==
        MessageAnswer::Yes)
        openPrintout(notice.pdfToOpen);
}

void EditorWindow::openPrintout(const QString& pdfPath) {
    if (m_services.openWithDesktop && !openWithDesktopApplication(pdfPath))
        m_services.messages.inform(
            QStringLiteral("No se ha podido abrir el documento PDF con el visor del escritorio. Ábralo desde "
                           "su carpeta:\n%1")
                .arg(QDir::toNativeSeparators(pdfPath)),
            QStringLiteral("Impresión"), MessageIcon::Exclamation);
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
    for (const QString& notice : loaded.value().notices)
        m_services.messages.inform(notice, QStringLiteral("Solicitudes"), MessageIcon::Exclamation);
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
        dropUnsavedWork();
        event->accept();
        return;
    }
    if (m_quitNow) {
        dropUnsavedWork();
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
        // A check or a save that failed has told the user why; closing now would lose the
        // application.
        if (!saveOnClose()) {
            event->ignore();
            return;
        }
    } else {
        dropUnsavedWork();
    }
    event->accept();
    releaseAndEnd();
}

bool EditorWindow::saveOnClose() {
    return workSaved(m_flow->saveOnClose());
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
