#include "applications/ApplicationFiles.h"
#include "catalog/PositionLookup.h"
#include "printing/BarcodeReader.h"
#include "printing/BarcodeText.h"
#include "support/PdfTools.h"
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
    const QString group = editor.model().value(u"cboGrupo");
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

} // namespace
} // namespace velmora::test
