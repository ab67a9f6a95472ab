#include "users/SignInFlow.h"

#include "support/FakeMessageService.h"
#include "support/FileSizeLimit.h"
#include "support/TempDir.h"
#include "users/DniValidator.h"
#include "users/PasswordCreation.h"
#include "users/UserStore.h"

#include <gtest/gtest.h>

// The window tests (SignInWindowTest) drive the usual paths through the widgets; these cover
// the branches the window cannot reach and the look of each message.
namespace velmora {
namespace {

// A DNI box without a window: keeps its text and colour.
struct FakeDniTextBox : DniTextBox {
    explicit FakeDniTextBox(QString text = QString()) : m_text(std::move(text)) {}
    QString text() const override { return m_text; }
    void setText(const QString& text) override { m_text = text; }
    void setForeColor(const QColor& color) override { foreColor = color; }

    QString m_text;
    QColor foreColor; // invalid until the check sets it
};

using test::FakeMessageService;
using test::TempDir;
using DniAnswer = SignInFlow::DniAnswer;
using PasswordAnswer = SignInFlow::PasswordAnswer;
using Answer = PasswordCreation::Answer;

const QString kKnownDni = u"12345678Z"_s;

// A store that knows one DNI, whose password is "SECRETO1".
class SignInFlowTest : public ::testing::Test {
protected:
    SignInFlowTest() {
        UserStore setUp(dir.path(), messages);
        EXPECT_TRUE(setUp.AbreUsuarios());
        EXPECT_TRUE(setUp.AltaUsuario(kKnownDni, u"SECRETO1"_s));
        EXPECT_TRUE(flow.openStore());
    }

    TempDir dir;
    FakeMessageService messages;
    UserStore store{dir.path(), messages};
    SignInFlow flow{store, messages};
};

TEST_F(SignInFlowTest, DniStepAcceptsOnlyOneValidDni) {
    FakeDniTextBox invalid(u"12345678a"_s);
    EXPECT_EQ(flow.acceptDni(invalid), DniAnswer::Invalid);
    EXPECT_EQ(messages.texts(), (QStringList{"DNI no válido", "El DNI introducido no es válido"}));
    EXPECT_EQ(messages.messages[1].title, u"Velmora"_s);
    EXPECT_EQ(messages.messages[1].icon, MessageIcon::Exclamation);
    EXPECT_EQ(invalid.text(), u"12345678A"_s) << "kept upper-cased for correcting";
    EXPECT_EQ(flow.step(), SignInFlow::Step::Dni);

    messages.messages.clear();
    FakeDniTextBox empty;
    EXPECT_EQ(flow.acceptDni(empty), DniAnswer::Ignored);
    FakeDniTextBox box(u"1234567l"_s);
    EXPECT_EQ(flow.acceptDni(box), DniAnswer::SignedIn);
    EXPECT_EQ(flow.outcome().dni, u"01234567L"_s);
    EXPECT_TRUE(messages.messages.empty());
    // The DNI step is over: another DNI changes nothing.
    FakeDniTextBox again(kKnownDni);
    EXPECT_EQ(flow.acceptDni(again), DniAnswer::Ignored);
    EXPECT_EQ(flow.outcome().dni, u"01234567L"_s);
}

TEST_F(SignInFlowTest, PasswordCountsOnlyAfterTheDniStepAcceptedTheDni) {
    // The right password alone proves nothing about a DNI the store was never asked about.
    EXPECT_EQ(flow.acceptPassword(kKnownDni, u"SECRETO1"_s), PasswordAnswer::Wrong);
    FakeDniTextBox box(kKnownDni);
    EXPECT_EQ(flow.acceptDni(box), DniAnswer::PasswordNeeded);
    EXPECT_TRUE(flow.outcome().hasPassword);
    EXPECT_FALSE(flow.outcome().signedIn);
    EXPECT_EQ(flow.acceptPassword(QString(), u"secreto1"_s), PasswordAnswer::Missing);
    EXPECT_EQ(flow.acceptPassword(kKnownDni, u"secreto1"_s), PasswordAnswer::SignedIn);
    EXPECT_EQ(flow.outcome().dni, kKnownDni);
    EXPECT_EQ(messages.texts(),
              (QStringList{"Usuario no válido", "Es obligatorio rellenar Usuario y Password"}));
    for (const auto& m : messages.messages)
        EXPECT_EQ(m.icon, MessageIcon::Exclamation);
}

TEST(SignInFlowStore, UnreadableStoreIsReportedByName) {
    TempDir dir;
    dir.write("usuarios.xml", "<Usuarios><Usuario>");
    FakeMessageService messages;
    UserStore store(dir.path(), messages);
    SignInFlow flow(store, messages);
    EXPECT_FALSE(flow.openStore());
    EXPECT_EQ(messages.only(u"Velmora"_s, MessageIcon::Critical),
              "El fichero de usuarios " + QDir::toNativeSeparators(dir.file("usuarios.xml")) +
                  " está dañado y no se puede leer. El programa se cerrará.");
}

class PasswordCreationTest : public ::testing::Test {
protected:
    PasswordCreationTest() { EXPECT_TRUE(store.AbreUsuarios()); }

