#include "ui/PasswordWindow.h"

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
using test::TempDir;

const QString kDni = QStringLiteral("12345678Z");

class PasswordWindowTest : public ::testing::Test {
protected:
    PasswordWindowTest() {
        UserStore setUp(dir.path(), messages);
        EXPECT_TRUE(setUp.AbreUsuarios());
        EXPECT_TRUE(setUp.AltaUsuario(kDni, QStringLiteral("ANTIGUA")));
        EXPECT_TRUE(store.AbreUsuarios());
        before = dir.read("usuarios.xml");
        window.setProperty("strDNI", kDni);
        EXPECT_TRUE(test::showActive(&window));
        first = control<QLineEdit>(&window, "txtPwd(0)");
        second = control<QLineEdit>(&window, "txtPwd(1)");
    }

    void type(const QString& one, const QString& two) {
        first->clear();
        second->clear();
        QTest::keyClicks(first, one);
        QTest::keyClicks(second, two);
    }

    TempDir dir;
    FakeMessageService messages;
    UserStore store{dir.path(), messages};
    PasswordWindow window{store, messages};
    QByteArray before;
    QLineEdit* first = nullptr;
    QLineEdit* second = nullptr;
};

TEST_F(PasswordWindowTest, ShowsItsControls) {
    EXPECT_EQ(window.objectName(), QStringLiteral("frmCreaPwd"));
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Contraseña"));
    EXPECT_EQ(window.strDNI(), kDni);
    EXPECT_EQ(control<QLabel>(&window, "Label1")->text(), QStringLiteral("Contraseña"));
    EXPECT_EQ(control<QLabel>(&window, "Label2")->text(), QStringLiteral("Repita la Contraseña"));
    EXPECT_EQ(control<QPushButton>(&window, "cmdAceptar")->text(), QStringLiteral("Aceptar"));
    EXPECT_EQ(control<QPushButton>(&window, "cmdSalir")->text(), QStringLiteral("Salir"));
    EXPECT_EQ(first->echoMode(), QLineEdit::Password);
    EXPECT_EQ(second->echoMode(), QLineEdit::Password);
}

TEST_F(PasswordWindowTest, RefusedPasswordsEmptyBothBoxesAndTouchNothing) {
    type("abcde", "abcde");
    QTest::mouseClick(control<QPushButton>(&window, "cmdAceptar"), Qt::LeftButton);
    EXPECT_EQ(first->text(), QString());
    EXPECT_EQ(second->text(), QString());

    type("abcdef", "ABCDEF");
    QTest::keyClick(second, Qt::Key_Return);
    EXPECT_EQ(first->text(), QString());
    EXPECT_EQ(second->text(), QString());
    EXPECT_TRUE(window.isVisible());

    EXPECT_EQ(messages.texts(), (QStringList{"El password debe tener al menos 6 caracteres",
                                             "Escriba la misma contraseña en las dos casillas"}));
    EXPECT_EQ(messages.messages[0].title, programTitle());
    EXPECT_EQ(messages.messages[0].icon, MessageIcon::None);
    EXPECT_EQ(dir.read("usuarios.xml"), before);
}

TEST_F(PasswordWindowTest, SalirLeavesTheStoreFileUnchanged) {
    type("nuevaclave", "nuevaclave");
    QTest::mouseClick(control<QPushButton>(&window, "cmdSalir"), Qt::LeftButton);
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(window.result(), QDialog::Rejected);
    EXPECT_EQ(dir.read("usuarios.xml"), before);
    EXPECT_TRUE(store.CompruebaPwd(kDni, "ANTIGUA"));
    EXPECT_TRUE(messages.messages.empty());
}

TEST_F(PasswordWindowTest, MatchingPasswordIsStoredUpperCasedAndCloses) {
    type("nuevaclave", "nuevaclave");
    QTest::mouseClick(control<QPushButton>(&window, "cmdAceptar"), Qt::LeftButton);
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(window.result(), QDialog::Accepted);
    const QByteArray after = dir.read("usuarios.xml");
    EXPECT_TRUE(after.contains(UserStore::HashTexto("NUEVACLAVE").toLatin1()));
    EXPECT_FALSE(after.contains(UserStore::HashTexto("ANTIGUA").toLatin1()));
    EXPECT_EQ(after.count(UserStore::HashTexto(kDni).toLatin1()), 1);
    EXPECT_TRUE(messages.messages.empty());
}

} // namespace
} // namespace velmora
