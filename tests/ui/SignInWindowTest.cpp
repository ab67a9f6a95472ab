#include "ui/SignInWindow.h"

#include "app/RunState.h"
#include "support/FakeMessageService.h"
#include "support/TempDir.h"
#include "ui/WindowDriver.h"
#include "users/UserStore.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <gtest/gtest.h>

namespace velmora {
namespace {

using test::control;
using test::FakeMessageService;
using test::focusName;
using test::settle;
using test::TempDir;

const QString kKnownDni = QStringLiteral("12345678Z");

// The sign-in window over a store that knows one DNI, whose password is "SECRETO1".
class SignInWindowTest : public ::testing::Test {
protected:
    SignInWindowTest() {
        UserStore setUp(dir.path(), messages);
        EXPECT_TRUE(setUp.AbreUsuarios());
        EXPECT_TRUE(setUp.AltaUsuario(kKnownDni, QStringLiteral("SECRETO1")));
        window = std::make_unique<SignInWindow>(store, messages, state);
        EXPECT_TRUE(window->isUsable());
        EXPECT_TRUE(test::showActive(window.get()));
        dni = control<QLineEdit>(window.get(), "txtDNI");
        pwd = control<QLineEdit>(window.get(), "txtPwd");
        acceptDni = control<QPushButton>(window.get(), "cmdAceptarDNI");
        acceptPwd = control<QPushButton>(window.get(), "cmdAceptarPwd");
        dni->setFocus();
    }

    QStringList texts() const { return messages.texts(); }

