#include "users/PasswordCreation.h"

#include "support/FakeMessageService.h"
#include "support/FileSizeLimit.h"
#include "support/TempDir.h"
#include "users/UserStore.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

using test::FakeMessageService;
using test::TempDir;

const QString kDni = QStringLiteral("12345678Z");

class PasswordCreationTest : public ::testing::Test {
protected:
    PasswordCreationTest() { EXPECT_TRUE(store.AbreUsuarios()); }

    int entriesFor(const QString& dni) const {
        return int(dir.read("usuarios.xml").count(UserStore::HashTexto(dni).toLatin1()));
    }

    TempDir dir;
    FakeMessageService messages;
    UserStore store{dir.path(), messages};
    PasswordCreation creation{store, messages};
};

TEST_F(PasswordCreationTest, ShortOrDifferentPasswordsAreRefusedWithTheirMessages) {
    using Answer = PasswordCreation::Answer;
    EXPECT_EQ(creation.accept(kDni, "abcde", "abcde"), Answer::TooShort);
    EXPECT_EQ(creation.accept(kDni, "abcdef", "abcde"), Answer::TooShort);
    EXPECT_EQ(creation.accept(kDni, "abcde", "abcdef"), Answer::TooShort);
    // The same letters in another case are not the same text.
    EXPECT_EQ(creation.accept(kDni, "abcdef", "ABCDEF"), Answer::Different);

    ASSERT_EQ(messages.messages.size(), 4u);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(messages.messages[i].text, QStringLiteral("El password debe tener al menos 6 caracteres"));
    EXPECT_EQ(messages.messages[3].text, QStringLiteral("Escriba la misma contraseña en las dos casillas"));
    for (const auto& m : messages.messages) {
        EXPECT_EQ(m.title, programTitle());
        EXPECT_EQ(m.icon, MessageIcon::None);
        EXPECT_EQ(m.buttons, MessageButtons::Ok);
    }
    EXPECT_FALSE(QFileInfo::exists(dir.file("usuarios.xml"))) << "nothing stored";
}

TEST_F(PasswordCreationTest, StoresTheUpperCaseDigestAndReplacesAnEarlierPassword) {
    using Answer = PasswordCreation::Answer;
    ASSERT_EQ(creation.accept(kDni, "primera", "primera"), Answer::Stored);
    EXPECT_TRUE(store.CompruebaPwd(kDni, "PRIMERA"));
    EXPECT_TRUE(dir.read("usuarios.xml").contains(UserStore::HashTexto("PRIMERA").toLatin1()));

    ASSERT_EQ(creation.accept(kDni, "Segunda2", "Segunda2"), Answer::Stored);
    EXPECT_EQ(entriesFor(kDni), 1);
    EXPECT_TRUE(store.CompruebaPwd(kDni, "SEGUNDA2"));
    EXPECT_FALSE(store.CompruebaPwd(kDni, "PRIMERA"));
    EXPECT_TRUE(messages.messages.empty());
}

TEST_F(PasswordCreationTest, FailedSaveIsNotSuccessAndKeepsThePreviousPassword) {
    if (!test::FileSizeLimit::supported())
        GTEST_SKIP() << "no way to make a save fail here";
    ASSERT_EQ(creation.accept(kDni, "primera", "primera"), PasswordCreation::Answer::Stored);
    {
        test::FileSizeLimit limit(16);
        EXPECT_EQ(creation.accept(kDni, "segunda", "segunda"), PasswordCreation::Answer::SaveFailed);
    }
    ASSERT_EQ(messages.messages.size(), 1u); // the store's own report
    EXPECT_EQ(messages.messages[0].icon, MessageIcon::Critical);
    EXPECT_TRUE(store.CompruebaPwd(kDni, "PRIMERA"));
    EXPECT_EQ(entriesFor(kDni), 1);
}

} // namespace
} // namespace velmora
