#include "applications/ApplicationFiles.h"
#include "editor/ControlName.h"
#include "platform/widgets/DataComboBox.h"
#include "platform/widgets/DataGrid.h"
#include "ui/EditorFixture.h"
#include "ui/ListDriving.h"
#include "ui/PreviewWindow.h"

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTabWidget>

#include <gtest/gtest.h>

namespace velmora::test {
namespace {

// Picks the first body whose group is set by the body (code not beginning with "X").
QString pickBody(EditorWindow& editor) {
    auto* body = control<DataComboBox>(&editor, ctl::cboCuerpo);
    body->setFocus();
    for (int i = 0; i < 50; ++i) {
        QTest::keyClick(body, Qt::Key_Down);
        if (!body->value().startsWith(QLatin1Char('X')))
            break;
    }
    settle();
    return body->value();
}

void fillRequired(EditorWindow& editor) {
    typeInto(&editor, "txtApellido1", u"García"_s);
    typeInto(&editor, "txtNombre", u"María"_s);
    typeInto(&editor, "txtFecNacimiento", u"12031980"_s);
    control<QRadioButton>(&editor, ctl::optActivo)->click();
    pickBody(editor);
}

TEST(EditorWindow, AppliesTheContestConfigurationAndOpensTabsAndMenuOnceABodyIsChosen) {
    EditorFixture f;
    EditorWindow& editor = f.openEditor();
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
    auto* dni = control<QLineEdit>(&editor, ctl::txtDNI);
    EXPECT_EQ(dni->text(), QString::fromLatin1(EditorFixture::kDni));
    EXPECT_FALSE(dni->isEnabled());

    // The other tabs and the menu wait for a body and its group.
    tabs->setCurrentIndex(2);
    EXPECT_EQ(tabs->currentIndex(), 0);
    EXPECT_EQ(f.messages.only(u"Datos incompletos"_s, MessageIcon::Exclamation),
              u"Compruebe que ha rellenado los datos del formulario"_s);

    const QString body = pickBody(editor);
    ASSERT_FALSE(body.isEmpty());
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

TEST(EditorWindow, NumericBoxesLetTabShiftTabAndEnterMoveOnAndTheProvinceTakesNoTyping) {
    EditorFixture f;
    EditorWindow& editor = f.openEditor();
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

TEST(EditorWindow, ChoicesShowTheirFieldsAndDatesAreChecked) {
    EditorFixture f;
    EditorWindow& editor = f.openEditor();
    auto* kind = control<QLineEdit>(&editor, ctl::txtTipoDisc);
    EXPECT_FALSE(kind->isVisible());
    control<QRadioButton>(&editor, ctl::optDiscSi)->click();
    EXPECT_TRUE(kind->isVisible());
    typeInto(&editor, "txtTipoDisc", u"Motora"_s);
    control<QRadioButton>(&editor, ctl::optDiscNo)->click();
    EXPECT_FALSE(kind->isVisible());
    EXPECT_TRUE(kind->text().isEmpty());
    EXPECT_TRUE(editor.model().text(ctl::txtTipoDisc).isEmpty());

    control<QRadioButton>(&editor, ctl::optActivo)->click();
    EXPECT_FALSE(control<QWidget>(&editor, ctl::fraReingreso)->isEnabled());
    EXPECT_TRUE(control<QRadioButton>(&editor, ctl::optReingresoNo)->isChecked());

    // Dates get their slashes, and an impossible one takes the focus back.
    typeInto(&editor, "txtFecNacimiento", u"31022000"_s);
    EXPECT_EQ(control<QLineEdit>(&editor, ctl::txtFecNacimiento)->text(), u"31/02/2000"_s);
    control<QLineEdit>(&editor, ctl::txtNombre)->setFocus(Qt::TabFocusReason);
    settle();
    EXPECT_EQ(f.messages.texts(), QStringList{u"Fecha Errónea"_s});
    EXPECT_EQ(focusName(), ctl::txtFecNacimiento) << "the focus goes back to the date";
}

TEST(EditorWindow, PrintingWithoutRequiredDataOffersADraftAndNoAnswerDoesNothing) {
    EditorFixture f;
    EditorWindow& editor = f.openEditor();
    pickBody(editor);
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
    fillRequired(editor);
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

TEST(EditorWindow, FirstSaveCreatesThePasswordAndLocksTheIdentityThenReopensFieldByField) {
    EditorFixture f;
    EditorWindow& editor = f.openEditor();
    fillRequired(editor);
    typeInto(&editor, "txtApellido2", u"Núñez"_s);
    control<QRadioButton>(&editor, ctl::optPetConyugeSi)->click();
    typeInto(&editor, "txtConyuNombre", u"Ana"_s);
    ASSERT_TRUE(addSampleCourse(f.state.tables.coursesList));

    f.createPasswordWhenAsked();
    f.messages.queueAnswer(MessageAnswer::Ok); // the family-reasons DNI is missing
    editor.menuEntry(MenuEntry::Save)->trigger();
    ASSERT_EQ(f.messages.texts(), QStringList({u"El DNI de su cónyuge no es válido"_s}));

    control<QRadioButton>(&editor, ctl::optPetConyugeNo)->click();
    f.messages.messages.clear();
    editor.menuEntry(MenuEntry::Save)->trigger();
    settle();
    EXPECT_TRUE(f.users.ExisteUsuario(QString::fromLatin1(EditorFixture::kDni)));
    EXPECT_TRUE(f.state.hasPassword);
    EXPECT_TRUE(editor.menuEntry(MenuEntry::ChangePassword)->isVisible());
    EXPECT_FALSE(control<DataComboBox>(&editor, ctl::cboCuerpo)->isEnabled());

    const QString fileName =
        applicationFileName(QString::fromLatin1(EditorFixture::kDni), editor.model().value(ctl::cboCuerpo),
                            editor.model().value(ctl::cboGrupo), f.messages);
    ASSERT_TRUE(QFile::exists(f.applicationsFile(fileName))) << qPrintable(fileName);
    ASSERT_TRUE(QFile::exists(f.applicationsFile(sidecarFileName(fileName))));

    // A later run: the same application opened in a new editor.
    f.messages.queueAnswer(MessageAnswer::No); // leave without saving again
    editor.close();
    EditorFixture::reloadLists(f.state);
    EditorWindow& reopened = f.openEditor();
    // Which fields read back is SavedApplicationReaderTest's; here the window showing them.
    ASSERT_TRUE(reopened.loadApplication(fileName).ok());
    EXPECT_EQ(control<QLineEdit>(&reopened, ctl::txtApellido2)->text(), u"Núñez"_s);
    EXPECT_FALSE(control<QWidget>(&reopened, ctl::fraDNIConyuge)->isVisible());
    EXPECT_EQ(control<DataGrid>(&reopened, u"grdCursos"_s)->model()->rowCount(), 1);
    EXPECT_FALSE(control<DataComboBox>(&reopened, ctl::cboCuerpo)->isEnabled());
    EXPECT_TRUE(reopened.menuEntry(MenuEntry::Save)->isEnabled());
}

TEST(EditorWindow, PreviewShowsThePagesAndItsPrintButtonPrints) {
    EditorFixture f;
    EditorWindow& editor = f.openEditor();
    QAction* preview = editor.menuEntry(MenuEntry::Preview);
    EXPECT_FALSE(preview->isEnabled());
    fillRequired(editor);
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
        QTest::keyClick(w, Qt::Key_PageDown);
        EXPECT_EQ(label->text(), u"Página 2 de %1"_s.arg(pages));
        QTest::keyClick(w, Qt::Key_PageUp);
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
    EXPECT_TRUE(f.messages.messages.back().text.startsWith(u"IMPORTANTE"_s))
        << f.messages.texts().join(u'|').toStdString();
}

// Cancel, or a save that fails, keeps the editor; No lets it go and releases the catalogues.
TEST(EditorWindow, ClosingKeepsTheEditorUnlessTheAnswerIsNoOrTheSaveWorks) {
    EditorFixture f;
    ASSERT_TRUE(f.users.AltaUsuario(QString::fromLatin1(EditorFixture::kDni), u"SECRETO"_s));
    EditorWindow& editor = f.openEditor();
    fillRequired(editor);
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

} // namespace
} // namespace velmora::test
