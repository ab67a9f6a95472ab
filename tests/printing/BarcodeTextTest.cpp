#include "printing/BarcodeText.h"

#include "editor/ApplicationListTables.h"
#include "platform/data/RecordSet.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

TEST(BarcodeTextTest, KeyPadsDniBodyAndGroupWithoutEverCutting) {
    EXPECT_EQ(ClaveCodigoBarras("12345678Z", "12341", "1"), "12345678Z123411");
    EXPECT_EQ(ClaveCodigoBarras("1234", "12", "A"), "1234     00012A");
    // A long body code keeps its last 5 characters; a long group or DNI stays whole.
    EXPECT_EQ(ClaveCodigoBarras("12345678Z", "0012341", "A1"), "12345678Z12341A1");
    EXPECT_EQ(ClaveCodigoBarras("X12345678Z", "1", "2"), "X12345678Z000012");
    EXPECT_EQ(ClaveCodigoBarras("", "", ""), QString(9, u' ') + "00000 ");
}

TEST(BarcodeTextTest, HeaderIsKeyDateAndTimeWithNothingBetween) {
    const QString key = ClaveCodigoBarras("12345678Z", "12341", "1");
    const QString header = barcodeHeader(key, QDateTime(QDate(2026, 3, 5), QTime(4, 5, 9)));
    EXPECT_EQ(header, "12345678Z12341105/03/202604:05:09");
}

TEST(BarcodeTextTest, TextIsHeaderKindPageDataAndFinalF) {
    const QString key = "12345678Z123411";
    const QString header = key + "05/03/202614:05:09";
    const QString first = barcodeText(header, BarcodeKind::FirstPage, 5, "N|PEREZ|");
    EXPECT_EQ(first, header + "P001N|PEREZ|F");

    EXPECT_EQ(barcodeText(header, BarcodeKind::Vacancies, 7, "0001  123"), header + "V0070001  123F");
    EXPECT_EQ(barcodeText(header, BarcodeKind::Resultas, 12, ""), header + "R012F");
    EXPECT_EQ(barcodeText(header, BarcodeKind::Resultas, 1234, ""), header + "R1234F");
}

class ListPageDataTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(createVacancyList(list).ok());
        const std::pair<int, const char*> rows[] = {{1, "123"}, {2, "45678"}, {3, "7"}, {10000, "1"}};
        for (const auto& [order, code] : rows) {
            ASSERT_TRUE(list.addNew().ok());
            ASSERT_TRUE(list.setValue(u"Orden", order).ok());
            ASSERT_TRUE(list.setValue(u"CodConvocatoria", QString::fromLatin1(code)).ok());
            ASSERT_TRUE(list.setValue(u"NomConvocatoria", "Puesto").ok());
        }
        ASSERT_TRUE(list.setSort("Orden").ok());
    }
    RecordSet list;
};

TEST_F(ListPageDataTest, RowsBecomeOrderAndPositionCodePadded) {
    Result<QString> page = listPageBarcodeData(list, 0, 2);
    ASSERT_TRUE(page.ok());
    EXPECT_EQ(page.value(), "0001  1230002"
                            "45678");
    EXPECT_EQ(barcodeText("H", BarcodeKind::Vacancies, 3, page.value()), "HV0030001  123000245678F");
    EXPECT_EQ(listPageBarcodeData(list, 2, 2).value(), "0003    7"
                                                       "10000    1");
    EXPECT_EQ(listPageBarcodeData(list, 1, 0).value(), "");
}

TEST_F(ListPageDataTest, CursorStaysWhereThePrintingLoopLeftIt) {
    list.moveFirst();
    list.moveNext();
    ASSERT_TRUE(listPageBarcodeData(list, 0, 4).ok());
    EXPECT_EQ(list.absolutePosition(), 1);
    EXPECT_EQ(list.integer(u"Orden"), 2);

    list.moveLast();
    list.moveNext();
    ASSERT_TRUE(listPageBarcodeData(list, 1, 3).ok());
    EXPECT_TRUE(list.isEOF());

    // Rows outside the view are refused, and the cursor is still put back.
    list.moveFirst();
    const Result<QString> outside = listPageBarcodeData(list, 3, 2);
    ASSERT_FALSE(outside.ok());
    EXPECT_EQ(list.absolutePosition(), 0);
}

TEST(BarcodeTextTest, ListDataNeedsOrderAndPositionColumns) {
    RecordSet courses;
    ASSERT_TRUE(createCoursesList(courses).ok());
    ASSERT_TRUE(courses.addNew().ok());
    EXPECT_FALSE(listPageBarcodeData(courses, 0, 1).ok());
}

TEST(BarcodeTextTest, FoldingTurnsAccentsIntoAmpersandLettersAndDropsMarks) {
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

TEST(BarcodeTextTest, FoldingCoversEveryVowelFormAndLeavesOtherCharacters) {
    EXPECT_EQ(foldBarcodeText("äëïöü ÄËÏÖÜ âêîôû ÂÊÎÔÛ áéíóú ÁÉÍÓÚ àèìòù ÀÈÌÒÙ"),
              "&a&e&i&o&u &A&E&I&O&U &a&e&i&o&u &A&E&I&O&U &a&e&i&o&u &A&E&I&O&U &a&e&i&o&u &A&E&I&O&U");
    const QString untouched = "ãõÃÕÿýÅåæœß€«»°§´¨'-_/|\t\r\n{}[]@#$%=+*0123456789 yY";
    EXPECT_EQ(foldBarcodeText(untouched), untouched);
    // Case is kept: only exact characters match.
    EXPECT_EQ(foldBarcodeText("Aa Nn"), "Aa Nn");
    // Letters typed with combining accents fold like precomposed ones.
    EXPECT_EQ(foldBarcodeText(QString::fromUtf16(u"Pen\u0303a Jose\u0301")), "Pe&na Jos&e");
}

} // namespace
} // namespace velmora