    TempDir dir;
    FakeMessageService messages;
    UserStore store{dir.path(), messages};
    PasswordCreation creation{store, messages};
};

TEST_F(PasswordCreationTest, ShortOrDifferentPasswordsAreRefused) {
    EXPECT_EQ(creation.accept(kKnownDni, "abcde", "abcde"), Answer::TooShort);
    EXPECT_EQ(creation.accept(kKnownDni, "abcdef", "abcde"), Answer::TooShort);
    EXPECT_EQ(creation.accept(kKnownDni, "abcdef", "ABCDEF"), Answer::Different); // letter case counts
    using Message = test::FakeMessageService::Message;
    const Message tooShort{u"El password debe tener al menos 6 caracteres"_s, programTitle(),
                           MessageIcon::None};
    const Message different{u"Escriba la misma contraseña en las dos casillas"_s, programTitle(),
                            MessageIcon::None};
    EXPECT_EQ(messages.messages, (std::vector{tooShort, tooShort, different}));
    EXPECT_FALSE(QFileInfo::exists(dir.file("usuarios.xml"))) << "nothing stored";
}

TEST_F(PasswordCreationTest, StoresTheUpperCaseDigestInPlaceOfAnEarlierOneUnlessTheSaveFails) {
    ASSERT_EQ(creation.accept(kKnownDni, "primera", "primera"), Answer::Stored);
    ASSERT_EQ(creation.accept(kKnownDni, "Segunda2", "Segunda2"), Answer::Stored);
    const QByteArray file = dir.read("usuarios.xml");
    EXPECT_EQ(file.count(UserStore::HashTexto(kKnownDni).toLatin1()), 1);
    EXPECT_TRUE(file.contains(UserStore::HashTexto("SEGUNDA2").toLatin1()));
    EXPECT_FALSE(store.CompruebaPwd(kKnownDni, "PRIMERA"));
    EXPECT_TRUE(messages.messages.empty());

    // A failed save is no success and keeps the previous password.
    {
        test::FileSizeLimit limit(16);
        EXPECT_EQ(creation.accept(kKnownDni, "tercera", "tercera"), Answer::SaveFailed);
    }
    EXPECT_EQ(messages.messages.size(), 1u); // the store's own report
    EXPECT_TRUE(store.CompruebaPwd(kKnownDni, "SEGUNDA2"));
}

// Checks `typed` and asserts what the box is left with: its text, a black or red colour, and
// for a refused number the one message with its exact title, icon and buttons.
void expectCheck(const QString& typed, const QString& left, bool valid) {
    FakeDniTextBox box(typed);
    test::FakeMessageService messages;
    EXPECT_EQ(ValidaDNI(box, messages), valid) << qPrintable(typed);
    EXPECT_EQ(box.text(), left) << qPrintable(typed);
    EXPECT_EQ(box.foreColor, valid ? QColor(0, 0, 0) : QColor(254, 0, 0)) << qPrintable(typed);
    EXPECT_EQ(messages.only(u"Error en DNI"_s, MessageIcon::Exclamation), valid ? u""_s : u"DNI no válido"_s)
        << qPrintable(typed);
}

TEST(DniValidatorTest, NumbersAreNormalisedOnlyWhenValid) {
    const struct {
        const char* typed;
        const char* left;
        bool valid;
    } cases[] = {
        {"12345678z", "12345678Z", true},
        {"1234567l", "01234567L", true}, // seven digits gain a zero; 1234567 mod 23 = 19, L
        {"00000000T", "00000000T", true},
        {"99999999R", "99999999R", true},
        {"12345678a", "12345678a", false}, // a wrong letter is kept as typed, for correcting
        {"1234567B", "01234567B", false},
        {"", "000000000", false},
        {"123456789", "123456789", false},
        {"123456789Z", "123456789Z", false}, // ten characters: not padded, not valid
        {"X1234567L", "X1234567L", false},
        {"1234-567L", "1234-567L", false},
        // Only plain digits count as a number.
        {" 1234567L", " 1234567L", false},
        {"+1234567L", "+1234567L", false},
        {"١٢٣٤٥٦٧٨Z", "١٢٣٤٥٦٧٨Z", false},
    };
    for (const auto& c : cases)
        expectCheck(QString::fromUtf8(c.typed), QString::fromUtf8(c.left), c.valid);
}

TEST(DniValidatorTest, EveryRemainderHasItsLetter) {
    const QString letters = u"TRWAGMYFPDXBNJZSQVHLCKE"_s;
    for (int n = 0; n < 23; ++n) {
        // 23 * 4321 + n has remainder n as well: the number is not just the remainder.
        const QString number = u"%1"_s.arg(23 * 4321 + n, 8, 10, QLatin1Char('0'));
        expectCheck(number + letters.at(n), number + letters.at(n), true);
        expectCheck(number + letters.at((n + 1) % 23), number + letters.at((n + 1) % 23), false);
    }
}

} // namespace
} // namespace velmora
