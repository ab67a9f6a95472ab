#include "office/PrintRecordFields.h"
#include "office/ScannedBarcode.h"
#include "office/Unfolding.h"
#include "printing/BarcodeText.h"

#include <gtest/gtest.h>

using namespace velmora;

namespace {

const QDateTime kPrinted(QDate(2024, 3, 5), QTime(14, 5, 9));

// A whole print record: every field followed by "|", `last` in the last field.
QString recordEndingWith(const QString& last) {
    QStringList fields(kPrintRecordFieldCount, u"x"_s);
    fields.back() = last;
    return fields.join(QLatin1Char('|')) + QLatin1Char('|');
}

} // namespace

TEST(OfficeBarcodeTextTest, ReadsBackWhatPrintingBuilds) {
    const QString header = barcodeHeader(ClaveCodigoBarras(u"1234Z"_s, u"10"_s, u"A2"_s), kPrinted);
    Result<ScannedBarcode> v =
        parseScannedBarcode(barcodeText(header, BarcodeKind::Vacancies, 7, u"0001  1230002456F8"_s));
    ASSERT_TRUE(v.ok());
    EXPECT_EQ((QStringList{v->dni, v->body, v->group, v->date, v->time, QString::number(v->page), v->data}),
              (QStringList{u"1234Z"_s, u"00010"_s, u"A2"_s, u"05/03/2024"_s, u"14:05:09"_s, u"7"_s,
                           u"0001  1230002456F8"_s}));
    EXPECT_TRUE(v->kind == BarcodeKind::Vacancies && !v->cut);

    // A first page always says 001, and its record keeps a "|" typed inside a field.
    const QString record = recordEndingWith(u"Gil|Ruiz"_s);
    Result<ScannedBarcode> p = parseScannedBarcode(barcodeText(header, BarcodeKind::FirstPage, 3, record));
    ASSERT_TRUE(p.ok());
    EXPECT_EQ(p->page, 1);
    EXPECT_EQ(p->data, record);
    EXPECT_FALSE(p->cut);
    EXPECT_EQ(p->printId(), v->printId());
}

TEST(OfficeBarcodeTextTest, CutOrForeignTextsAreRecognised) {
    const QString header = barcodeHeader(ClaveCodigoBarras(u"12345678Z"_s, u"10010"_s, u"A"_s), kPrinted);
    const QString whole = barcodeText(header, BarcodeKind::Resultas, 4, u"0001  1230002  45F"_s);
    EXPECT_FALSE(parseScannedBarcode(whole)->cut);
    EXPECT_TRUE(parseScannedBarcode(whole.chopped(1))->cut);
    // Cut right after a code ending in F: the rows no longer fill whole 9-character slots.
    EXPECT_TRUE(parseScannedBarcode(whole.chopped(2))->cut);
    // A record whose last field is "F", cut before its last separator, still ends in "|F".
    const QString record = barcodeText(header, BarcodeKind::FirstPage, 1, recordEndingWith(u"F"_s));
    EXPECT_FALSE(parseScannedBarcode(record)->cut);
    EXPECT_TRUE(parseScannedBarcode(record.chopped(2))->cut) << "a whole record has all its separators";
    EXPECT_TRUE(parseScannedBarcode(record.chopped(1))->cut);

    EXPECT_FALSE(parseScannedBarcode(u"https://example.org/factura/2024"_s).ok());
    EXPECT_FALSE(parseScannedBarcode(u"123405/03/202414:05:09V002F"_s).ok()) << "key too short";
    EXPECT_FALSE(parseScannedBarcode(QString()).ok());
}

TEST(OfficeBarcodeTextTest, UnfoldingGivesBackAccentedLetters) {
    const QString typed = u"Muñoz & Peña, Íñigo Güell, ¿Pérez? NIÑO Perú"_s;
    // Diaeresis comes back acute; "&", "¿" and "?" were blanks already.
    EXPECT_EQ(unfoldBarcodeText(foldBarcodeText(typed)), u"Muñoz   Peña, Íñigo Gúell,  Pérez  NIÑO Perú"_s);
    EXPECT_EQ(unfoldBarcodeText(u"a&x&"_s), u"a&x&"_s) << "nothing folded there";
}

TEST(OfficeBarcodeTextTest, PrintRecordSplitsIntoItsNamedFields) {
    QStringList folded;
    for (int i = 1; i <= kPrintRecordFieldCount; ++i)
        folded << u"c%1"_s.arg(i);
    folded[1] = u"Mu&noz"_s;
    folded[5] = u"19800312"_s;
    folded[22] = u"00000000"_s;
    int pieces = 0;
    const QStringList split = splitPrintRecord(folded.join(QLatin1Char('|')) + QLatin1Char('|'), &pieces);
    EXPECT_EQ(pieces, 37);
    EXPECT_EQ(split, folded);
    const QStringList readable = readablePrintRecord(split);
    EXPECT_EQ((QStringList{readable[1], readable[5], readable[22]}),
              (QStringList{u"Muñoz"_s, u"12/03/1980"_s, QString()}));
    EXPECT_EQ(printRecordFieldNames()[record::Body - 1], u"Cuerpo"_s);

    EXPECT_EQ(splitPrintRecord(u"S|a|"_s, &pieces).size(), 37);
    EXPECT_EQ(pieces, 2);

    // A "|" typed into the last fields: the extra pieces go back into the last one.
    const QStringList typed = splitPrintRecord(folded.join(QLatin1Char('|')) + u"|x|y|"_s, &pieces);
    EXPECT_EQ(pieces, 39);
    ASSERT_EQ(typed.size(), 37);
    EXPECT_EQ(typed.back(), u"c37|x|y"_s);
    EXPECT_EQ(typed[35], u"c36"_s);
}
