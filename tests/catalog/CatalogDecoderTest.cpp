#include "catalog/CatalogDecoder.h"

#include "support/FakeMessageService.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

using namespace velmora;
using velmora::test::FakeMessageService;
using velmora::test::TempDir;

TEST(CatalogDecoder, LinesShiftByTheOffsetAndBackAgain) {
    QByteArray all;
    for (int b = 3; b < 256; ++b)
        all += char(b);
    const auto decoded = DecodeLine(all, kDecodingOffset);
    ASSERT_TRUE(decoded);
    EXPECT_EQ(static_cast<unsigned char>(decoded->at(0)), 0);
    EXPECT_EQ(static_cast<unsigned char>(decoded->back()), 252);
    const auto encoded = EncodeLine(*decoded);
    ASSERT_TRUE(encoded);
    EXPECT_EQ(*encoded, all);
    EXPECT_EQ(*DecodeLine("", kDecodingOffset), QByteArray());
    EXPECT_EQ(*DecodeLine("KROD", kDecodingOffset), QByteArray("HOLA"));
}

TEST(CatalogDecoder, CodesThatLeaveTheByteRangeAreErrors) {
    EXPECT_FALSE(DecodeLine(QByteArray("ab\x02", 3), kDecodingOffset));
    EXPECT_FALSE(DecodeLine(QByteArray("\xFE"), 3));
    EXPECT_FALSE(EncodeLine(QByteArray("\xFD")));
}

TEST(CatalogDecoder, FilesDecodeSkippingEmptyLinesAndStopAtTheFirstBadLine) {
    TempDir dir;
    // CR LF, a lone LF, empty lines, and a last line without its ending; "\x10" decodes to a
    // carriage return, which ends a line of the plain text too (twice at the end: an empty one).
    dir.write("F0005.enc", QByteArray("D4\r\n\r\n\r\nF4\nX5\r\n\r\nH4\x10I\x10\x10\r\nH4"));
    dir.write("F0002.enc", QByteArray("\r\n\r\n"));
    dir.write("F0001.enc", QByteArray("D4\r\nF4\r\nGGGGGGGGGGG\x01GG\r\nH4\r\n"));
    FakeMessageService messages;
    const QByteArray plain = DecodeToMemory(dir.path(), "F0005.enc", messages).value();
    EXPECT_EQ(plain, QByteArray("A1\r\nC1\r\nU2\r\nE1\rF\r\r\r\nE1\r\n"));
    EXPECT_EQ(DecodeToMemory(dir.path(), "F0002.enc", messages).value(), QByteArray());
    // Loading reads the records as stored and decodes only their fields: the same lines.
    const auto stored = ReadStoredRecords(dir.path(), "F0005.enc", messages).value();
    QList<QByteArray> records;
    for (const QByteArrayView line : stored->lines) {
        records.append(QByteArray(line.size(), Qt::Uninitialized));
        DecodeStored(line, records.back().data());
    }
    QList<QByteArray> plainLines;
    for (const QByteArrayView line : splitLines(plain))
        plainLines.append(line.toByteArray());
    EXPECT_EQ(records, plainLines);
    EXPECT_TRUE(ReadStoredRecords(dir.path(), "F0002.enc", messages).value()->lines.isEmpty());
    EXPECT_TRUE(messages.messages.empty());

    // A missing file, and a character that cannot be shifted, are shown.
    EXPECT_FALSE(DecodeToMemory(dir.path(), "F0015.enc", messages).ok());
    EXPECT_FALSE(DecodeToMemory(dir.path(), "F0001.enc", messages).ok());
    EXPECT_FALSE(ReadStoredRecords(dir.path(), "F0001.enc", messages).ok());
    ASSERT_EQ(messages.messages.size(), 3u);
    EXPECT_TRUE(messages.messages[0].text.startsWith(u"Se ha producido el siguiente error 53-"_s));
    EXPECT_TRUE(messages.messages[1].text.startsWith(u"Se ha producido el siguiente error 5-"_s));
    EXPECT_EQ(messages.messages[2].text, messages.messages[1].text);
}
