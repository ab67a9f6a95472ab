#include "office/ApplicationAssembler.h"
#include "office/ApplicationReadChecks.h"
#include "office/ContestRules.h"
#include "office/OfficeOutcomeCollector.h"
#include "printing/BarcodeText.h"

#include <gtest/gtest.h>

using namespace velmora;

namespace {

// A print of one application as barcode texts: the first page, then vacancy and resultas
// pages from page 3 on (a courses sheet without barcode sits on page 2).
struct Print {
    QString dni = u"12345678Z"_s;
    QDateTime at{QDate(2024, 3, 5), QTime(14, 5, 9)};

    QString header() const { return barcodeHeader(ClaveCodigoBarras(dni, u"10010"_s, u"A2"_s), at); }
    QString firstPage() const {
        QStringList fields(37);
        fields[0] = u"N"_s;
        fields[1] = u"Mu&noz"_s;
        fields[3] = u"Mar&ia"_s;
        fields[4] = dni;
        fields[5] = u"19800312"_s;
        fields[19] = u"10010"_s;
        fields[20] = u"A2"_s;
        return barcodeText(header(), BarcodeKind::FirstPage, 1,
                           fields.join(QLatin1Char('|')) + QLatin1Char('|'));
    }
    // Orders `first`..`last`, codes 20000 + order.
    QString listPage(BarcodeKind kind, int page, int first, int last) const {
        QString data;
        for (int order = first; order <= last; ++order)
            data += QString::number(order).rightJustified(4, u'0') +
                    QString::number(20000 + order).rightJustified(5, u' ');
        return barcodeText(header(), kind, page, data);
    }
};

// Barcode texts fed to one assembler as scanned from "lote.pdf"; `a` is the usual print.
class ApplicationAssemblerTest : public ::testing::Test {
protected:
    void add(const QString& text, int scanPage) {
        Result<ScannedBarcode> b = parseScannedBarcode(text);
        ASSERT_TRUE(b.ok());
        assembler.add(PageOrigin{u"lote.pdf"_s, scanPage}, b.value());
    }
    std::vector<OfficeApplication> run() const { return assembler.assemble(); }

    Print a;
    ApplicationAssembler assembler;
};

class FakeContest : public ContestRules {
public:
    bool knowsBody(const QString& body) const override { return body == QLatin1String("10010"); }
    bool knowsGroup(const QString& group) const override { return group == QLatin1String("A2"); }
    bool offersVacancy(const QString&, const QString& code) const override {
        return code != QLatin1String("20002");
    }
    bool offersResultas(const QString&, const QString&) const override { return true; }
};

QStringList problemsOf(const OfficeApplication& a) {
    QStringList names;
    for (const OfficeProblem& p : a.problems)
        names << p.problem + u": "_s + p.detail;
    return names;
}

} // namespace

TEST_F(ApplicationAssemblerTest, ShuffledPagesOfTwoPrintsMakeTwoCompleteApplications) {
    Print b{.dni = u"00000001R"_s};
    add(b.listPage(BarcodeKind::Resultas, 4, 1, 2), 1);
    add(a.listPage(BarcodeKind::Vacancies, 4, 41, 45), 2);
    add(a.firstPage(), 3);
    add(b.firstPage(), 4);
    add(a.listPage(BarcodeKind::Resultas, 5, 1, 3), 5);
    add(a.listPage(BarcodeKind::Vacancies, 3, 1, 40), 6);
    add(b.listPage(BarcodeKind::Vacancies, 3, 1, 1), 7);

    const std::vector<OfficeApplication> apps = run();
    ASSERT_EQ(apps.size(), 2u);
    EXPECT_EQ(apps[0].id, u"00000001R_10010A2"_s);
    const OfficeApplication& second = apps[1];
    EXPECT_EQ(second.id, u"12345678Z_10010A2"_s);
    EXPECT_TRUE(second.complete()) << problemsOf(second).join(u'\n').toStdString();
    EXPECT_EQ(second.status(), u"Completa"_s);
    ASSERT_EQ(second.vacancies.size(), 45u);
    EXPECT_EQ(second.vacancies[44], (RequestedPosition{45, u"20045"_s, 4}));
    EXPECT_EQ(second.resultas.size(), 3u);
    EXPECT_EQ((QStringList{second.fields[1], second.fields[3], second.fields[5], second.foldedFields[1],
                           second.printDate}),
              (QStringList{u"Muñoz"_s, u"María"_s, u"12/03/1980"_s, u"Mu&noz"_s, u"05/03/2024"_s}));
    EXPECT_EQ(second.pages.size(), 4u);
}

