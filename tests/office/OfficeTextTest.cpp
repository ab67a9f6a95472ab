#include "office/PrintRecordFields.h"
#include "office/ScannedBarcode.h"
#include "office/Unfolding.h"
#include "printing/BarcodeText.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

const QDateTime kPrinted(QDate(2024, 3, 5), QTime(14, 5, 9));

// A whole print record: every field followed by "|", `last` in the last field.
QString recordEndingWith(const QString& last) {
    QStringList fields(kPrintRecordFieldCount, QStringLiteral("x"));
    fields.back() = last;
    return fields.join(QLatin1Char('|')) + QLatin1Char('|');
}

TEST(OfficeBarcodeTextTest, ReadsBackWhatPrintingBuilds) {
    const QString header = barcodeHeader(
        ClaveCodigoBarras(QStringLiteral("1234Z"), QStringLiteral("10"), QStringLiteral("A2")), kPrinted);
    Result<ScannedBarcode> v = parseScannedBarcode(
        barcodeText(header, BarcodeKind::Vacancies, 7, QStringLiteral("0001  1230002456F8")));
    ASSERT_TRUE(v.ok());
    EXPECT_EQ(v->dni, QStringLiteral("1234Z"));
    EXPECT_EQ(v->body, QStringLiteral("00010"));
    EXPECT_EQ(v->group, QStringLiteral("A2"));
    EXPECT_EQ(v->date, QStringLiteral("05/03/2024"));
    EXPECT_EQ(v->time, QStringLiteral("14:05:09"));
    EXPECT_EQ(v->kind, BarcodeKind::Vacancies);
    EXPECT_EQ(v->page, 7);
    EXPECT_EQ(v->data, QStringLiteral("0001  1230002456F8"));
    EXPECT_FALSE(v->cut);

    // A first page always says 001, and its record keeps a "|" typed inside a field.
    const QString record = recordEndingWith(QStringLiteral("Gil|Ruiz"));
    Result<ScannedBarcode> p = parseScannedBarcode(barcodeText(header, BarcodeKind::FirstPage, 3, record));
    ASSERT_TRUE(p.ok());
    EXPECT_EQ(p->page, 1);
    EXPECT_EQ(p->data, record);
    EXPECT_FALSE(p->cut);
    EXPECT_EQ(p->printId(), v->printId());
}

TEST(OfficeBarcodeTextTest, CutAndForeignTexts) {
    const QString header = barcodeHeader(
        ClaveCodigoBarras(QStringLiteral("12345678Z"), QStringLiteral("10010"), QStringLiteral("A")),
        kPrinted);
    const QString whole = barcodeText(header, BarcodeKind::Resultas, 4, QStringLiteral("0001  1230002  45F"));
    EXPECT_FALSE(parseScannedBarcode(whole)->cut);
    EXPECT_TRUE(parseScannedBarcode(whole.chopped(1))->cut);
    // Cut right after a code ending in F: the rows no longer fill whole 9-character slots.
    EXPECT_TRUE(parseScannedBarcode(whole.chopped(2))->cut);
    // A record whose last field is "F", cut before its last separator, still ends in "|F".
    const QString record =
        barcodeText(header, BarcodeKind::FirstPage, 1, recordEndingWith(QStringLiteral("F")));
    EXPECT_FALSE(parseScannedBarcode(record)->cut);
    EXPECT_TRUE(parseScannedBarcode(record.chopped(2))->cut) << "a whole record has all its separators";
    EXPECT_TRUE(parseScannedBarcode(record.chopped(1))->cut);

    EXPECT_FALSE(parseScannedBarcode(QStringLiteral("https://example.org/factura/2024")).ok());
    EXPECT_FALSE(parseScannedBarcode(QStringLiteral("123405/03/202414:05:09V002F")).ok()) << "key too short";
    EXPECT_FALSE(parseScannedBarcode(QString()).ok());
}

TEST(OfficeBarcodeTextTest, UnfoldingGivesBackAcuteVowelsAndEnye) {
    const QString typed = QStringLiteral("Muñoz & Peña, Íñigo Güell, ¿Pérez? NIÑO Perú");
    // Diaeresis comes back acute; "&", "¿" and "?" were blanks already.
    EXPECT_EQ(unfoldBarcodeText(foldBarcodeText(typed)),
              QStringLiteral("Muñoz   Peña, Íñigo Gúell,  Pérez  NIÑO Perú"));
    EXPECT_EQ(unfoldBarcodeText(QStringLiteral("a&x&")), QStringLiteral("a&x&")) << "nothing folded there";
}

TEST(OfficeBarcodeTextTest, PrintRecordSplitsIntoItsNamedFields) {
    QStringList folded;
    for (int i = 1; i <= kPrintRecordFieldCount; ++i)
        folded << QStringLiteral("c%1").arg(i);
    folded[1] = QStringLiteral("Mu&noz");
    folded[5] = QStringLiteral("19800312");
    folded[22] = QStringLiteral("00000000");
    int pieces = 0;
    const QStringList split = splitPrintRecord(folded.join(QLatin1Char('|')) + QLatin1Char('|'), &pieces);
    EXPECT_EQ(pieces, 37);
    EXPECT_EQ(split, folded);
    const QStringList readable = readablePrintRecord(split);
    EXPECT_EQ(readable[1], QStringLiteral("Muñoz"));
    EXPECT_EQ(readable[5], QStringLiteral("12/03/1980"));
    EXPECT_EQ(readable[22], QString());
    EXPECT_EQ(printRecordFieldNames()[record::Body - 1], QStringLiteral("Cuerpo"));

    EXPECT_EQ(splitPrintRecord(QStringLiteral("S|a|"), &pieces).size(), 37);
    EXPECT_EQ(pieces, 2);

    // A "|" typed into the last fields: the extra pieces go back into the last one.
    const QStringList typed =
        splitPrintRecord(folded.join(QLatin1Char('|')) + QStringLiteral("|x|y|"), &pieces);
    EXPECT_EQ(pieces, 39);
    ASSERT_EQ(typed.size(), 37);
    EXPECT_EQ(typed.back(), QStringLiteral("c37|x|y"));
    EXPECT_EQ(typed[35], QStringLiteral("c36"));
}

} // namespace
} // namespace velmora
