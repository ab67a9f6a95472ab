#include "users/SignInFlow.h"

#include "support/FakeDniTextBox.h"
#include "support/FakeMessageService.h"
#include "support/TempDir.h"
#include "users/UserStore.h"

#include <gtest/gtest.h>

// The window tests (SignInWindowTest) drive the usual paths through the widgets; these cover
// the branches the window cannot reach and the look of each message.
namespace velmora {
namespace {

using test::FakeDniTextBox;
using test::FakeMessageService;
using test::TempDir;
using DniAnswer = SignInFlow::DniAnswer;
using PasswordAnswer = SignInFlow::PasswordAnswer;

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

TEST_F(SignInFlowTest, DniStepIgnoresAnEmptyBoxAndEndsWithTheFirstSignIn) {
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

TEST_F(SignInFlowTest, InvalidDniIsReportedAndKeptUpperCasedForCorrecting) {
    FakeDniTextBox box(u"12345678a"_s);
    EXPECT_EQ(flow.acceptDni(box), DniAnswer::Invalid);
    EXPECT_EQ(messages.texts(), (QStringList{"DNI no válido", "El DNI introducido no es válido"}));
    EXPECT_EQ(messages.messages[1].title, u"Velmora"_s);
    EXPECT_EQ(messages.messages[1].icon, MessageIcon::Exclamation);
    EXPECT_EQ(box.text(), u"12345678A"_s);
    EXPECT_EQ(flow.step(), SignInFlow::Step::Dni);
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

} // namespace
} // namespace velmora
