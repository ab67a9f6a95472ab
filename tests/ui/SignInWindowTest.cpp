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

const QString kKnownDni = u"12345678Z"_s;

// The sign-in window over a store that knows one DNI, whose password is "SECRETO1".
class SignInWindowTest : public ::testing::Test {
protected:
    SignInWindowTest() {
        UserStore setUp(dir.path(), messages);
        EXPECT_TRUE(setUp.AbreUsuarios());
        EXPECT_TRUE(setUp.AltaUsuario(kKnownDni, u"SECRETO1"_s));
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

// The ninth character moving on and Enter signing a new user in are the keyboard walk's
// (FullApplicationRun.KeyboardOnlyFromSignInToThePrintout); separators kept out are DniLineEdit's.
TEST_F(SignInWindowTest, InvalidDniOnTheButtonIsReportedTwiceAndOnLeavingOnce) {
    // Press and release come apart, as from a real mouse: whatever the focus change queued
    // runs in between, and must not eat the click.
    QTest::keyClicks(dni, u"1234"_s);
    QTest::mousePress(acceptDni, Qt::LeftButton);
    EXPECT_EQ(focusName(), u"cmdAceptarDNI"_s);
    settle();
    QTest::mouseRelease(acceptDni, Qt::LeftButton);
    settle();
    EXPECT_EQ(messages.texts(), (QStringList{"DNI no válido", "El DNI introducido no es válido"}));
    EXPECT_EQ(dni->text(), u"000001234"_s);

    // Nine wrong characters: checked once as the focus leaves, then emptied with the focus
    // back in the box; nothing more happens until the user acts.
    messages.messages.clear();
    dni->selectAll();
    QTest::keyClicks(dni, u"12345678A"_s);
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
    EXPECT_TRUE(pwd->isVisible() && control<QLabel>(window.get(), "lblPwd")->isVisible());
    EXPECT_EQ(pwd->echoMode(), QLineEdit::Password);
    EXPECT_FALSE(dni->isEnabled());
    EXPECT_EQ(focusName(), u"txtPwd"_s);
    EXPECT_TRUE(state.hasPassword);

    QTest::keyClick(pwd, Qt::Key_Return); // empty: the default button is now cmdAceptarPwd
    QTest::keyClicks(pwd, u"otra"_s);
    QTest::keyClick(pwd, Qt::Key_Return);
    EXPECT_EQ(messages.messages.size(), 2u) << "which messages is SignInFlowTest's";
    EXPECT_EQ(pwd->text(), u"otra"_s) << "the password box keeps its text";
    EXPECT_FALSE(state.signedIn);

    pwd->clear();
    QTest::keyClicks(pwd, u"Secreto1"_s);
    QTest::mouseClick(control<QPushButton>(window.get(), "cmdAceptarPwd"), Qt::LeftButton);
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(state.signedIn);
    EXPECT_EQ(state.signedInDni, kKnownDni);
}

} // namespace
} // namespace velmora
