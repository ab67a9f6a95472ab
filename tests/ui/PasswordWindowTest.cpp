#include "ui/PasswordWindow.h"

#include "support/FakeMessageService.h"
#include "support/TempDir.h"
#include "ui/WindowDriver.h"
#include "users/UserStore.h"

#include <QLineEdit>
#include <QPushButton>

#include <gtest/gtest.h>

namespace velmora {
namespace {

using test::control;

const QString kDni = u"12345678Z"_s;

class PasswordWindowTest : public ::testing::Test {
protected:
    PasswordWindowTest() {
        UserStore setUp(dir.path(), messages);
        EXPECT_TRUE(setUp.AbreUsuarios());
        EXPECT_TRUE(setUp.AltaUsuario(kDni, u"ANTIGUA"_s));
        EXPECT_TRUE(store.AbreUsuarios());
        before = dir.read("usuarios.xml");
        window.setProperty("strDNI", kDni);
        EXPECT_TRUE(test::showActive(&window));
    }

    void type(const QString& one, const QString& two) {
        QTest::keyClicks(control<QLineEdit>(&window, "txtPwd(0)"), one);
        QTest::keyClicks(control<QLineEdit>(&window, "txtPwd(1)"), two);
    }
    QString boxes() {
        return control<QLineEdit>(&window, "txtPwd(0)")->text() +
               control<QLineEdit>(&window, "txtPwd(1)")->text();
    }

    test::TempDir dir;
    test::FakeMessageService messages;
    UserStore store{dir.path(), messages};
    PasswordWindow window{store, messages};
    QByteArray before;
};

// Which passwords are refused is PasswordCreationTest's, and Escape leaving the store as it was
// is KeyboardAccess'; here the window emptying its boxes and storing what it accepts.
TEST_F(PasswordWindowTest, ARefusedPasswordEmptiesBothBoxesAndAMatchingOneIsStored) {
    EXPECT_EQ(control<QLineEdit>(&window, "txtPwd(0)")->echoMode(), QLineEdit::Password);
    type("abcdef", "ABCDEF");
    QTest::keyClick(control<QLineEdit>(&window, "txtPwd(1)"), Qt::Key_Return);
    EXPECT_EQ(boxes(), QString());
    EXPECT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(dir.read("usuarios.xml"), before);

    type("nuevaclave", "nuevaclave");
    QTest::mouseClick(control<QPushButton>(&window, "cmdAceptar"), Qt::LeftButton);
    EXPECT_EQ(window.result(), QDialog::Accepted);
    EXPECT_TRUE(store.CompruebaPwd(kDni, "NUEVACLAVE"));
}

} // namespace
} // namespace velmora
