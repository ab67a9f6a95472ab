#include "applications/ApplicationFiles.h"
#include "catalog/PositionLookup.h"
#include "editor/ControlName.h"
#include "printing/BarcodeReader.h"
#include "printing/BarcodeText.h"
#include "support/PdfTools.h"
#include "ui/EditorFixture.h"
#include "ui/ListDriving.h"
#include "ui/ProgramController.h"

#include <QAction>
#include <QButtonGroup>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTabWidget>

#include <gtest/gtest.h>

namespace velmora::test {
namespace {

constexpr int kVacancies = 45;
constexpr int kResultas = 5;

QStringList codesInOrder(const RecordSet& list) {
    auto view = list.clone();
    view->clearFilter();
    EXPECT_TRUE(view->setSort(u"Orden ASC"_s).ok());
    QStringList values;
    for (int row = 0; row < view->recordCount(); ++row)
        values << view->textAt(row, view->columnIndex(u"CodConvocatoria"));
    return values;
}

// The first body (its group fixed by it) offering more positions than the run asks for.
QString roomyBody(const CatalogTables& tables, int vacancies = kVacancies, int resultas = kResultas) {
    auto bodies = tables.bodies.clone();
    for (int row = 0; row < bodies->recordCount(); ++row) {
        const QString code = bodies->textAt(row, bodies->columnIndex(u"CodCuerpo"));
        const BodyPositions* entry = findBodyPositions(tables.bodyPositions, code, true);
        if (!code.startsWith(QLatin1Char('X')) && entry && entry->vacancy &&
            entry->vacancy->recordCount() > vacancies && entry->resultas->recordCount() > resultas)
            return code;
    }
    return {};
}

// Deletes shown rows from the end until `keep` are left, answering "Sí" each time.
void deleteDownTo(EditorWindow& editor, const char* grid, const char* remove, int keep,
                  const RecordSet& list) {
    while (list.recordCount() > keep) {
        selectGridRow(&editor, grid, list.recordCount() - 1);
        press(&editor, remove);
    }
}

// The V and R barcodes read back: the positions of each list in print order, and the pages.
std::map<QChar, QStringList> readLists(const QStringList& barcodes, int headerLength, QList<int>& pages) {
    std::map<QChar, QStringList> lists;
    int order = 0;
    for (const QString& text : barcodes) {
        const QChar kind = text.at(headerLength);
        if (kind == u'P')
            continue;
        pages << text.mid(headerLength + 1, 3).toInt();
        const QString data = text.mid(headerLength + 4, text.size() - headerLength - 5);
        EXPECT_EQ(data.size() % 9, 0) << text.toStdString();
        for (int at = 0; at + 9 <= data.size(); at += 9) {
            order = lists[kind].isEmpty() ? 1 : order + 1;
            EXPECT_EQ(data.mid(at, 4).toInt(), order) << text.toStdString();
            lists[kind] << data.mid(at + 4, 5).trimmed();
        }
    }
    return lists;
}

// A new applicant fills an application through the editor's controls on the largest sample
// contest (whose bodies offer lists that need more than one page), saves it, closes the editor,
// reopens the application and prints it; every printed barcode is read back.
TEST(FullApplicationRun, EnteredSavedReopenedAndPrintedBarcodesMatchTheLists) {
    if (!havePoppler())
        GTEST_SKIP() << "poppler-utils no está instalado";
    EditorFixture f(SampleScale::Large);
    EditorWindow& editor = f.openEditor();
    typeInto(&editor, "txtApellido1", u"García"_s);
    typeInto(&editor, "txtNombre", u"María José"_s);
    typeInto(&editor, "txtFecNacimiento", u"12031980"_s);
    for (const char* option : {"optDiscNo", "optVoluntario", "optPetConyugeNo", "optActivo", "OptNo"})
        control<QRadioButton>(&editor, QString::fromLatin1(option))->click();
    const QString body = roomyBody(f.state.tables);
    ASSERT_FALSE(body.isEmpty());
    ASSERT_TRUE(pickFromList(dropDown(&editor, "cboCuerpo"), body));
    const QString group = editor.model().value(ctl::cboGrupo);
    auto* tabs = control<QTabWidget>(&editor, u"tabPrincipal"_s);
    auto& t = f.state.tables;

    // Vacancies: one placed by hand at order 1, then all the others, cut down, one moved.
    tabs->setCurrentIndex(2);
    const QString first = dropDown(&editor, "cboPuestoVacante")->boundSet()->textAt(5, 0);
    ASSERT_TRUE(pickFromList(dropDown(&editor, "cboPuestoVacante"), first));
    press(&editor, "cmdAceptarVacante");
    press(&editor, "cmdTodasVacantes");
    deleteDownTo(editor, "grdVacantes", "cmdDelVacante", kVacancies, t.vacancyList);
    selectGridRow(&editor, "grdVacantes", 0);
    press(&editor, "cmdUpdateVacante");
    typeInto(&editor, "txtOrdenVacante", u"3"_s);
    press(&editor, "cmdAceptarVacante");
    const QStringList vacancies = codesInOrder(t.vacancyList);
    ASSERT_EQ(vacancies.size(), kVacancies);
    EXPECT_EQ(vacancies.at(2), first);

    // Resultas: one by its typed code, then the others.
    tabs->setCurrentIndex(3);
    const QString typed = dropDown(&editor, "cboPuestoResultas")->boundSet()->textAt(2, 0);
    typeInto(&editor, "txtCodResulta", typed, "cboPuestoResultas");
    EXPECT_EQ(dropDown(&editor, "cboPuestoResultas")->value(), typed);
    press(&editor, "cmdAceptarResultas");
    press(&editor, "cmdInsertaTodasResultas");
    deleteDownTo(editor, "grdResultas", "cmdDelResultas", kResultas, t.resultasList);
    const QStringList resultas = codesInOrder(t.resultasList);
    EXPECT_EQ(resultas.value(0), typed);
    f.messages.messages.clear();

    f.createPasswordWhenAsked();
    editor.menuEntry(MenuEntry::Save)->trigger();
    settle();
    const QString dni = QString::fromLatin1(EditorFixture::kDni);
    const QString fileName = applicationFileName(dni, body, group, f.messages);
    ASSERT_TRUE(QFile::exists(f.applicationsFile(fileName))) << fileName.toStdString();
    EXPECT_TRUE(f.messages.messages.empty()) << f.messages.texts().join(u'|').toStdString();

    f.messages.queueAnswer(MessageAnswer::No); // already saved
    editor.close();
    EditorFixture::reloadLists(f.state);
    EditorWindow& reopened = f.openEditor();
    ASSERT_TRUE(reopened.loadApplication(fileName).ok());
    EXPECT_EQ(codesInOrder(t.vacancyList), vacancies);
    EXPECT_EQ(codesInOrder(t.resultasList), resultas);
    EXPECT_EQ(control<DataGrid>(&reopened, u"grdVacantes"_s)->model()->rowCount(), kVacancies);

    reopened.menuEntry(MenuEntry::Print)->trigger();
    settle();
    const Result<QStringList> barcodes = readPdf417Pdf(QDir(f.dir.path()).filePath(u"impreso.pdf"_s));
    ASSERT_TRUE(barcodes.ok());
    const int headerLength = int(ClaveCodigoBarras(dni, body, group).size()) + 18;
    ASSERT_FALSE(barcodes.value().isEmpty());
    EXPECT_EQ(barcodes.value().first().mid(headerLength, 4), "P001");
    QList<int> pages;
    const auto printed = readLists(barcodes.value(), headerLength, pages);
    EXPECT_EQ(printed.at(u'V'), vacancies);
    EXPECT_EQ(printed.at(u'R'), resultas);
    EXPECT_TRUE(std::is_sorted(pages.begin(), pages.end()) &&
                std::adjacent_find(pages.begin(), pages.end()) == pages.end())
        << "one barcode per list page, pages in order";
}

// Row of `code` in the list of `box` (its current view).
int listRow(const DataComboBox* box, const QString& code) {
    for (int row = 0; row < box->listModel()->rowCount(); ++row)
        if (box->listModel()->text(row, box->keyColumn()) == code)
            return row;
    return -1;
}

// Tab enters an option group once (at its checked button, or its first); the arrow keys move
// within it and Space picks.
bool pickOption(QWidget* window, const char* name) {
    auto* wanted = control<QRadioButton>(window, QLatin1String(name));
    const auto inGroup = [wanted] {
        auto* focus = qobject_cast<QRadioButton*>(QApplication::focusWidget());
        return focus && focus->group() && focus->group() == wanted->group();
    };
    for (int i = 0; i < 150 && !inGroup(); ++i)
        pressKey(Qt::Key_Tab);
    for (int i = 0; i < 4 && inGroup() && focusName() != QLatin1String(name); ++i)
        pressKey(Qt::Key_Right);
    pressKey(Qt::Key_Space);
    return wanted->isChecked();
}

// The whole application without the mouse: every step is a key pressed where the focus is
// (the window system only hands the keyboard back to the editor when a list has closed).
TEST(FullApplicationRun, KeyboardOnlyFromSignInToThePrintout) {
    EditorFixture f;
    const QString dni = QString::fromLatin1(EditorFixture::kDni);
    ProgramController controller(f.dir.path(), f.messages, f.clock);
    controller.setOpenWithDesktop(false);
    f.whenModal(QStringLiteral("frmUsuario"), [&](QWidget* w) {
        activate(w);   // a new window takes the keyboard, as on a desktop
        typeKeys(dni); // the ninth character moves on to the accept button
        EXPECT_EQ(focusName(), "cmdAceptarDNI");
        f.whenModal(
            QStringLiteral("frmProgreso"),
            [](QWidget* w) {
                activate(w);
                EXPECT_EQ(focusName(), "cmdContinuar");
                pressKey(Qt::Key_Return);
            },
            [](QWidget* w) { return control<QWidget>(w, "cmdContinuar")->isEnabled(); });
        pressKey(Qt::Key_Return);
    });
    ASSERT_TRUE(controller.start());
    EditorWindow& editor = *controller.editor();
    const QString pdf = QDir(f.dir.path()).filePath(QStringLiteral("teclado.pdf"));
    editor.setPrintDestination(docengine::PrintDestination::Pdf, pdf);
    activate(&editor);

    ASSERT_EQ(focusName(), "txtApellido1");
    for (const char* text :
         {"García", "Núñez", "María José", "12031980", "954123456", "Calle Mayor, 12", "Valdeluz"}) {
        typeKeys(QString::fromUtf8(text));
        pressKey(Qt::Key_Tab); // the DNI box holds the signed-in DNI and is passed by
    }
    ASSERT_EQ(focusName(), "cboProvincia");
    pressKey(Qt::Key_Down); // the first province, and its code in the postal code
    activate(&editor);
    EXPECT_FALSE(editor.model().text(ctl::txtCP).isEmpty());
    for (const char* option : {"optDiscNo", "optVoluntario", "optPetConyugeNo"})
        ASSERT_TRUE(pickOption(&editor, option)) << option;
    ASSERT_TRUE(tabTo(ctl::cboCuerpo));
    DataComboBox* bodies = dropDown(&editor, "cboCuerpo");
    const QString body = roomyBody(controller.state().tables, 3, 1);
    ASSERT_FALSE(body.isEmpty());
    pressKey(Qt::Key_Down, Qt::AltModifier);
    pressKey(Qt::Key_Home, Qt::ControlModifier);
    for (int row = listRow(bodies, body); row > 0; --row)
        pressKey(Qt::Key_Down);
    pressKey(Qt::Key_Return);
    activate(&editor);
    ASSERT_EQ(editor.model().value(ctl::cboCuerpo), body);
    for (const char* option : {"optActivo", "OptNo"})
        ASSERT_TRUE(pickOption(&editor, option)) << option;
    for (const char* option :
         {"optDiscNo", "optVoluntario", "optPetConyugeNo", "optReingresoNo", "optActivo", "OptNo"})
        EXPECT_TRUE(control<QRadioButton>(&editor, QLatin1String(option))->isChecked()) << option;

    // Vacancies: one by its typed code, then all the others; the arrow keys pick grid rows.
    ASSERT_TRUE(tabTo(QStringLiteral("qt_tabwidget_tabbar")));
    pressKey(Qt::Key_Right);
    pressKey(Qt::Key_Right);
    auto& lists = controller.state().tables;
    QStringList offered = listedCodes(dropDown(&editor, "cboPuestoVacante")).values();
    std::sort(offered.begin(), offered.end()); // the candidates' order
    ASSERT_TRUE(tabTo(QStringLiteral("txtCodVacante")));
    typeKeys(offered[1]);
    pressKey(Qt::Key_Tab); // the code picks its position and moves on to "Aceptar"
    EXPECT_EQ(focusName(), "cmdAceptarVacante");
    pressKey(Qt::Key_Space);
    ASSERT_TRUE(tabTo(QStringLiteral("cmdTodasVacantes"), Qt::Key_Backtab));
    pressKey(Qt::Key_Space);
    QStringList vacancies = offered;
    vacancies.move(1, 0);
    EXPECT_EQ(codesInOrder(lists.vacancyList), vacancies);
    ASSERT_TRUE(tabTo(QStringLiteral("grdVacantes"), Qt::Key_Backtab));
    auto* grid = control<DataGrid>(&editor, QStringLiteral("grdVacantes"));
    pressKey(Qt::Key_Down);
    pressKey(Qt::Key_Down);
    pressKey(Qt::Key_Up);
    EXPECT_EQ(grid->selectedRowIds(), QList<qint64>{grid->recordModel()->rowIdAt(1)});

    // A course on "Cursos" and a document on the last tab.
    ASSERT_TRUE(tabTo(QStringLiteral("qt_tabwidget_tabbar"), Qt::Key_Backtab));
    pressKey(Qt::Key_Left);
    ASSERT_TRUE(tabTo(QStringLiteral("cmdAdd")));
    pressKey(Qt::Key_Space);
    for (const char* text : {"Soporte vital avanzado", "20", "2019", "Escuela de Salud"}) {
        typeKeys(QString::fromUtf8(text));
        pressKey(Qt::Key_Tab);
    }
    ASSERT_EQ(focusName(), "cmdAceptar");
    pressKey(Qt::Key_Space);
    ASSERT_TRUE(tabTo(QStringLiteral("qt_tabwidget_tabbar")));
    for (int i = 0; i < 3; ++i)
        pressKey(Qt::Key_Right);
    ASSERT_TRUE(tabTo(QStringLiteral("txtDoc")));
    typeKeys(QStringLiteral("Certificado de servicios"));
    ASSERT_TRUE(tabTo(QStringLiteral("cmdAceptarDoc")));
    pressKey(Qt::Key_Space);
    ASSERT_EQ(lists.coursesList.recordCount(), 1);
    ASSERT_EQ(lists.documentsList.recordCount(), 1);
    EXPECT_EQ(lists.coursesList.textAt(0, lists.coursesList.columnIndex(u"Curso")), "Soporte vital avanzado");
    EXPECT_EQ(lists.documentsList.textAt(0, lists.documentsList.columnIndex(u"Documento")),
              "Certificado de servicios");

    // Alt+G saves; a new user sets a password first. Alt+I prints.
    f.whenModal(QStringLiteral("frmCreaPwd"), [](QWidget* w) {
        activate(w);
        typeKeys(QStringLiteral("secreto"));
        pressKey(Qt::Key_Tab);
        typeKeys(QStringLiteral("secreto"));
        pressKey(Qt::Key_Return);
    });
    pressKey(Qt::Key_G, Qt::AltModifier);
    EXPECT_TRUE(controller.users().ExisteUsuario(dni));
    const QString fileName = applicationFileName(dni, body, editor.model().value(ctl::cboGrupo), f.messages);
    EXPECT_TRUE(QFile::exists(f.applicationsFile(fileName))) << fileName.toStdString();
    EXPECT_TRUE(f.messages.messages.empty()) << f.messages.texts().join(u'|').toStdString();
    activate(&editor); // the password window has closed: the editor has the keyboard again
    pressKey(Qt::Key_I, Qt::AltModifier);
    EXPECT_TRUE(QFile::exists(pdf));
    ASSERT_EQ(f.messages.messages.size(), 1u);
    EXPECT_TRUE(f.messages.messages[0].text.startsWith(QStringLiteral("IMPORTANTE")));
}

} // namespace
} // namespace velmora::test
