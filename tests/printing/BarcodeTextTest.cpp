#include "printing/BarcodeText.h"

#include "editor/ApplicationListTables.h"
#include "platform/data/RecordSet.h"

#include <gtest/gtest.h>

using namespace velmora;

TEST(BarcodeTextTest, KeyPadsItsPartsWithoutEverCutting) {
    EXPECT_EQ(ClaveCodigoBarras("12345678Z", "12341", "1"), "12345678Z123411");
    EXPECT_EQ(ClaveCodigoBarras("1234", "12", "A"), "1234     00012A");
    // A long body code keeps its last 5 characters; a long group or DNI stays whole.
    EXPECT_EQ(ClaveCodigoBarras("12345678Z", "0012341", "A1"), "12345678Z12341A1");
    EXPECT_EQ(ClaveCodigoBarras("X12345678Z", "1", "2"), "X12345678Z000012");
    EXPECT_EQ(ClaveCodigoBarras("", "", ""), QString(9, u' ') + "00000 ");
}

TEST(BarcodeTextTest, TextFollowsTheFixedFieldOrder) {
    const QString header = barcodeHeader(u"12345678Z123411"_s, QDateTime(QDate(2026, 3, 5), QTime(4, 5, 9)));
    EXPECT_EQ(header, "12345678Z12341105/03/202604:05:09");
    EXPECT_EQ(barcodeText(header, BarcodeKind::FirstPage, 5, "N|PEREZ|"), header + "P001N|PEREZ|F");

    EXPECT_EQ(barcodeText(header, BarcodeKind::Vacancies, 7, "0001  123"), header + "V0070001  123F");
    EXPECT_EQ(barcodeText(header, BarcodeKind::Resultas, 12, ""), header + "R012F");
    EXPECT_EQ(barcodeText(header, BarcodeKind::Resultas, 1234, ""), header + "R1234F");
}

// Each list row travels as its order (4 digits) and its position code (5 places, right-aligned).
TEST(BarcodeTextTest, ListRowsBecomePaddedOrderWithCode) {
    RecordSet list;
    ASSERT_TRUE(createVacancyList(list).ok());
    QStringList rows;
    for (const auto& [order, code] : {std::pair{1, "123"}, {2, "45678"}, {10000, "1"}}) {
        ASSERT_TRUE(list.addNew().ok());
        ASSERT_TRUE(list.setValue(u"Orden", order).ok());
        ASSERT_TRUE(list.setValue(u"CodConvocatoria", QString::fromLatin1(code)).ok());
        rows << listRowBarcodeData(list).value();
    }
    EXPECT_EQ(rows, (QStringList{u"0001  123"_s, u"000245678"_s, u"10000    1"_s}));

    RecordSet courses;
    ASSERT_TRUE(createCoursesList(courses).ok());
    ASSERT_TRUE(courses.addNew().ok());
    EXPECT_FALSE(listRowBarcodeData(courses).ok()) << "a list without order and position code";
}

TEST(BarcodeTextTest, FoldingTurnsAccentsIntoAmpersandLetters) {
    // An ampersand between two surnames becomes a blank; every ñ becomes "&n".
    EXPECT_EQ(foldBarcodeText("Muñoz & Ñúñez"), "Mu&noz   &N&u&nez");
    // Opening and closing marks become blanks; í becomes "&i".
    EXPECT_EQ(foldBarcodeText("¿Sí? ¡Vale!"), " S&i   Vale ");
    // Ordinal signs and the middle dot become full stops, the double quote an apostrophe.
    EXPECT_EQ(foldBarcodeText("3º B, 1ª planta, l·l, \"CHUS\""), "3. B, 1. planta, l.l, 'CHUS'");
    EXPECT_EQ(foldBarcodeText("Çç"), "Cc");
    // "&" turns into a blank before any letter is folded into "&": order matters.
    EXPECT_EQ(foldBarcodeText("&ñ&"), " &n ");
}

TEST(BarcodeTextTest, FoldingTouchesOnlyTheCharactersItFolds) {
    EXPECT_EQ(foldBarcodeText("äëïöü ÄËÏÖÜ âêîôû ÂÊÎÔÛ áéíóú ÁÉÍÓÚ àèìòù ÀÈÌÒÙ"),
              "&a&e&i&o&u &A&E&I&O&U &a&e&i&o&u &A&E&I&O&U &a&e&i&o&u &A&E&I&O&U &a&e&i&o&u &A&E&I&O&U");
    const QString untouched = "ãõÃÕÿýÅåæœß€«»°§´¨'-_/|\t\r\n{}[]@#$%=+*0123456789 yY";
    EXPECT_EQ(foldBarcodeText(untouched), untouched);
    // Case is kept: only exact characters match.
    EXPECT_EQ(foldBarcodeText("Aa Nn"), "Aa Nn");
    // Letters typed with combining accents fold like precomposed ones.
    EXPECT_EQ(foldBarcodeText(QString::fromUtf16(u"Pen\u0303a Jose\u0301")), "Pe&na Jos&e");
}
