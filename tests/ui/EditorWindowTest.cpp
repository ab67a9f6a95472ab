#include "app/RecoveryFile.h"

#include "applications/ApplicationFiles.h"
#include "catalog/SampleContest.h"
#include "editor/ApplicationListTables.h"
#include "editor/ControlName.h"
#include "platform/Clock.h"
#include "platform/widgets/DataComboBox.h"
#include "platform/widgets/DataGrid.h"
#include "signing/CertificateDatabase.h"
#include "support/FakeMessageService.h"
#include "support/PreferenceListFixture.h"
#include "support/TableText.h"
#include "support/TempDir.h"
#include "support/TestCertificates.h"
#include "ui/EditorFixture.h"
#include "ui/PreviewWindow.h"
#include "ui/ProgramController.h"
#include "ui/SigningWindow.h"

#include <QAbstractButton>
#include <QAction>
#include <QClipboard>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QStatusBar>
#include <QTabWidget>
#include <QTableWidget>

#include <gtest/gtest.h>

namespace velmora::test {
namespace {

void fillRequired(EditorFixture& f) {
    typeInto(f.editor.get(), "txtApellido1", u"García"_s);
    typeInto(f.editor.get(), "txtNombre", u"María"_s);
    typeInto(f.editor.get(), "txtFecNacimiento", u"12031980"_s);
    control<QRadioButton>(f.editor.get(), ctl::optActivo)->click();
    ASSERT_NE(f.pickBody(), nullptr);
}

// The editor over the small sample, opened.
class EditorWindowTest : public ::testing::Test {
protected:
    EditorFixture f;
    EditorWindow& editor = f.openEditor();
};

TEST_F(EditorWindowTest, ShowsTheContestsTabsOpeningThemOnceABodyIsChosen) {
    EXPECT_EQ(editor.objectName(), u"frmSolicitudes"_s);
    EXPECT_TRUE(editor.windowTitle().startsWith(u"Concurso de Traslados 2026"_s));
    auto* tabs = control<QTabWidget>(&editor, u"tabPrincipal"_s);
    ASSERT_EQ(tabs->count(), 5);
    EXPECT_EQ(tabs->tabText(4), editor.configuration().tabs[4].title);
    EXPECT_EQ(control<QLabel>(&editor, u"lblGrid(2)"_s)->text(), editor.configuration().tabs[2].gridTitle);
    for (MenuEntry index : kApplicationMenuEntries)
        EXPECT_FALSE(editor.menuEntry(index)->isEnabled()) << int(index);
    EXPECT_FALSE(editor.menuEntry(MenuEntry::ChangePassword)->isVisible())
        << "a new user has no password to change";
    const RecordSetModel* areas = control<DataComboBox>(&editor, ctl::cboPrefArea)->listModel();
    EXPECT_EQ(areas->headerData(1, Qt::Horizontal).toString(), u"Área"_s) << "a field name for a caption";
    auto* dni = control<QLineEdit>(&editor, ctl::txtDNI);
    EXPECT_EQ(dni->text(), QString::fromLatin1(EditorFixture::kDni));
    EXPECT_FALSE(dni->isEnabled());

    // The other tabs and the menu wait for a body and its group.
    tabs->setCurrentIndex(2);
    EXPECT_EQ(tabs->currentIndex(), 0);
    EXPECT_EQ(f.messages.only(u"Datos incompletos"_s, MessageIcon::Exclamation),
              u"Compruebe que ha rellenado los datos del formulario"_s);

    ASSERT_NE(f.pickBody(), nullptr);
    EXPECT_FALSE(control<DataComboBox>(&editor, ctl::cboGrupo)->text().isEmpty());
    EXPECT_FALSE(control<DataComboBox>(&editor, ctl::cboGrupo)->isEnabled());
    tabs->setCurrentIndex(2);
    EXPECT_EQ(tabs->currentIndex(), 2);
    for (MenuEntry index : kApplicationMenuEntries)
        EXPECT_TRUE(editor.menuEntry(index)->isEnabled()) << int(index);
}

TEST(EditorWindow, WithoutTitlesInTheConfigurationTheDesignCaptionsStay) {
    EditorFixture f;
    const QString conf = QDir(f.state.folders.program).filePath(u"conf.xml"_s);
    writeFile(conf, QString::fromUtf8(readFile(conf))
                        .remove(QRegularExpression(u"<TituloSobreGrid>[^<]*</TituloSobreGrid>"_s))
                        .toUtf8());
    EditorWindow& editor = f.openEditor();
    EXPECT_EQ(control<QLabel>(&editor, u"lblGrid(2)"_s)->text(),
              u"PUESTOS DE TRABAJO SOLICITADOS PLAZAS VACANTES"_s);
    EXPECT_EQ(control<QLabel>(&editor, u"lblGrid(4)"_s)->text(), u"DOCUMENTACIÓN QUE APORTA"_s);
}

TEST_F(EditorWindowTest, NumericBoxesFilterTheirKeys) {
    ASSERT_TRUE(showActive(&editor));
    for (const char* name : {"txtTelefono", "txtCP"}) {
        auto* box = control<QLineEdit>(&editor, QString::fromLatin1(name));
        for (const auto& [key, modifiers] : {std::pair{Qt::Key_Tab, Qt::NoModifier},
                                             {Qt::Key_Backtab, Qt::ShiftModifier},
                                             {Qt::Key_Return, Qt::NoModifier}}) {
            box->setFocus(Qt::OtherFocusReason);
            QTest::keyClicks(box, u"12"_s);
            QTest::keyClick(box, key, modifiers);
            settle();
            EXPECT_NE(focusName(), QString::fromLatin1(name)) << name << " key " << key;
            box->clear();
        }
    }
    auto* province = control<DataComboBox>(&editor, ctl::cboProvincia);
    province->setFocus(Qt::OtherFocusReason);
    QTest::keyClicks(province->lineEdit(), u"Toledo"_s);
    settle();
    EXPECT_TRUE(province->text().isEmpty());
    EXPECT_TRUE(editor.model().text(ctl::cboProvincia).isEmpty());
}

TEST_F(EditorWindowTest, FirstTabRulesActOnTheWindow) {
    auto* kind = control<QLineEdit>(&editor, ctl::txtTipoDisc);
    EXPECT_FALSE(kind->isVisible());
    // The arrow keys choose as they move, round the pair, from an answer not chosen too.
    auto* no = control<QRadioButton>(&editor, ctl::optDiscNo);
    QTest::keyClick(no, Qt::Key_Right);
    EXPECT_TRUE(kind->isVisible());
    typeInto(&editor, "txtTipoDisc", u"Motora"_s);
    QTest::keyClick(control<QRadioButton>(&editor, ctl::optDiscSi), Qt::Key_Left);
    EXPECT_TRUE(no->isChecked());
    EXPECT_FALSE(kind->isVisible());
    EXPECT_TRUE(kind->text().isEmpty());
    EXPECT_TRUE(editor.model().text(ctl::txtTipoDisc).isEmpty());

    control<QRadioButton>(&editor, ctl::optActivo)->click(); // the model's choice reaches the partner
    EXPECT_TRUE(control<QRadioButton>(&editor, ctl::optReingresoNo)->isChecked());

    // Dates get their slashes, and an impossible one takes the focus back.
    typeInto(&editor, "txtFecNacimiento", u"31022000"_s);
    EXPECT_EQ(control<QLineEdit>(&editor, ctl::txtFecNacimiento)->text(), u"31/02/2000"_s);
    control<QLineEdit>(&editor, ctl::txtNombre)->setFocus(Qt::TabFocusReason);
    settle();
    EXPECT_EQ(f.messages.texts(), QStringList{u"Fecha Errónea"_s});
    EXPECT_EQ(focusName(), ctl::txtFecNacimiento) << "the focus goes back to the date";
}

// "|" ends the print record's fields: typed it does nothing, pasted it arrives as "/".
TEST_F(EditorWindowTest, TextBoxesKeepTheRecordSeparatorOut) {
    control<QRadioButton>(&editor, ctl::optDiscSi)->click();
    auto* box = control<QLineEdit>(&editor, ctl::txtAdaptaciones);
    typeInto(&editor, "txtAdaptaciones", u"Rampa | ascensor"_s);
    EXPECT_EQ(box->text(), u"Rampa  ascensor"_s);
    box->clear();
    QGuiApplication::clipboard()->setText(u"Rampa | ascensor"_s);
    box->paste();
    EXPECT_EQ(editor.model().text(ctl::txtAdaptaciones), u"Rampa / ascensor"_s);
}

TEST_F(EditorWindowTest, PrintingWithoutRequiredDataOffersADraft) {
    ASSERT_NE(f.pickBody(), nullptr);
    f.messages.queueAnswer(MessageAnswer::Ok);
    f.messages.queueAnswer(MessageAnswer::No);
    editor.menuEntry(MenuEntry::Print)->trigger();
    ASSERT_EQ(f.messages.messages.size(), 2u);
    EXPECT_EQ(f.messages.messages[0].text, u"El campo Nombre es obligatorio"_s);
    EXPECT_EQ(f.messages.messages[1].title, u"Copia Borrador"_s);
    EXPECT_TRUE(QDir(f.state.folders.applications).entryList(QDir::Files).isEmpty()) << "nothing is saved";
}

TEST(EditorWindow, AFirstSaveWhoseUserStoreCannotBeWrittenSavesNothing) {
    EditorFixture f;
    EditorWindow& editor = f.openEditor();
    fillRequired(f);
    // A folder where the store should be written: no password can be kept.
    QFile::remove(f.users.storePath());
    ASSERT_TRUE(QDir().mkpath(f.users.storePath()));
    f.createPasswordWhenAsked(true);
    editor.menuEntry(MenuEntry::Save)->trigger();
    settle();
    ASSERT_EQ(f.messages.messages.size(), 2u) << f.messages.texts().join(u'|').toStdString();
    EXPECT_TRUE(f.messages.texts().at(1).startsWith(QStringLiteral(
        "La contraseña no se ha podido guardar en el fichero de usuarios, así que la solicitud no "
        "se ha guardado")));
    EXPECT_TRUE(QDir(f.state.folders.applications).entryList(QDir::Files).isEmpty());
    EXPECT_FALSE(f.state.hasPassword);
}

TEST_F(EditorWindowTest, AFirstSaveLocksTheIdentityBehindANewPassword) {
    fillRequired(f);
    typeInto(&editor, "txtApellido2", u"Núñez"_s);
    addRows(f.state.tables.coursesList, {}, {{"Soporte vital avanzado", 20, 2019, "Escuela de Salud", 1}});

    // Which data a save needs is ValidaDatosGrabacion's (ApplicationChecksTest).
    f.createPasswordWhenAsked();
    editor.menuEntry(MenuEntry::Save)->trigger();
    settle();
    EXPECT_TRUE(f.messages.messages.empty()) << f.messages.texts().join(u'|').toStdString();
    EXPECT_EQ(editor.statusBar()->currentMessage(), u"Solicitud guardada a las 10:00"_s);
    EXPECT_TRUE(f.users.ExisteUsuario(QString::fromLatin1(EditorFixture::kDni)));
    EXPECT_TRUE(f.state.hasPassword);
    EXPECT_TRUE(editor.menuEntry(MenuEntry::ChangePassword)->isVisible());
    EXPECT_FALSE(control<DataComboBox>(&editor, ctl::cboCuerpo)->isEnabled());

    const QString fileName =
        applicationFileName(QString::fromLatin1(EditorFixture::kDni), editor.model().value(ctl::cboCuerpo),
                            editor.model().value(ctl::cboGrupo));
    ASSERT_TRUE(QFile::exists(f.applicationsFile(fileName))) << qPrintable(fileName);
    ASSERT_TRUE(QFile::exists(f.applicationsFile(sidecarFileName(fileName))));

    // A later run: the same application opened in a new editor.
    f.messages.queueAnswer(MessageAnswer::No); // leave without saving again
    editor.close();
    // The catalogues read again, as the next run reads them.
    ASSERT_TRUE(loadInstallation(f.state.folders, f.state.tables).loaded);
    EditorWindow& reopened = f.openEditor();
    // Which fields read back is SavedApplicationReaderTest's; here the window showing them.
    ASSERT_TRUE(reopened.loadApplication(fileName).ok());
    EXPECT_EQ(control<QLineEdit>(&reopened, ctl::txtApellido2)->text(), u"Núñez"_s);
    EXPECT_EQ(control<DataGrid>(&reopened, u"grdCursos"_s)->model()->rowCount(), 1);
    EXPECT_FALSE(control<DataComboBox>(&reopened, ctl::cboCuerpo)->isEnabled());
    EXPECT_TRUE(reopened.menuEntry(MenuEntry::Save)->isEnabled());
}

TEST_F(EditorWindowTest, ThePreviewShowsThePrintoutToBe) {
    QAction* preview = editor.menuEntry(MenuEntry::Preview);
    EXPECT_FALSE(preview->isEnabled());
    fillRequired(f);
    EXPECT_TRUE(preview->isEnabled());
    control<QTabWidget>(&editor, u"tabPrincipal"_s)->setCurrentIndex(2);
    control<QPushButton>(&editor, u"cmdTodasVacantes"_s)->click();
    ASSERT_GT(f.state.tables.vacancyList.recordCount(), 0);

    int pages = 0;
    f.whenModal(u"frmVistaPrevia"_s, [&](QWidget* w) {
        auto* window = static_cast<PreviewWindow*>(w);
        pages = window->pageCount();
        auto* label = control<QLabel>(w, u"lblPaginas"_s);
        EXPECT_EQ(label->text(), u"Página 1 de %1"_s.arg(pages));
        auto* page = control<QWidget>(w, u"picPagina"_s); // the page keys turn pages even from there
        activate(page);
        page->setFocus();
        QTest::keyClick(page, Qt::Key_PageDown);
        EXPECT_EQ(label->text(), u"Página 2 de %1"_s.arg(pages));
        QTest::keyClick(page, Qt::Key_End);
        EXPECT_EQ(window->currentPage(), pages - 1);
        QTest::keyClick(page, Qt::Key_Home);
        EXPECT_EQ(window->currentPage(), 0);
        control<QPushButton>(w, u"cmdTamanoReal"_s)->click();
        EXPECT_EQ(window->dotsPerInch(), 96);
        QTest::keyClick(w, Qt::Key_Plus, Qt::ControlModifier);
        EXPECT_GT(window->dotsPerInch(), 96);
        QTest::keyClick(w, Qt::Key_Escape);
    });
    preview->trigger();
    EXPECT_GE(pages, 2);
    EXPECT_TRUE(f.messages.messages.empty()) << f.messages.texts().join(u'|').toStdString();
    EXPECT_TRUE(QDir(f.state.folders.applications).entryList(QDir::Files).isEmpty()) << "nothing is saved";
    EXPECT_FALSE(f.users.ExisteUsuario(QString::fromLatin1(EditorFixture::kDni))) << "no password asked";

    // "Imprimir" in the preview is the menu's print: saved, password asked, printed.
    f.whenModal(u"frmVistaPrevia"_s, [](QWidget* w) { control<QPushButton>(w, u"cmdImprimir"_s)->click(); });
    f.createPasswordWhenAsked();
    preview->trigger();
    settle();
    EXPECT_TRUE(QFile::exists(QDir(f.dir.path()).filePath(u"impreso.pdf"_s)));
    ASSERT_FALSE(f.messages.messages.empty());
    EXPECT_TRUE(f.messages.messages.back().text.contains(u"impreso.pdf"_s))
        << f.messages.texts().join(u'|').toStdString();
}

// "Firmar solicitud…" over the certificates of the tests' NSS database.
class SigningWindowTest : public EditorWindowTest {
protected:
    TestCertificates& certificates = TestCertificates::shared();
    void SetUp() override {
        ASSERT_TRUE(certificates.made && certificate_database::open(certificates.nssdb).ok());
    }
    // Opens frmFirma from the menu and runs `act` in it; it is left open with "Cancelar".
    void signWith(const QString& nif, const QString& pin, bool leave = false) {
        f.whenModal(u"frmFirma"_s, [=](QWidget* w) {
            EXPECT_TRUE(selectRowWith(w, nif));
            typeInto(w, "txtPin", pin);
            press(w, "cmdFirmar");
            if (leave)
                press(w, "cmdCancelar");
        });
        editor.menuEntry(MenuEntry::Sign)->trigger();
        settle();
    }
    static bool selectRowWith(QWidget* window, const QString& nif) {
        auto* list = control<QTableWidget>(window, u"lstCertificados"_s);
        for (int row = 0; row < list->rowCount(); ++row)
            if (list->item(row, 1)->text() == nif && !list->item(row, 3)->text().contains(u"caducado"_s))
                return list->selectRow(row), true;
        return false;
    }
};

TEST_F(SigningWindowTest, ListsTheSigningCertificatesPickingTheApplicantsInForce) {
    SigningWindow window({f.messages, f.signing, {}, u"12345678Z"_s, {}, {}});
    auto* list = control<QTableWidget>(&window, u"lstCertificados"_s);
    const int row = list->currentRow();
    ASSERT_GE(row, 0);
    EXPECT_EQ(list->item(row, 0)->text() + u'|' + list->item(row, 1)->text() + u'|' +
                  list->item(row, 2)->text(),
              u"MARIA GARCIA LOPEZ|12345678Z|AC PRUEBAS VELMORA"_s);
    EXPECT_FALSE(list->item(row, 3)->text().contains(u"caducado"_s));
    int expired = 0;
    for (int r = 0; r < list->rowCount(); ++r)
        expired +=
            list->item(r, 1)->text() == u"12345678Z"_s && list->item(r, 3)->text().contains(u"caducado"_s);
    EXPECT_EQ(expired, 1) << "the expired one, whose serial number is the bare NIF";
}

TEST_F(SigningWindowTest, ImportsACertificateFileIntoTheChosenDatabase) {
    f.signing.file = certificates.exportPkcs12(u"otro"_s, u"clave-p12"_s);
    f.signing.folder = f.dir.file(u"nssdb"_s);
    SigningWindow window({f.messages, f.signing, {}, u"12345678Z"_s, {}, {}});
    press(&window, "cmdCarpeta");
    ASSERT_EQ(control<QTableWidget>(&window, u"lstCertificados"_s)->rowCount(), 0);
    f.signing.filePassword = u"mala"_s;
    press(&window, "cmdImportar");
    EXPECT_EQ(f.messages.texts(), QStringList{u"La contraseña del fichero otro.p12 no es correcta."_s});
    f.signing.filePassword = u"clave-p12"_s;
    press(&window, "cmdImportar");
    EXPECT_TRUE(selectRowWith(&window, u"87654321X"_s));
    f.signing.file = certificates.exportPkcs12(u"solicitante"_s, u"clave-p12"_s);
    press(&window, "cmdImportar");
    EXPECT_TRUE(selectRowWith(&window, u"12345678Z"_s)) << "imported into the database open";
}

TEST_F(SigningWindowTest, RefusesTheCertificateOfAnotherNif) {
    ASSERT_NE(f.pickBody(), nullptr);
    signWith(u"87654321X"_s, TestCertificates::password, true);
    EXPECT_EQ(f.messages.only(u"Firmar solicitud"_s, MessageIcon::Critical),
              u"El certificado elegido no es del solicitante (NIF 87654321X)."_s);
    EXPECT_TRUE(QDir(f.state.folders.applications).entryList(QDir::Files).isEmpty()) << "nothing is saved";
}

TEST_F(SigningWindowTest, SignsFromTheMenuIntoAPdfThatPdfsigCallsValid) {
    ASSERT_TRUE(f.users.AltaUsuario(QString::fromLatin1(EditorFixture::kDni), u"SECRETO"_s));
    fillRequired(f);
    control<QTabWidget>(&editor, u"tabPrincipal"_s)->setCurrentIndex(2);
    control<QPushButton>(&editor, u"cmdTodasVacantes"_s)->click();
    f.signing.keepAs = f.dir.file(u"firmada.pdf"_s);
    signWith(u"12345678Z"_s, TestCertificates::password);
    EXPECT_EQ(QFileInfo(f.signing.proposed).fileName(),
              u"Solicitud-12345678Z-%1.pdf"_s.arg(editor.model().value(ctl::cboCuerpo)));
    EXPECT_TRUE(
        f.messages.only(u"Firmar solicitud"_s, MessageIcon::Information)
            .contains(u"firmada.pdf\n\nNo hace falta imprimirla: preséntela en el registro electrónico"_s));
    QProcess pdfsig;
    pdfsig.start(u"pdfsig"_s, {u"-nssdir"_s, u"sql:"_s + certificates.nssdb, u"-nss-pwd"_s,
                               TestCertificates::password, f.dir.file(u"firmada.pdf"_s)});
    ASSERT_TRUE(pdfsig.waitForFinished(120000));
    const QString report = QString::fromUtf8(pdfsig.readAllStandardOutput());
    EXPECT_TRUE(report.contains(u"Total document signed"_s) && report.contains(u"Signature is Valid"_s))
        << report.toStdString();
}

// Cancel, or a save that fails, keeps the editor; No lets it go and releases the catalogues.
TEST(EditorWindow, ClosingKeepsTheEditorUnlessTheAnswerIsNoOrTheSaveWorks) {
    EditorFixture f;
    ASSERT_TRUE(f.users.AltaUsuario(QString::fromLatin1(EditorFixture::kDni), u"SECRETO"_s));
    EditorWindow& editor = f.openEditor();
    fillRequired(f);
    ASSERT_TRUE(QDir(f.state.folders.applications).removeRecursively());
    f.messages.messages.clear();

    f.messages.queueAnswer(MessageAnswer::Cancel);
    f.messages.queueAnswer(MessageAnswer::Yes); // save the changes
    EXPECT_FALSE(editor.close());
    EXPECT_FALSE(editor.close());
    EXPECT_TRUE(editor.isVisible());
    ASSERT_EQ(f.messages.messages.size(), 3u);
    EXPECT_EQ(f.messages.messages.at(0).buttons, MessageButtons::YesNoCancel);
    EXPECT_TRUE(f.messages.messages.at(2).text.startsWith(u"No existe la carpeta de las solicitudes:"_s));
    EXPECT_EQ(f.messages.messages.at(2).icon, MessageIcon::Critical);
    EXPECT_TRUE(f.state.tables.bodies.isOpen()) << "nothing is released while the application is unsaved";

    f.messages.queueAnswer(MessageAnswer::No);
    EXPECT_TRUE(editor.close());
    EXPECT_FALSE(f.state.tables.bodies.isOpen());
}

// Thirty vacancies picked from the drop-down with the keyboard alone: the list opens on the
// next position not chosen yet and Enter presses "Aceptar", so a row costs the same few keys
// wherever it stands in the list.
TEST(EditorWindow, ALongVacancyListTakesAFewKeysARow) {
    constexpr int kRows = 30;
    EditorFixture f(SampleScale::Large); // the smaller samples offer fewer positions to a body
    EditorWindow& editor = f.openEditor();
    ASSERT_NE(f.pickBody([](const BodyPositions& p) { return p.vacancy->recordCount() > kRows; }), nullptr);
    control<QTabWidget>(&editor, u"tabPrincipal"_s)->setCurrentIndex(2);
    auto* positions = control<DataComboBox>(&editor, u"cboPuestoVacante"_s);
    activate(positions);
    positions->setFocus();
    int keys = 0;
    const auto key = [&keys](Qt::Key pressed, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        pressKey(pressed, modifiers);
        ++keys;
    };
    for (int row = 0; row < kRows && !HasFailure(); ++row) {
        ASSERT_EQ(focusName(), u"cboPuestoVacante"_s) << "row " << row;
        key(Qt::Key_Down, Qt::AltModifier);
        if (!positions->listView()->currentIndex().isValid())
            key(Qt::Key_Down);
        key(Qt::Key_Return);
        ASSERT_TRUE(QTest::qWaitFor([] { return focusName() == u"cmdAceptarVacante"_s; })) << "row " << row;
        key(Qt::Key_Return);
    }
    const QStringList codes = codesByOrder(f.state.tables.vacancyList);
    EXPECT_EQ(codes.size(), kRows);
    EXPECT_EQ(QSet<QString>(codes.begin(), codes.end()).size(), kRows) << "a position chosen twice";
    EXPECT_LE(keys, 10 * kRows);
    auto* grid = control<QTableView>(&editor, u"grdVacantes"_s);
    EXPECT_EQ(grid->currentIndex().row(), kRows - 1);
    EXPECT_TRUE(grid->viewport()->rect().contains(grid->visualRect(grid->currentIndex())))
        << "added out of sight";
}

constexpr auto kChildFolder = "VELMORA_RECOVERY_CHILD";
constexpr auto kScreenFile = "pantalla.txt";

// Signs in (with `password` when the applicant has one) and goes through the loading window,
// as a person does, while `start` runs the program's first windows.
bool startSignedIn(ProgramController& controller, const QString& password = {}) {
    EditorFixture::whenModal(u"frmUsuario"_s, [password](QWidget* signIn) {
        control<QLineEdit>(signIn, ctl::txtDNI)->setText(QString::fromLatin1(EditorFixture::kDni));
        control<QPushButton>(signIn, u"cmdAceptarDNI"_s)->click();
        if (password.isEmpty())
            return;
        control<QLineEdit>(signIn, u"txtPwd"_s)->setText(password);
        control<QPushButton>(signIn, u"cmdAceptarPwd"_s)->click();
    });
    EditorFixture::whenModal(
        u"frmProgreso"_s, [](QWidget* w) { control<QPushButton>(w, u"cmdContinuar"_s)->click(); },
        [](QWidget* w) { return control<QPushButton>(w, u"cmdContinuar"_s)->isEnabled(); });
    return controller.start();
}

// What the editor shows of the application: the names and the four lists, row by row.
QStringList screenOf(ProgramController& controller) {
    LoadedTables& t = controller.state().tables;
    QStringList screen{controller.editor()->model().text(ctl::txtApellido1),
                       controller.editor()->model().text(ctl::txtNombre)};
    for (RecordSet* list : {&t.vacancyList, &t.resultasList, &t.coursesList, &t.documentsList})
        screen << rowsOf(*list) << u"--"_s;
    return screen;
}

// The child: opens the saved application, edits it, notes what the screen shows and goes on
// until the parent kills it.
TEST(UnsavedWork, ChildEditsUntilKilled) {
    const QString folder = qEnvironmentVariable(kChildFolder);
    if (folder.isEmpty())
        GTEST_SKIP() << "runs only as the child process of the recovery test";
    FakeMessageService messages;
    SystemClock clock;
    ProgramController controller(folder, messages, clock);
    controller.setOpenWithDesktop(false);
    ASSERT_TRUE(startSignedIn(controller, u"secreto"_s));
    ASSERT_NE(controller.selection(), nullptr);
    EditorFixture::whenModal(
        u"frmProgreso"_s, [](QWidget* w) { control<QPushButton>(w, u"cmdContinuar"_s)->click(); },
        [](QWidget* w) { return control<QPushButton>(w, u"cmdContinuar"_s)->isEnabled(); });
    RecordSet& saved = controller.state().applicationFiles;
    saved.moveFirst();
    control<DataComboBox>(controller.selection(), u"cboSolicitudes"_s)->setValue(saved.text(u"Fichero"));
    control<QPushButton>(controller.selection(), u"cmdCargar"_s)->click();
    EditorWindow* editor = controller.editor();
    ASSERT_NE(editor, nullptr);
    typeInto(editor, "txtNombre", u"Ana"_s);
    addRows(controller.state().tables.coursesList, {}, {{"Curso nuevo", 8, 2024, "Hospital", 3}});
    writeFile(QDir(folder).filePath(QLatin1String(kScreenFile)), screenOf(controller).join(u'\n').toUtf8());
    QTest::qWait(120000);
    FAIL() << "the parent never killed this process";
}

// A saved application with rows in every list, changed and killed before the save, comes
// back at the next sign-in exactly as the screen showed it.
TEST(UnsavedWork, KilledWhileEditingTheWorkComesBackAtTheNextSignIn) {
    EditorFixture f;
    f.openEditor();
    fillRequired(f);
    LoadedTables& t = f.state.tables;
    for (RecordSet* list : {&t.vacancyList, &t.resultasList})
        addRows(*list, {},
                {{0, 1, "10001", "Primera"}, {0, 2, "10002", "Segunda"}, {0, 3, "10003", "Tercera"}});
    addRows(t.coursesList, {},
            {{"Curso uno", 20, 2019, "Escuela", 1}, {"Curso dos", 10, 2020, "Escuela", 2}});
    addRows(t.documentsList, {}, {{1, "Título", "30", "01/02/2020", "Centro"}, {2, "Otro", "", "", ""}});
    f.createPasswordWhenAsked();
    f.editor->menuEntry(MenuEntry::Save)->trigger();
    settle();
    ASSERT_TRUE(f.messages.messages.empty()) << f.messages.texts().join(u'|').toStdString();
    f.editor.reset();

    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QLatin1String(kChildFolder), f.dir.path());
    child.setProcessEnvironment(environment);
    child.start(QCoreApplication::applicationFilePath(),
                {u"--gtest_filter=UnsavedWork.ChildEditsUntilKilled"_s});
    ASSERT_TRUE(child.waitForStarted());
    const RecoveryFile recovery(f.state.folders.applications, QString::fromLatin1(EditorFixture::kDni));
    for (int waited = 0; waited < 600 && !recovery.exists() && child.state() == QProcess::Running; ++waited)
        QTest::qWait(100);
    child.kill(); // SIGKILL: nothing of the program runs after it
    child.waitForFinished();
    ASSERT_TRUE(recovery.exists()) << child.readAll().toStdString();
    const QStringList screen = QString::fromUtf8(f.dir.read(QLatin1String(kScreenFile))).split(u'\n');
    ASSERT_EQ(screen.mid(0, 2), (QStringList{u"García"_s, u"Ana"_s}));
    ASSERT_EQ(screen.size(), 2 + 3 + 3 + 3 + 2 + 4) << "every saved row on the screen, and the new course";

