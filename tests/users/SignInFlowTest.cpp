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

using test::TempDir;
using DniAnswer = SignInFlow::DniAnswer;

const QString kKnownDni = u"12345678Z"_s;

// The texts a failure tells, in order, each with its title.
QStringList told(const Error& error) {
    test::FakeMessageService messages;
    messages.tell(error);
    QStringList out;
    for (const auto& m : messages.messages)
        out << m.title + u": "_s + m.text;
    return out;
}

// A store that knows one DNI, whose password is "SECRETO1".
class SignInFlowTest : public ::testing::Test {
protected:
    SignInFlowTest() {
        UserStore setUp(dir.path());
        EXPECT_TRUE(setUp.AbreUsuarios());
        EXPECT_TRUE(setUp.AltaUsuario(kKnownDni, u"SECRETO1"_s));
        EXPECT_TRUE(flow.openStore());
    }

    TempDir dir;
    UserStore store{dir.path()};
    SignInFlow flow{store};
};

TEST_F(SignInFlowTest, DniStepAcceptsOnlyOneValidDni) {
    FakeDniTextBox invalid(u"12345678a"_s);
    const auto refused = flow.acceptDni(invalid);
    ASSERT_FALSE(refused.ok());
    EXPECT_EQ(refused.error().telling->icon, MessageIcon::Exclamation);
    EXPECT_EQ(told(refused.error()),
              (QStringList{"Error en DNI: DNI no válido", "Velmora: El DNI introducido no es válido"}));
    EXPECT_EQ(invalid.text(), u"12345678A"_s) << "kept upper-cased for correcting";
    EXPECT_EQ(flow.step(), SignInFlow::Step::Dni);

    FakeDniTextBox empty;
    EXPECT_EQ(flow.acceptDni(empty).value(), DniAnswer::Ignored);
    FakeDniTextBox box(u"1234567l"_s);
    EXPECT_EQ(flow.acceptDni(box).value(), DniAnswer::SignedIn);
    EXPECT_EQ(flow.outcome().dni, u"01234567L"_s);
    // The DNI step is over: another DNI changes nothing.
    FakeDniTextBox again(kKnownDni);
    EXPECT_EQ(flow.acceptDni(again).value(), DniAnswer::Ignored);
    EXPECT_EQ(flow.outcome().dni, u"01234567L"_s);
}

TEST_F(SignInFlowTest, PasswordCountsOnlyAfterTheDniStepAcceptedTheDni) {
    // The right password alone proves nothing about a DNI the store was never asked about.
    const Status alone = flow.acceptPassword(kKnownDni, u"SECRETO1"_s);
    FakeDniTextBox box(kKnownDni);
    EXPECT_EQ(flow.acceptDni(box).value(), DniAnswer::PasswordNeeded);
    EXPECT_TRUE(flow.outcome().hasPassword);
    EXPECT_FALSE(flow.outcome().signedIn);
    const Status missing = flow.acceptPassword(QString(), u"secreto1"_s);
    EXPECT_TRUE(flow.acceptPassword(kKnownDni, u"secreto1"_s));
    EXPECT_EQ(flow.outcome().dni, kKnownDni);
    ASSERT_FALSE(alone.ok() || missing.ok());
    EXPECT_EQ(told(alone.error()), QStringList{"Velmora: Usuario no válido"});
    EXPECT_EQ(told(missing.error()), QStringList{"Velmora: Es obligatorio rellenar Usuario y Password"});
    for (const Status& refused : {alone, missing})
        EXPECT_EQ(refused.error().telling->icon, MessageIcon::Exclamation);
}

TEST(SignInFlowStore, UnreadableStoreIsReportedByName) {
    TempDir dir;
    dir.write("usuarios.xml", "<Usuarios><Usuario>");
    UserStore store(dir.path());
    SignInFlow flow(store);
    const Status opened = flow.openStore();
    ASSERT_FALSE(opened.ok());
    EXPECT_TRUE(opened.error().endsProgram);
    EXPECT_EQ(opened.error().telling->icon, MessageIcon::Critical);
    EXPECT_EQ(told(opened.error()), QStringList{"Velmora: El fichero de usuarios " +
                                                QDir::toNativeSeparators(dir.file("usuarios.xml")) +
                                                " está dañado y no se puede leer. El programa se cerrará."});
}

class PasswordCreationTest : public ::testing::Test {
protected:
    PasswordCreationTest() { EXPECT_TRUE(store.AbreUsuarios()); }

    TempDir dir;
    UserStore store{dir.path()};
    PasswordCreation creation{store};
};

TEST_F(PasswordCreationTest, ShortOrDifferentPasswordsAreRefused) {
    const struct {
        const char* password;
        const char* repeated;
        const char* said;
    } cases[] = {
        {"abcde", "abcde", "El password debe tener al menos 6 caracteres"},
        {"abcdef", "abcde", "El password debe tener al menos 6 caracteres"},
        {"abcdef", "ABCDEF", "Escriba la misma contraseña en las dos casillas"}, // letter case counts
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.repeated);
        const Status refused = creation.accept(kKnownDni, c.password, c.repeated);
        ASSERT_FALSE(refused.ok());
        EXPECT_EQ(refused.error().number, ErrorCode::InvalidValue);
        EXPECT_EQ(refused.error().telling->icon, MessageIcon::None);
        EXPECT_EQ(told(refused.error()), QStringList{u"Velmora: "_s + QString::fromUtf8(c.said)});
    }
    EXPECT_FALSE(QFileInfo::exists(dir.file("usuarios.xml"))) << "nothing stored";
}

TEST_F(PasswordCreationTest, StoresTheUpperCaseDigestInPlaceOfAnEarlierOneUnlessTheSaveFails) {
    ASSERT_TRUE(creation.accept(kKnownDni, "primera", "primera"));
    ASSERT_TRUE(creation.accept(kKnownDni, "Segunda2", "Segunda2"));
    const QByteArray file = dir.read("usuarios.xml");
    EXPECT_EQ(file.count(UserStore::HashTexto(kKnownDni).toLatin1()), 1);
    EXPECT_TRUE(file.contains(UserStore::HashTexto("SEGUNDA2").toLatin1()));
    EXPECT_FALSE(store.CompruebaPwd(kKnownDni, "PRIMERA"));

    // A failed save is no success (nor a text to mend) and keeps the previous password.
    {
        test::FileSizeLimit limit(16);
        const Status saved = creation.accept(kKnownDni, "tercera", "tercera");
        ASSERT_FALSE(saved.ok());
        EXPECT_EQ(saved.error().number, ErrorCode::FileAccess);
    }
    EXPECT_TRUE(store.CompruebaPwd(kKnownDni, "SEGUNDA2"));
}

// Checks `typed` and asserts what the box is left with: its text, a black or red colour, and
// for a refused number the failure with its exact title and icon.
void expectCheck(const QString& typed, const QString& left, bool valid) {
    FakeDniTextBox box(typed);
    const Status checked = ValidaDNI(box);
    EXPECT_EQ(checked.ok(), valid) << qPrintable(typed);
    EXPECT_EQ(box.text(), left) << qPrintable(typed);
    EXPECT_EQ(box.foreColor, valid ? QColor(0, 0, 0) : QColor(254, 0, 0)) << qPrintable(typed);
    if (!checked.ok()) {
        EXPECT_EQ(checked.error().telling->icon, MessageIcon::Exclamation);
        EXPECT_EQ(told(checked.error()), QStringList{"Error en DNI: DNI no válido"}) << qPrintable(typed);
    }
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