    TempDir dir;
    FakeMessageService messages;
    UserStore store{dir.path(), messages};
    RunState state;
    std::unique_ptr<SignInWindow> window;
    QLineEdit* dni = nullptr;
    QLineEdit* pwd = nullptr;
    QPushButton* acceptDni = nullptr;
    QPushButton* acceptPwd = nullptr;
};

TEST_F(SignInWindowTest, ShowsTheDniStepFirst) {
    EXPECT_EQ(window->objectName(), QStringLiteral("frmUsuario"));
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Validación de usuario"));
    EXPECT_EQ(control<QLabel>(window.get(), "Label1")->text(), QStringLiteral("NIF"));
    EXPECT_EQ(control<QLabel>(window.get(), "lblPwd")->text(), QStringLiteral("Contraseña"));
    EXPECT_EQ(control<QPushButton>(window.get(), "cmdSalir")->text(), QStringLiteral("Salir"));
    EXPECT_EQ(acceptDni->accessibleName(), QStringLiteral("Aceptar"));
    EXPECT_FALSE(acceptDni->icon().isNull());
    EXPECT_TRUE(acceptDni->isDefault());
    EXPECT_EQ(pwd->echoMode(), QLineEdit::Password);
    for (const char* hidden : {"lblPwd", "txtPwd", "cmdAceptarPwd"})
        EXPECT_FALSE(window->findChild<QWidget*>(hidden)->isVisible()) << hidden;
    EXPECT_EQ(focusName(), QStringLiteral("txtDNI"));
}

TEST_F(SignInWindowTest, NineCharactersMoveOnAndANewUserSignsInAtOnce) {
    // Separators never enter the box; the ninth character moves the focus on and checks it.
    QTest::keyClicks(dni, QStringLiteral("0.1234-567,"));
    EXPECT_EQ(dni->text(), QStringLiteral("01234567"));
    EXPECT_EQ(focusName(), QStringLiteral("txtDNI"));
    QTest::keyClicks(dni, QStringLiteral("l"));
    settle();
    EXPECT_EQ(focusName(), QStringLiteral("cmdAceptarDNI"));
    EXPECT_TRUE(texts().isEmpty()) << texts().join('|').toStdString();
    EXPECT_EQ(dni->text(), QStringLiteral("01234567L")) << "upper-cased by the check";

    // Back in the box, Enter presses the default button.
    dni->setFocus(Qt::BacktabFocusReason);
    QTest::keyClick(dni, Qt::Key_Return);
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(window->result(), QDialog::Accepted);
    EXPECT_TRUE(state.signedIn);
    EXPECT_FALSE(state.hasPassword);
    EXPECT_EQ(state.signedInDni, QStringLiteral("01234567L"));
    settle();
    EXPECT_TRUE(texts().isEmpty()) << texts().join('|').toStdString();
}

TEST_F(SignInWindowTest, InvalidDniOnTheButtonIsReportedTwiceAndOnLeavingOnce) {
    // A mouse click on "Aceptar" after a short, invalid DNI: the click is not eaten by the
    // check of the box it leaves, and both messages of the button come.
    QTest::keyClicks(dni, QStringLiteral("1234"));
    // Press and release come apart, as from a real mouse: whatever the focus change queued
    // runs in between.
    QTest::mousePress(acceptDni, Qt::LeftButton);
    EXPECT_EQ(focusName(), QStringLiteral("cmdAceptarDNI"));
    settle();
    QTest::mouseRelease(acceptDni, Qt::LeftButton);
    settle();
    EXPECT_EQ(texts(), (QStringList{"DNI no válido", "El DNI introducido no es válido"}));
    EXPECT_EQ(messages.messages[1].title, QStringLiteral("Velmora"));
    EXPECT_EQ(messages.messages[1].icon, MessageIcon::Exclamation);
    EXPECT_EQ(messages.messages[1].buttons, MessageButtons::Ok);
    EXPECT_EQ(dni->text(), QStringLiteral("000001234"));
    EXPECT_TRUE(window->isVisible());
    EXPECT_FALSE(state.signedIn);

    // Nine wrong characters: the box is checked as the focus leaves it, once, then emptied
    // with the focus back in it; nothing more happens until the user acts.
    messages.messages.clear();
    dni->setFocus();
    dni->selectAll();
    QTest::keyClicks(dni, QStringLiteral("12345678A"));
    settle();
    settle();
    EXPECT_EQ(texts(), QStringList{"DNI no válido"});
    EXPECT_EQ(dni->text(), QString());
    EXPECT_EQ(focusName(), QStringLiteral("txtDNI"));

    // An empty box can be left for "Salir" without a word; leaving does not sign in.
    QTest::mouseClick(control<QPushButton>(window.get(), "cmdSalir"), Qt::LeftButton);
    settle();
    EXPECT_EQ(texts(), QStringList{"DNI no válido"});
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(window->result(), QDialog::Rejected);
    EXPECT_FALSE(state.signedIn);
}

TEST_F(SignInWindowTest, KnownUserSignsInWithThePasswordInAnyCase) {
    QTest::keyClicks(dni, kKnownDni);
    settle();
    QTest::mouseClick(acceptDni, Qt::LeftButton);
    settle();
    EXPECT_TRUE(pwd->isVisible());
    EXPECT_TRUE(acceptPwd->isVisible());
    EXPECT_TRUE(window->findChild<QLabel*>("lblPwd")->isVisible());
    EXPECT_FALSE(dni->isEnabled());
    EXPECT_TRUE(acceptPwd->isDefault());
    EXPECT_EQ(focusName(), QStringLiteral("txtPwd"));
    EXPECT_TRUE(state.hasPassword);
    EXPECT_FALSE(state.signedIn);

    QTest::keyClick(pwd, Qt::Key_Return);
    QTest::keyClicks(pwd, QStringLiteral("otra"));
    QTest::keyClick(pwd, Qt::Key_Return);
    EXPECT_EQ(texts(), (QStringList{"Es obligatorio rellenar Usuario y Password", "Usuario no válido"}));
    EXPECT_EQ(pwd->text(), QStringLiteral("otra")) << "the password box keeps its text";
    EXPECT_TRUE(window->isVisible());

    pwd->clear();
    QTest::keyClicks(pwd, QStringLiteral("Secreto1"));
    QTest::mouseClick(acceptPwd, Qt::LeftButton);
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(state.signedIn);
    EXPECT_TRUE(state.hasPassword);
    EXPECT_EQ(state.signedInDni, kKnownDni);
    EXPECT_EQ(messages.messages.size(), 2u);
}

TEST(SignInWindowStore, UnreadableStoreEndsBeforeTheWindowOpens) {
    TempDir dir;
    dir.write("usuarios.xml", "<Usuarios><Usu");
    FakeMessageService messages;
    UserStore store(dir.path(), messages);
    RunState state;
    SignInWindow window(store, messages, state);
    EXPECT_FALSE(window.isUsable());
    EXPECT_EQ(window.exec(), QDialog::Rejected);
    EXPECT_FALSE(state.signedIn);
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_TRUE(messages.messages[0].text.contains(QDir::toNativeSeparators(dir.file("usuarios.xml"))));
    EXPECT_EQ(messages.messages[0].icon, MessageIcon::Critical);
}

} // namespace
} // namespace velmora
