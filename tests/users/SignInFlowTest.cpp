#include "users/SignInFlow.h"

#include "support/FakeDniTextBox.h"
#include "support/FakeMessageService.h"
#include "support/TempDir.h"
#include "users/UserStore.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

using test::FakeDniTextBox;
using test::FakeMessageService;
using test::TempDir;

const QString kKnownDni = QStringLiteral("12345678Z");
const QString kNewDni = QStringLiteral("01234567L");

void expectWarning(const FakeMessageService::Message& m, const QString& text) {
    EXPECT_EQ(m.text, text);
    EXPECT_EQ(m.title, QStringLiteral("Velmora"));
    EXPECT_EQ(m.icon, MessageIcon::Exclamation);
    EXPECT_EQ(m.buttons, MessageButtons::Ok);
}

// An installation whose store knows one DNI, with the password "Secreto1".
class SignInFlowTest : public ::testing::Test {
protected:
    SignInFlowTest() {
        UserStore setUp(dir.path(), messages);
        EXPECT_TRUE(setUp.AbreUsuarios());
        EXPECT_TRUE(setUp.AltaUsuario(kKnownDni, QStringLiteral("SECRETO1")));
        EXPECT_TRUE(flow.openStore());
    }

    TempDir dir;
    FakeMessageService messages;
    UserStore store{dir.path(), messages};
    SignInFlow flow{store, messages};
};

TEST_F(SignInFlowTest, NewUserInLowerCaseSignsInAtOnceWithoutPassword) {
    FakeDniTextBox box(QStringLiteral("1234567l"));
    EXPECT_EQ(flow.acceptDni(box), SignInFlow::DniAnswer::SignedIn);
    EXPECT_EQ(box.text(), kNewDni);
    EXPECT_EQ(flow.step(), SignInFlow::Step::SignedIn);
    EXPECT_EQ(flow.outcome().dni, kNewDni);
    EXPECT_TRUE(flow.outcome().signedIn);
    EXPECT_FALSE(flow.outcome().hasPassword);
    EXPECT_TRUE(messages.messages.empty());
}

TEST_F(SignInFlowTest, EmptyOrInvalidDniStaysOnTheDniStep) {
    FakeDniTextBox empty;
    EXPECT_EQ(flow.acceptDni(empty), SignInFlow::DniAnswer::Ignored);
    EXPECT_TRUE(messages.messages.empty());

    // Reported twice: the check's own message, then the step's.
    FakeDniTextBox box(QStringLiteral("12345678a"));
    EXPECT_EQ(flow.acceptDni(box), SignInFlow::DniAnswer::Invalid);
    ASSERT_EQ(messages.messages.size(), 2u);
    EXPECT_EQ(messages.messages[0].text, QStringLiteral("DNI no válido"));
    EXPECT_EQ(messages.messages[0].title, QStringLiteral("Error en DNI"));
    expectWarning(messages.messages[1], QStringLiteral("El DNI introducido no es válido"));
    EXPECT_EQ(box.text(), QStringLiteral("12345678A")) << "upper-cased, kept for correcting";
    EXPECT_EQ(box.foreColor, dniInvalidColor());
    EXPECT_EQ(flow.step(), SignInFlow::Step::Dni);
    EXPECT_FALSE(flow.outcome().signedIn);

    // Corrected, it goes through.
    box.setText(QStringLiteral("12345678z"));
    EXPECT_EQ(flow.acceptDni(box), SignInFlow::DniAnswer::PasswordNeeded);
}

