#include "applications/ApplicationFiles.h"
#include "catalog/PositionLookup.h"
#include "printing/BarcodeReader.h"
#include "printing/BarcodeText.h"
#include "support/PdfTools.h"
#include "support/QStringPrinter.h"
#include "ui/EditorFixture.h"
#include "ui/ListDriving.h"
#include "ui/ProgramController.h"

#include <QAction>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTabWidget>

#include <gtest/gtest.h>

namespace velmora::test {
namespace {

constexpr int kVacancies = 100;
constexpr int kResultas = 50;
constexpr int kCourses = 40;
constexpr int kDocuments = 5;

QStringList columnInOrder(const RecordSet& list, QStringView column, const QString& sort) {
    auto view = list.clone();
    view->clearFilter();
    if (!sort.isEmpty()) {
        EXPECT_TRUE(view->setSort(sort).ok());
    }
    QStringList values;
    for (int row = 0; row < view->recordCount(); ++row)
        values << view->textAt(row, view->columnIndex(column));
    return values;
}

QStringList codesInOrder(const RecordSet& list) {
    return columnInOrder(list, u"CodConvocatoria", QStringLiteral("Orden ASC"));
}

// The first body (its group fixed by it) offering more positions than the run asks for.
QString roomyBody(const CatalogTables& tables, int vacancies = kVacancies + 5, int resultas = kResultas + 5) {
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

void fillPersonalData(EditorWindow& editor) {
    const std::pair<const char*, const char*> fields[] = {
        {"txtApellido1", "García"},       {"txtApellido2", "Núñez"},    {"txtNombre", "María José"},
        {"txtFecNacimiento", "12031980"}, {"txtTelefono", "954123456"}, {"txtDomicilio", "Calle Mayor, 12"},
        {"txtLocalidad", "Valdeluz"},     {"txtNRP", "1234567890"},
    };
    for (const auto& [name, text] : fields)
        typeInto(&editor, name, QString::fromUtf8(text));
    for (const char* option :
         {"optDiscNo", "optVoluntario", "optPetConyugeNo", "optReingresoNo", "optActivo", "OptNo"})
        control<QRadioButton>(&editor, QString::fromLatin1(option))->click();
    DataComboBox* address = dropDown(&editor, "cboProvincia");
    ASSERT_TRUE(pickFromList(address, *listedCodes(address).begin()));
}

// Picks a position from the drop-down, types its order and accepts it.
void addPosition(EditorWindow& editor, const char* positions, const QString& code, const char* orderBox,
                 const QString& order, const char* accept) {
    ASSERT_TRUE(pickFromList(dropDown(&editor, positions), code)) << code.toStdString();
    typeInto(&editor, orderBox, order);
    press(&editor, accept);
}

// Deletes shown rows from the end until `keep` are left, answering "Sí" each time.
void deleteDownTo(EditorWindow& editor, const char* grid, const char* remove, int keep,
                  QStringList& expected) {
    while (expected.size() > keep) {
        selectGridRow(&editor, grid, int(expected.size()) - 1);
        press(&editor, remove);
        expected.removeLast();
    }
}

struct PrintedList {
    QStringList codes;
    QList<int> orders;
    QList<int> pages;
};

// The V and R barcodes read back: the positions in print order and the page each came on.
std::map<QChar, PrintedList> readLists(const QStringList& barcodes, int headerLength) {
    std::map<QChar, PrintedList> lists;
    static const QRegularExpression row(QStringLiteral("(\\d{4})([ 0-9]{5})"));
    for (const QString& text : barcodes) {
        const QChar kind = text.at(headerLength);
        if (kind == u'P' || !text.endsWith(u'F'))
            continue;
        PrintedList& list = lists[kind];
        list.pages << text.mid(headerLength + 1, 3).toInt();
        const QString data = text.mid(headerLength + 4, text.size() - headerLength - 5);
        EXPECT_EQ(data.size() % 9, 0) << text.toStdString();
        for (int at = 0; at + 9 <= data.size(); at += 9) {
            const auto match = row.match(data.mid(at, 9));
            EXPECT_TRUE(match.hasMatch()) << data.mid(at, 9).toStdString();
            list.orders << match.captured(1).toInt();
            list.codes << match.captured(2).trimmed();
        }
    }
    return lists;
}

QList<int> oneToN(int n) {
    QList<int> orders;
    for (int i = 1; i <= n; ++i)
        orders << i;
    return orders;
}

bool strictlyIncreasing(const QList<int>& values) {
    return std::adjacent_find(values.begin(), values.end(), std::greater_equal<int>()) == values.end();
}

// A new applicant fills a whole application through the editor's controls on the largest
// sample contest (the only one whose bodies offer this many positions), saves it, closes
// the editor, reopens the application and prints it; every printed barcode is read back.
TEST(FullApplicationRun, EnteredSavedReopenedAndPrintedBarcodesMatchTheLists) {
    if (!havePoppler())
        GTEST_SKIP() << "poppler-utils no está instalado";
    EditorFixture f(SampleScale::Large);
    EditorWindow& editor = f.openEditor();
    fillPersonalData(editor);
    const QString body = roomyBody(f.state.tables);
    ASSERT_FALSE(body.isEmpty());
    ASSERT_TRUE(pickFromList(dropDown(&editor, "cboCuerpo"), body));
    ASSERT_EQ(editor.model().value(u"cboCuerpo"), body);
    const QString group = editor.model().value(u"cboGrupo");
    auto* tabs = control<QTabWidget>(&editor, QStringLiteral("tabPrincipal"));
    auto& t = f.state.tables;

    // Vacancies: three placed by hand at chosen orders, the rest appended, one moved.
    tabs->setCurrentIndex(2);
    const QStringList offered = columnInOrder(*dropDown(&editor, "cboPuestoVacante")->boundSet(),
                                              u"CodConvocatoria", QStringLiteral("CodConvocatoria ASC"));
    addPosition(editor, "cboPuestoVacante", offered[10], "txtOrdenVacante", QString(), "cmdAceptarVacante");
    addPosition(editor, "cboPuestoVacante", offered[20], "txtOrdenVacante", "1", "cmdAceptarVacante");
    typeInto(&editor, "txtDemPlaza", QStringLiteral("Distrito Norte"));
    addPosition(editor, "cboPuestoVacante", offered[30], "txtOrdenVacante", "2", "cmdAceptarVacante");
    QStringList vacancies = {offered[20], offered[30], offered[10]};
    EXPECT_EQ(codesInOrder(t.vacancyList), vacancies);
    press(&editor, "cmdTodasVacantes");
    for (const QString& code : offered)
        if (!vacancies.contains(code))
            vacancies << code;
    EXPECT_EQ(codesInOrder(t.vacancyList), vacancies);
    selectGridRow(&editor, "grdVacantes", 1);
    press(&editor, "cmdDelVacante");
    vacancies.removeAt(1);
    deleteDownTo(editor, "grdVacantes", "cmdDelVacante", kVacancies, vacancies);
    selectGridRow(&editor, "grdVacantes", 0);
    press(&editor, "cmdUpdateVacante");
    typeInto(&editor, "txtOrdenVacante", QStringLiteral("3"));
    press(&editor, "cmdAceptarVacante");
    vacancies.move(0, 2);
    ASSERT_EQ(codesInOrder(t.vacancyList), vacancies);

    // Resultas: one by its typed code, then all the others, then down to fifty.
    tabs->setCurrentIndex(3);
    const QStringList offeredResultas =
        columnInOrder(*dropDown(&editor, "cboPuestoResultas")->boundSet(), u"CodConvocatoria", QString());
    const QString typed = offeredResultas[5];
    typeInto(&editor, "txtCodResulta", typed, "cboPuestoResultas");
    EXPECT_EQ(dropDown(&editor, "cboPuestoResultas")->value(), typed);
    press(&editor, "cmdAceptarResultas");
    press(&editor, "cmdInsertaTodasResultas");
    // The others follow in the order the drop-down lists them.
    QStringList resultas = {typed};
    for (const QString& code : offeredResultas)
        if (code != typed)
            resultas << code;
    EXPECT_EQ(codesInOrder(t.resultasList), resultas);
    deleteDownTo(editor, "grdResultas", "cmdDelResultas", kResultas, resultas);

    tabs->setCurrentIndex(1);
    QStringList courses;
    for (int i = 0; i < kCourses; ++i) {
        courses << QStringLiteral("Curso de formación %1").arg(i + 1);
        press(&editor, "cmdAdd");
        typeInto(&editor, "txtCurso", courses.last());
        typeInto(&editor, "txtHoras", QString::number(10 + i));
        typeInto(&editor, "txtAno", QString::number(1980 + i));
        typeInto(&editor, "txtCentro", QStringLiteral("Escuela de Salud Pública"));
        press(&editor, "cmdAceptar");
    }
    tabs->setCurrentIndex(4);
    QStringList documents;
    for (int i = 0; i < kDocuments; ++i) {
        documents << QStringLiteral("Certificado nº %1").arg(i + 1);
        press(&editor, "cmdAddDoc");
        typeInto(&editor, "txtDoc", documents.last());
        typeInto(&editor, "txtFechaFin", QStringLiteral("30/06/2020"));
        press(&editor, "cmdAceptarDoc");
    }
    EXPECT_EQ(columnInOrder(t.coursesList, u"Curso", QString()), courses);
    EXPECT_EQ(columnInOrder(t.documentsList, u"Documento", QString()), documents);
    const int deletions = (offered.size() - kVacancies) + (offeredResultas.size() - kResultas);
    ASSERT_EQ(int(f.messages.messages.size()), deletions) << f.messages.texts().join(u'|').toStdString();
    for (const auto& message : f.messages.messages) {
        EXPECT_EQ(message.text, "¿Desea borrar la fila seleccionada?");
        EXPECT_EQ(message.title, "Solicitudes");
        EXPECT_EQ(message.icon, MessageIcon::Exclamation);
        EXPECT_EQ(message.buttons, MessageButtons::YesNo);
    }
    f.messages.messages.clear();

    f.whenModal(QStringLiteral("frmCreaPwd"), [](QWidget* w) {
        QTest::keyClicks(control<QLineEdit>(w, QStringLiteral("txtPwd(0)")), QStringLiteral("secreto"));
        QTest::keyClicks(control<QLineEdit>(w, QStringLiteral("txtPwd(1)")), QStringLiteral("secreto"));
        QTest::mouseClick(control<QWidget>(w, QStringLiteral("cmdAceptar")), Qt::LeftButton);
    });
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
    EXPECT_EQ(columnInOrder(t.coursesList, u"Curso", QString()), courses);
    EXPECT_EQ(columnInOrder(t.documentsList, u"Documento", QString()), documents);
    EXPECT_EQ(control<DataGrid>(&reopened, QStringLiteral("grdVacantes"))->model()->rowCount(), kVacancies);
    EXPECT_EQ(control<DataGrid>(&reopened, QStringLiteral("grdCursos"))->model()->rowCount(), kCourses);

    f.messages.messages.clear();
    reopened.menuEntry(MenuEntry::Print)->trigger();
    settle();
    const QString pdf = QDir(f.dir.path()).filePath(QStringLiteral("impreso.pdf"));
    ASSERT_TRUE(QFile::exists(pdf));
    EXPECT_EQ(f.messages.texts(), QStringList({QStringLiteral(
                                      "IMPORTANTE: Espere unos momentos, se está imprimiendo la solicitud. "
                                      "Cuando estén todas las hojas impresas, pulse el botón Aceptar.")}));
    const Result<QStringList> barcodes = readPdf417Pdf(pdf);
    ASSERT_TRUE(barcodes.ok());
    const int headerLength = int(ClaveCodigoBarras(dni, body, group).size()) + 18;
    ASSERT_FALSE(barcodes.value().isEmpty());
    EXPECT_EQ(barcodes.value().first().mid(headerLength, 4), "P001");
    const auto printed = readLists(barcodes.value(), headerLength);
    ASSERT_EQ(printed.count(u'V'), 1u);
    ASSERT_EQ(printed.count(u'R'), 1u);
    const PrintedList& v = printed.at(u'V');
    const PrintedList& r = printed.at(u'R');
    EXPECT_EQ(v.codes, vacancies);
    EXPECT_EQ(v.orders, oneToN(kVacancies));
    EXPECT_EQ(r.codes, resultas);
    EXPECT_EQ(r.orders, oneToN(kResultas));
    EXPECT_TRUE(strictlyIncreasing(v.pages + r.pages)) << "one barcode per list page, pages in order";
    EXPECT_GT(v.pages.first(), 1);
}

// Row of `code` in the list of `box` (its current view).
int listRow(const DataComboBox* box, const QString& code) {
    for (int row = 0; row < box->listModel()->rowCount(); ++row)
        if (box->listModel()->text(row, box->keyColumn()) == code)
            return row;
    return -1;
}

// The whole application without the mouse: every step is a key pressed where the focus is
// (the window system only hands the keyboard back to the editor when a list has closed).
TEST(FullApplicationRun, KeyboardOnlyFromSignInToThePrintout) {
    EditorFixture f;
    const QString dni = QString::fromLatin1(EditorFixture::kDni);
    ProgramController controller(f.dir.path(), f.messages, f.clock);
    controller.setOpenWithDesktop(false);
    f.whenModal(QStringLiteral("frmUsuario"), [&](QWidget*) {
        typeKeys(dni); // the ninth character moves on to the accept button
        EXPECT_EQ(focusName(), "cmdAceptarDNI");
        f.whenModal(QStringLiteral("frmProgreso"), [](QWidget* w) {
            EXPECT_TRUE(QTest::qWaitFor([w] { return control<QWidget>(w, "cmdContinuar")->isEnabled(); }));
            EXPECT_EQ(focusName(), "cmdContinuar");
            pressKey(Qt::Key_Return);
        });
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
    EXPECT_FALSE(editor.model().text(u"txtCP").isEmpty());
    for (const char* option : {"optDiscNo", "optVoluntario", "optPetConyugeNo"}) {
        ASSERT_TRUE(tabTo(QLatin1String(option)));
        pressKey(Qt::Key_Space);
    }
    ASSERT_TRUE(tabTo(QStringLiteral("cboCuerpo")));
    DataComboBox* bodies = dropDown(&editor, "cboCuerpo");
    const QString body = roomyBody(controller.state().tables, 3, 1);
    ASSERT_FALSE(body.isEmpty());
    pressKey(Qt::Key_Down, Qt::AltModifier);
    pressKey(Qt::Key_Home, Qt::ControlModifier);
    for (int row = listRow(bodies, body); row > 0; --row)
        pressKey(Qt::Key_Down);
    pressKey(Qt::Key_Return);
    activate(&editor);
    ASSERT_EQ(editor.model().value(u"cboCuerpo"), body);
    for (const char* option : {"optActivo", "OptNo"}) {
        ASSERT_TRUE(tabTo(QLatin1String(option)));
        pressKey(Qt::Key_Space);
    }
    for (const char* option :
         {"optDiscNo", "optVoluntario", "optPetConyugeNo", "optReingresoNo", "optActivo", "OptNo"})
        EXPECT_TRUE(control<QRadioButton>(&editor, QLatin1String(option))->isChecked()) << option;

    // Vacancies: one by its typed code, then all the others; the arrow keys pick grid rows.
    ASSERT_TRUE(tabTo(QStringLiteral("qt_tabwidget_tabbar")));
    pressKey(Qt::Key_Right);
    pressKey(Qt::Key_Right);
    auto& lists = controller.state().tables;
    const QStringList offered = columnInOrder(*dropDown(&editor, "cboPuestoVacante")->boundSet(),
                                              u"CodConvocatoria", QStringLiteral("CodConvocatoria ASC"));
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
    EXPECT_EQ(columnInOrder(lists.coursesList, u"Curso", QString()), QStringList{"Soporte vital avanzado"});
    EXPECT_EQ(columnInOrder(lists.documentsList, u"Documento", QString()),
              QStringList{"Certificado de servicios"});

    // Alt+G saves; a new user sets a password first. Alt+I prints.
    f.whenModal(QStringLiteral("frmCreaPwd"), [](QWidget*) {
        typeKeys(QStringLiteral("secreto"));
        pressKey(Qt::Key_Tab);
        typeKeys(QStringLiteral("secreto"));
        pressKey(Qt::Key_Return);
    });
    pressKey(Qt::Key_G, Qt::AltModifier);
    EXPECT_TRUE(controller.users().ExisteUsuario(dni));
    const QString fileName = applicationFileName(dni, body, editor.model().value(u"cboGrupo"), f.messages);
    EXPECT_TRUE(QFile::exists(f.applicationsFile(fileName))) << fileName.toStdString();
    EXPECT_TRUE(f.messages.messages.empty()) << f.messages.texts().join(u'|').toStdString();
    pressKey(Qt::Key_I, Qt::AltModifier);
    EXPECT_TRUE(QFile::exists(pdf));
    ASSERT_EQ(f.messages.messages.size(), 1u);
    EXPECT_TRUE(f.messages.messages[0].text.startsWith(QStringLiteral("IMPORTANTE")));
}

} // namespace
} // namespace velmora::test