TEST_F(ApplicationAssemblerTest, NamesEveryBrokenPrint) {
    // No first page; page 4 dropped; page 3 scanned twice; page 6 cut; orders jump; code twice.
    add(a.listPage(BarcodeKind::Vacancies, 3, 1, 10), 1);
    add(a.listPage(BarcodeKind::Vacancies, 3, 1, 10), 2);
    add(a.listPage(BarcodeKind::Vacancies, 5, 21, 30), 3);
    add(a.listPage(BarcodeKind::Resultas, 6, 1, 2).chopped(1), 4);
    QString twice = a.listPage(BarcodeKind::Resultas, 7, 3, 4);
    twice.replace(u"20004"_s, u"20001"_s);
    add(twice, 5);

    const std::vector<OfficeApplication> apps = run();
    ASSERT_EQ(apps.size(), 1u);
    const QStringList problems = problemsOf(apps[0]);
    EXPECT_EQ(
        problems,
        (QStringList{
            QStringLiteral(
                "Página repetida: página 3 (vacantes) leída en lote.pdf, página 1 y en lote.pdf, página 2"),
            QStringLiteral(
                "Código de barras cortado: página 6 (resultas) en lote.pdf, página 4: falta la «F» final"),
            QStringLiteral(
                "Falta la primera página: no se ha leído la página 1 con los datos del solicitante"),
            u"Falta una página: falta la página 4, de la lista de vacantes"_s,
            u"Orden no correlativo: vacantes: se esperaba el orden 11 y se lee 21 (página 5)"_s,
            QStringLiteral(
                "Plaza repetida: resultas: el código 20001 está en los órdenes 1 (página 6) y 4 (página 7)"),
        }));
    EXPECT_EQ(apps[0].status(), u"Con incidencias"_s);
    for (const OfficeProblem& p : apps[0].problems)
        EXPECT_EQ(p.where, u"12345678Z_10010A2"_s);
}

TEST_F(ApplicationAssemblerTest, PagesOutOfSequenceAreProblemsOfTheirApplication) {
    Print misread{.dni = u"12345673Z"_s};
    add(a.firstPage(), 1);
    add(a.listPage(BarcodeKind::Vacancies, 4, 1, 2), 2);
    add(a.listPage(BarcodeKind::Resultas, 3, 1, 2), 3);
    add(misread.listPage(BarcodeKind::Vacancies, 5, 3, 4), 4);
    // A later print of the same application whose list page carries the first page's number.
    Print later{.at = QDateTime(QDate(2024, 3, 5), QTime(15, 0, 0))};
    add(later.firstPage(), 5);
    add(later.listPage(BarcodeKind::Vacancies, 1, 1, 2), 6);
    // A code shorter than its five places reaches the barcode right-aligned, and comes back bare.
    add(barcodeText(later.header(), BarcodeKind::Vacancies, 3, u"0003  123"_s), 7);
    const std::vector<OfficeApplication> apps = run();
    ASSERT_EQ(apps.size(), 3u);
    EXPECT_TRUE(problemsOf(apps[2]).contains(QStringLiteral(
        "Página fuera de secuencia: una página de plazas lleva el número 1, que es el de la primera página")))
        << problemsOf(apps[2]).join(u'|').toStdString();
    ASSERT_EQ(apps[2].vacancies.size(), 3u);
    EXPECT_EQ(apps[2].vacancies[2].code, u"123"_s);
    EXPECT_TRUE(problemsOf(apps[1]).contains(QStringLiteral(
        "Página fuera de secuencia: la página 3 de resultas va antes de la página 4 de vacantes")));
    EXPECT_TRUE(
        problemsOf(apps[1]).contains(QStringLiteral("Clave distinta: hay páginas impresas el 05/03/2024 a "
                                                    "las 14:05:09 con la clave «12345673Z10010A2»")));
    EXPECT_TRUE(
        problemsOf(apps[0]).contains(QStringLiteral("Clave distinta: hay páginas impresas el 05/03/2024 a "
                                                    "las 14:05:09 con la clave «12345678Z10010A2»")));
}

