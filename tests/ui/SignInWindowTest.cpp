#include "ui/SignInWindow.h"
#include "editor/ControlName.h"

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
using test::focusName;
using test::settle;

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
        dni->setFocus();
    }

    test::TempDir dir;
    test::FakeMessageService messages;
    UserStore store{dir.path(), messages};
    RunState state;
    std::unique_ptr<SignInWindow> window;
    QLineEdit* dni = nullptr;
    QLineEdit* pwd = nullptr;
    QPushButton* acceptDni = nullptr;
};

TEST_F(SignInWindowTest, NineCharactersMoveOnAndANewUserSignsInAtOnce) {
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Validación de usuario"));
    EXPECT_EQ(acceptDni->accessibleName(), QStringLiteral("Aceptar"));
    EXPECT_FALSE(pwd->isVisible());
    // Separators never enter the box; the ninth character moves the focus on and checks it.
    QTest::keyClicks(dni, QStringLiteral("0.1234-567,"));
    EXPECT_EQ(dni->text(), QStringLiteral("01234567"));
    EXPECT_EQ(focusName(), ctl::txtDNI);
    QTest::keyClicks(dni, QStringLiteral("l"));
    settle();
    EXPECT_EQ(focusName(), QStringLiteral("cmdAceptarDNI"));
    EXPECT_EQ(dni->text(), QStringLiteral("01234567L")) << "upper-cased by the check";

    // Back in the box, Enter presses the default button.
    dni->setFocus(Qt::BacktabFocusReason);
    QTest::keyClick(dni, Qt::Key_Return);
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(state.signedIn);
    EXPECT_FALSE(state.hasPassword);
    EXPECT_EQ(state.signedInDni, QStringLiteral("01234567L"));
    settle();
    EXPECT_TRUE(messages.messages.empty());
}

TEST_F(SignInWindowTest, InvalidDniOnTheButtonIsReportedTwiceAndOnLeavingOnce) {
    // Press and release come apart, as from a real mouse: whatever the focus change queued
    // runs in between, and must not eat the click.
    QTest::keyClicks(dni, QStringLiteral("1234"));
    QTest::mousePress(acceptDni, Qt::LeftButton);
    EXPECT_EQ(focusName(), QStringLiteral("cmdAceptarDNI"));
    settle();
    QTest::mouseRelease(acceptDni, Qt::LeftButton);
    settle();
    EXPECT_EQ(messages.texts(), (QStringList{"DNI no válido", "El DNI introducido no es válido"}));
    EXPECT_EQ(dni->text(), QStringLiteral("000001234"));

    // Nine wrong characters: checked once as the focus leaves, then emptied with the focus
    // back in the box; nothing more happens until the user acts.
    messages.messages.clear();
    dni->selectAll();
    QTest::keyClicks(dni, QStringLiteral("12345678A"));
    settle();
    settle();
    EXPECT_EQ(messages.texts(), QStringList{"DNI no válido"});
    EXPECT_EQ(dni->text(), QString());
    EXPECT_EQ(focusName(), ctl::txtDNI);

    // An empty box can be left for "Salir" without a word; leaving does not sign in.
    QTest::mouseClick(control<QPushButton>(window.get(), "cmdSalir"), Qt::LeftButton);
    settle();
    EXPECT_EQ(messages.messages.size(), 1u);
    EXPECT_FALSE(window->isVisible());
    EXPECT_FALSE(state.signedIn);
}

TEST_F(SignInWindowTest, KnownUserSignsInWithThePasswordInAnyCase) {
    QTest::keyClicks(dni, kKnownDni);
    settle();
    QTest::mouseClick(acceptDni, Qt::LeftButton);
    EXPECT_TRUE(pwd->isVisible());
    EXPECT_TRUE(control<QLabel>(window.get(), "lblPwd")->isVisible());
    EXPECT_EQ(pwd->echoMode(), QLineEdit::Password);
    EXPECT_FALSE(dni->isEnabled());
    EXPECT_EQ(focusName(), QStringLiteral("txtPwd"));
    EXPECT_TRUE(state.hasPassword);

    QTest::keyClick(pwd, Qt::Key_Return); // empty: the default button is now cmdAceptarPwd
    QTest::keyClicks(pwd, QStringLiteral("otra"));
    QTest::keyClick(pwd, Qt::Key_Return);
    EXPECT_EQ(messages.texts(),
              (QStringList{"Es obligatorio rellenar Usuario y Password", "Usuario no válido"}));
    EXPECT_EQ(pwd->text(), QStringLiteral("otra")) << "the password box keeps its text";
    EXPECT_FALSE(state.signedIn);

    pwd->clear();
    QTest::keyClicks(pwd, QStringLiteral("Secreto1"));
    QTest::mouseClick(control<QPushButton>(window.get(), "cmdAceptarPwd"), Qt::LeftButton);
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(state.signedIn);
    EXPECT_EQ(state.signedInDni, kKnownDni);
}

} // namespace
} // namespace velmora
