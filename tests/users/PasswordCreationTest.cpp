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
using Answer = PasswordCreation::Answer;

const QString kDni = u"12345678Z"_s;

class PasswordCreationTest : public ::testing::Test {
protected:
    PasswordCreationTest() { EXPECT_TRUE(store.AbreUsuarios()); }

    TempDir dir;
    FakeMessageService messages;
    UserStore store{dir.path(), messages};
    PasswordCreation creation{store, messages};
};

TEST_F(PasswordCreationTest, ShortOrDifferentPasswordsAreRefused) {
    EXPECT_EQ(creation.accept(kDni, "abcde", "abcde"), Answer::TooShort);
    EXPECT_EQ(creation.accept(kDni, "abcdef", "abcde"), Answer::TooShort);
    EXPECT_EQ(creation.accept(kDni, "abcdef", "ABCDEF"), Answer::Different); // letter case counts
    using Message = test::FakeMessageService::Message;
    const Message tooShort{u"El password debe tener al menos 6 caracteres"_s, programTitle(),
                           MessageIcon::None};
    const Message different{u"Escriba la misma contraseña en las dos casillas"_s, programTitle(),
                            MessageIcon::None};
    EXPECT_EQ(messages.messages, (std::vector{tooShort, tooShort, different}));
    EXPECT_FALSE(QFileInfo::exists(dir.file("usuarios.xml"))) << "nothing stored";
}

TEST_F(PasswordCreationTest, StoresTheUpperCaseDigestInPlaceOfAnEarlierOne) {
    ASSERT_EQ(creation.accept(kDni, "primera", "primera"), Answer::Stored);
    ASSERT_EQ(creation.accept(kDni, "Segunda2", "Segunda2"), Answer::Stored);
    const QByteArray file = dir.read("usuarios.xml");
    EXPECT_EQ(file.count(UserStore::HashTexto(kDni).toLatin1()), 1);
    EXPECT_TRUE(file.contains(UserStore::HashTexto("SEGUNDA2").toLatin1()));
    EXPECT_FALSE(store.CompruebaPwd(kDni, "PRIMERA"));
    EXPECT_TRUE(messages.messages.empty());
}

TEST_F(PasswordCreationTest, FailedSaveIsNotSuccessAndKeepsThePreviousPassword) {
    ASSERT_EQ(creation.accept(kDni, "primera", "primera"), Answer::Stored);
    {
        test::FileSizeLimit limit(16);
        EXPECT_EQ(creation.accept(kDni, "segunda", "segunda"), Answer::SaveFailed);
    }
    EXPECT_EQ(messages.messages.size(), 1u); // the store's own report
    EXPECT_TRUE(store.CompruebaPwd(kDni, "PRIMERA"));
}

} // namespace
} // namespace velmora
