#include "crypto/CSHA256.h"

#include <QCryptographicHash>
#include <QRandomGenerator>

#include <gtest/gtest.h>

using namespace velmora;

namespace {

// One instance for every message: nothing may carry over from the one before.
QString digest(const QString& text) {
    static const CSHA256 sha;
    return sha.SHA256(text);
}

// Short messages are compared with Qt's digest below; these published vectors anchor that
// comparison and reach a message far longer than four blocks.
} // namespace

TEST(CSHA256Test, PublishedTestVectors) {
    EXPECT_EQ(digest("abc"), "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
    EXPECT_EQ(digest(QString(1000000, QLatin1Char('a'))),
              "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0");
}

// Random byte strings of every length over several blocks, so that every padding case
// (marker and length in the same block, or spilling into an extra one) is met.
TEST(CSHA256Test, MatchesReferenceForEveryLengthUpToFourBlocks) {
    QRandomGenerator random(20240611);
    for (int length = 0; length <= 4 * 64 + 8; ++length) {
        for (int round = 0; round < 8; ++round) {
            QByteArray bytes(length, Qt::Uninitialized);
            for (char& b : bytes)
                b = static_cast<char>(random.bounded(256));
            const QString expected =
                QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex());
            // Every byte value maps to the character of the same code.
            ASSERT_EQ(digest(QString::fromLatin1(bytes)), expected)
                << "length " << length << " round " << round;
        }
    }
}

TEST(CSHA256Test, CharactersBecomeTheirLowByte) {
    // ñ is U+00F1: its Latin 1 byte is hashed.
    EXPECT_EQ(digest(u"Muñoz"_s),
              QString::fromLatin1(
                  QCryptographicHash::hash(QByteArray("Mu\xF1oz"), QCryptographicHash::Sha256).toHex()));
    // Characters above U+00FF that share the low byte give the same digest.
    EXPECT_EQ(digest(QString(QChar(0x0141)) + "x"), digest(QString(QChar(0x0041)) + "x"));
    EXPECT_EQ(digest(QString(QChar(0x20AC))), digest(QString(QChar(0x00AC))));
}