TEST_F(ApplicationAssemblerTest, NamesTheMissingPageBeforeAListsFirstPageRead) {
    // Pages 3 (vacancies 1-40) and 5 (resultas 1-40) lost; page 2 is the courses sheet.
    add(a.firstPage(), 1);
    add(a.listPage(BarcodeKind::Vacancies, 4, 41, 80), 2);
    add(a.listPage(BarcodeKind::Resultas, 6, 41, 42), 3);
    EXPECT_EQ(problemsOf(run().at(0)),
              (QStringList{
                  u"Falta una página: falta la página 3, de la lista de vacantes"_s,
                  u"Falta una página: falta la página 5, de la lista de resultas"_s,
                  u"Orden no correlativo: vacantes: se esperaba el orden 1 y se lee 41 (página 4)"_s,
                  u"Orden no correlativo: resultas: se esperaba el orden 1 y se lee 41 (página 6)"_s,
              }));
}

TEST_F(ApplicationAssemblerTest, ChecksAgainstTheContest) {
    FakeContest contest;
    Print wrongLetter{.dni = u"12345678A"_s};
    ApplicationAssembler checked(&contest);
    checked.add(PageOrigin{u"a.png"_s, 1}, parseScannedBarcode(wrongLetter.firstPage()).value());
    checked.add(PageOrigin{u"b.png"_s, 1},
                parseScannedBarcode(wrongLetter.listPage(BarcodeKind::Vacancies, 2, 1, 3)).value());
    const std::vector<OfficeApplication> apps = checked.assemble();
    ASSERT_EQ(apps.size(), 1u);
    EXPECT_EQ(problemsOf(apps[0]),
              (QStringList{u"DNI no válido: la letra no corresponde al número: 12345678A"_s,
                           QStringLiteral(
                               "Plaza no ofertada al cuerpo: vacantes: código 20002 (orden 2, página 2)")}));

    EXPECT_TRUE(dniLetterIsRight(u"12345678Z"_s));
    EXPECT_TRUE(dniLetterIsRight(u"1R"_s)) << "padded with zeros as the program does";
    EXPECT_FALSE(dniLetterIsRight(u"X1234567L"_s));
}

TEST_F(ApplicationAssemblerTest, RequiredFirstPageFields) {
    QString record = a.firstPage();
    record.replace(u"|Mar&ia|"_s, u"||"_s);
    add(record, 1);
    const QStringList problems = problemsOf(run().at(0));
    EXPECT_EQ(problems,
              (QStringList{u"Sin plazas: no se ha leído ninguna página de vacantes ni de resultas"_s,
                           u"Falta un dato obligatorio: nombre (página 1)"_s}));
}

// The form has room for one courses page (no barcode by design) before a list on page 3: a
// sheet more there is not taken for it, nor is the courses page then.
TEST(OfficeOutcomeCollector, PagesWithoutBarcodeBeyondTheFormsRoomAreCounted) {
    const Print a;
    const QStringList pages{a.firstPage(), {}, {}, a.listPage(BarcodeKind::Vacancies, 3, 1, 3)};
    OfficeOutcomeCollector collector;
    for (int i = 0; i < pages.size(); ++i)
        collector.add({PageOrigin{u"lote.pdf"_s, i + 1},
                       pages[i].isEmpty() ? QStringList() : QStringList{pages[i]},
                       {}});
    EXPECT_EQ(collector.finish(1, false).pagesWithoutBarcode, 2);
}