    FakeMessageService messages;
    ProgramController controller(f.dir.path(), messages, f.clock);
    controller.setOpenWithDesktop(false);
    messages.queueAnswer(MessageAnswer::Yes);
    ASSERT_TRUE(startSignedIn(controller, u"secreto"_s));
    ASSERT_EQ(messages.messages.size(), 1u) << messages.texts().join(u'|').toStdString();
    EXPECT_TRUE(messages.messages.front().text.startsWith(
        u"Se han encontrado cambios sin guardar de la solicitud del "_s));
    ASSERT_NE(controller.editor(), nullptr);
    EXPECT_EQ(screenOf(controller), screen);
    EXPECT_EQ(control<QLineEdit>(controller.editor(), ctl::txtNombre)->text(), u"Ana"_s);
    EXPECT_TRUE(recovery.exists()) << "kept until the work is saved or dropped";

    // Dropped at the close prompt: the file goes.
    messages.queueAnswer(MessageAnswer::No);
    controller.editor()->close();
    EXPECT_FALSE(recovery.exists());
}

// A second copy signed in with the same DNI leaves the first one's live work alone.
TEST(UnsavedWork, TheRecoveryFileOfARunningCopyIsNeitherOfferedNorDeleted) {
    TempDir dir;
    ASSERT_TRUE(writeSampleContest(dir.path(), SampleScale::Small, 7).ok());
    const RecoveryFile recovery(AppFolders::at(dir.path()).applications,
                                QString::fromLatin1(EditorFixture::kDni));
    ApplicationListTables lists;
    ASSERT_TRUE(
        recovery.write(ApplicationModel(), lists.lists(), {}, false, QDateTime::currentDateTime()).ok());
    const RecoveryFileLock firstCopy(recovery);
    ASSERT_TRUE(firstCopy.held());

    FakeMessageService messages;
    SystemClock clock;
    ProgramController controller(dir.path(), messages, clock);
    controller.setOpenWithDesktop(false);
    ASSERT_TRUE(startSignedIn(controller));
    EXPECT_EQ(messages.only(u"Solicitud"_s, MessageIcon::Information).left(21), u"Hay otra copia del pr"_s);
    typeInto(controller.editor(), "txtNombre", u"Ana"_s);
    messages.queueAnswer(MessageAnswer::No);
    controller.editor()->close();
    EXPECT_TRUE(recovery.exists());
}

} // namespace
} // namespace velmora::test