TEST_F(SignInFlowTest, KnownUserNeedsTheRightPasswordInAnyCase) {
    FakeDniTextBox box(kKnownDni);
    EXPECT_EQ(flow.acceptDni(box), SignInFlow::DniAnswer::PasswordNeeded);
    EXPECT_EQ(flow.step(), SignInFlow::Step::Password);
    EXPECT_TRUE(flow.outcome().hasPassword);
    EXPECT_FALSE(flow.outcome().signedIn);
    EXPECT_TRUE(messages.messages.empty());

    EXPECT_EQ(flow.acceptPassword(kKnownDni, QString()), SignInFlow::PasswordAnswer::Missing);
    EXPECT_EQ(flow.acceptPassword(QString(), QStringLiteral("secreto1")),
              SignInFlow::PasswordAnswer::Missing);
    // Wrong passwords never lock the user out.
    EXPECT_EQ(flow.acceptPassword(kKnownDni, QStringLiteral("otra")), SignInFlow::PasswordAnswer::Wrong);
    EXPECT_EQ(flow.acceptPassword(kKnownDni, QStringLiteral("otra")), SignInFlow::PasswordAnswer::Wrong);
    ASSERT_EQ(messages.messages.size(), 4u);
    expectWarning(messages.messages[0], QStringLiteral("Es obligatorio rellenar Usuario y Password"));
    expectWarning(messages.messages[1], QStringLiteral("Es obligatorio rellenar Usuario y Password"));
    expectWarning(messages.messages[2], QStringLiteral("Usuario no válido"));
    expectWarning(messages.messages[3], QStringLiteral("Usuario no válido"));
    EXPECT_FALSE(flow.outcome().signedIn);

    EXPECT_EQ(flow.acceptPassword(kKnownDni, QStringLiteral("secreto1")),
              SignInFlow::PasswordAnswer::SignedIn);
    EXPECT_EQ(flow.outcome().dni, kKnownDni);
    EXPECT_TRUE(flow.outcome().signedIn);
    EXPECT_TRUE(flow.outcome().hasPassword);
    EXPECT_EQ(messages.messages.size(), 4u);
}

TEST_F(SignInFlowTest, PasswordIsOnlyCheckedForADniAcceptedFirst) {
    EXPECT_EQ(flow.acceptPassword(kKnownDni, QStringLiteral("SECRETO1")), SignInFlow::PasswordAnswer::Wrong);
    EXPECT_FALSE(flow.outcome().signedIn);
    // After signing in the DNI step is over.
    FakeDniTextBox newUser(kNewDni);
    ASSERT_EQ(flow.acceptDni(newUser), SignInFlow::DniAnswer::SignedIn);
    FakeDniTextBox again(kKnownDni);
    EXPECT_EQ(flow.acceptDni(again), SignInFlow::DniAnswer::Ignored);
    EXPECT_EQ(flow.outcome().dni, kNewDni);
}

TEST_F(SignInFlowTest, LeavingTheBoxChecksWhatWasTyped) {
    FakeDniTextBox empty;
    EXPECT_TRUE(flow.checkDniOnLeave(empty));
    EXPECT_EQ(empty.text(), QString());
    EXPECT_TRUE(messages.messages.empty());

    FakeDniTextBox valid(QStringLiteral("12345678z"));
    EXPECT_TRUE(flow.checkDniOnLeave(valid));
    EXPECT_EQ(valid.text(), kKnownDni);
    EXPECT_TRUE(messages.messages.empty());

    // Reported once, by the check; the box is emptied for the user to type again.
    FakeDniTextBox invalid(QStringLiteral("1234"));
    EXPECT_FALSE(flow.checkDniOnLeave(invalid));
    EXPECT_EQ(invalid.text(), QString());
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0].text, QStringLiteral("DNI no válido"));
    EXPECT_EQ(flow.step(), SignInFlow::Step::Dni);
}

TEST(SignInFlowStore, UnreadableStoreIsReportedByName) {
    TempDir dir;
    dir.write("usuarios.xml", "<Usuarios><Usuario>");
    FakeMessageService messages;
    UserStore store(dir.path(), messages);
    SignInFlow flow(store, messages);
    EXPECT_FALSE(flow.openStore());
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0].text, "El fichero de usuarios " +
                                             QDir::toNativeSeparators(dir.file("usuarios.xml")) +
                                             " está dañado y no se puede leer. El programa se cerrará.");
    EXPECT_EQ(messages.messages[0].title, QStringLiteral("Velmora"));
    EXPECT_EQ(messages.messages[0].icon, MessageIcon::Critical);
    EXPECT_EQ(messages.messages[0].buttons, MessageButtons::Ok);

    // A missing store is an empty one: every DNI is a new user.
    TempDir empty;
    FakeMessageService quiet;
    UserStore missing(empty.path(), quiet);
    SignInFlow newcomer(missing, quiet);
    EXPECT_TRUE(newcomer.openStore());
    FakeDniTextBox box(kKnownDni);
    EXPECT_EQ(newcomer.acceptDni(box), SignInFlow::DniAnswer::SignedIn);
    EXPECT_TRUE(quiet.messages.empty());
}

} // namespace
} // namespace velmora
