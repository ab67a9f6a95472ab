#include "users/UserStore.h"

#include "support/FileSizeLimit.h"
#include "support/TempDir.h"

#include <QRegularExpression>

#include <gtest/gtest.h>

#include <functional>
#include <optional>

#include <sys/wait.h>
#include <unistd.h>

namespace velmora {
namespace {

using test::TempDir;

const QString kDni = u"12345678Z"_s;
const QString kOtherDni = u"01234567L"_s;
const QString kThirdDni = u"87654321X"_s;

// The DNI digests of the store's entries, in file order.
QStringList storedDnis(const QByteArray& bytes) {
    static const QRegularExpression dni(u"<DNI>([0-9A-F]{64})</DNI>"_s);
    QStringList digests;
    for (auto it = dni.globalMatch(QString::fromLatin1(bytes)); it.hasNext();)
        digests << it.next().captured(1);
    return digests;
}

QString entryText(const QString& dni, const QString& pwd) {
    return "<Usuario><DNI>" + UserStore::HashTexto(dni) + "</DNI><Pwd>" + UserStore::HashTexto(pwd) +
           "</Pwd></Usuario>";
}

class UserStoreTest : public ::testing::Test {
protected:
    QString storeFile() const { return dir.file("usuarios.xml"); }
    QByteArray storeBytes() const { return dir.read("usuarios.xml"); }
    void expectDnisInFile(const QStringList& dnis) const {
        QStringList expected;
        for (const QString& dni : dnis)
            expected << UserStore::HashTexto(dni);
        EXPECT_EQ(storedDnis(storeBytes()), expected);
    }

    TempDir dir;
};

// A store missing, empty, as installed (a declaration and an empty root), inside another root
// or in UTF-16: new entries go in order, as digests only, and the store keeps its form.
TEST_F(UserStoreTest, NewEntriesAreAppendedAsDigests) {
    const QByteArray declaration = "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>";
    const QString utf16 = u"<?xml version=\"1.0\" encoding=\"UTF-16\"?><Usuarios></Usuarios>"_s;
    const std::pair<std::optional<QByteArray>, QByteArray> stores[] = {
        {std::nullopt, ""},
        {QByteArray(), ""},
        {declaration + "\r\n<Usuarios>\r\n</Usuarios>\r\n", declaration},
        {"<Instalacion><Version>3</Version></Instalacion>", "<Instalacion><Version>3</Version>"},
        {"\xFF\xFE" + QByteArray(reinterpret_cast<const char*>(utf16.utf16()), utf16.size() * 2),
         QByteArray("\xFF\xFE<\0?\0x\0", 8)}};
    for (const auto& [installed, kept] : stores) {
        SCOPED_TRACE(kept.constData());
        TempDir folder;
        if (installed)
            folder.write("usuarios.xml", *installed);
        UserStore store(folder.path());
        ASSERT_TRUE(store.AbreUsuarios());
        EXPECT_FALSE(store.ExisteUsuario(kDni));
        store.BajaUsuario(kDni); // nothing to remove, nothing to break
        ASSERT_TRUE(store.AltaUsuario(kDni, "SECRETO"));
        ASSERT_TRUE(store.AltaUsuario(kOtherDni, "OTRACLAVE"));

        const QByteArray raw = folder.read("usuarios.xml");
        EXPECT_TRUE(raw.contains(kept));
        const QByteArray bytes =
            raw.startsWith("\xFF\xFE")
                ? QString::fromUtf16(reinterpret_cast<const char16_t*>(raw.constData() + 2),
                                     (raw.size() - 2) / 2)
                      .toLatin1()
                : raw;
        EXPECT_TRUE(
            bytes.contains((entryText(kDni, "SECRETO") + entryText(kOtherDni, "OTRACLAVE")).toLatin1()))
            << bytes.constData();
        EXPECT_EQ(storedDnis(bytes).size(), 2);
        for (const QString& clear : {kDni, u"12345678"_s, u"SECRETO"_s})
            EXPECT_FALSE(bytes.toUpper().contains(clear.toLatin1())) << qPrintable(clear);

        UserStore reopened(folder.path());
        ASSERT_TRUE(reopened.AbreUsuarios());
        // The DNI is digested as given.
        EXPECT_TRUE(reopened.ExisteUsuario(kDni) && !reopened.ExisteUsuario(kDni.toLower()));
        EXPECT_TRUE(reopened.CompruebaPwd(kDni, "SECRETO"));
        EXPECT_FALSE(reopened.CompruebaPwd(kDni, "secreto")); // callers upper-case it first
        EXPECT_FALSE(reopened.CompruebaPwd(kThirdDni, QString()));
    }
}

TEST_F(UserStoreTest, InstancesSigningUpAtOnceKeepEveryUser) {
    dir.write("usuarios.xml", "<Usuarios></Usuarios>");
    constexpr int kEach = 25;
    const auto dniOf = [](int instance, int i) { return u"%1%2"_s.arg(instance).arg(i, 8, 10, QChar(u'0')); };
    std::vector<pid_t> instances;
    for (int instance = 0; instance < 2; ++instance) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            UserStore store(dir.path());
            bool ok = store.AbreUsuarios().ok();
            for (int i = 0; i < kEach && ok; ++i) {
                store.BajaUsuario(dniOf(instance, i));
                ok = store.AltaUsuario(dniOf(instance, i), u"CLAVE%1"_s.arg(i)).ok();
            }
            ::_exit(ok ? 0 : 1);
        }
        instances.push_back(child);
    }
    for (const pid_t child : instances) {
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    UserStore reopened(dir.path());
    ASSERT_TRUE(reopened.AbreUsuarios());
    int kept = 0;
    for (int instance = 0; instance < 2; ++instance)
        for (int i = 0; i < kEach; ++i)
            kept += reopened.CompruebaPwd(dniOf(instance, i), u"CLAVE%1"_s.arg(i)) ? 1 : 0;
    std::cout << "two instances signing up " << kEach << " users each: " << kept << " kept\n";
    EXPECT_EQ(kept, 2 * kEach);
    EXPECT_EQ(storedDnis(storeBytes()).size(), 2 * kEach);
}

TEST_F(UserStoreTest, ChangingAPasswordMovesItsEntryLast) {
    UserStore store(dir.path());
    ASSERT_TRUE(store.AbreUsuarios());
    ASSERT_TRUE(store.AltaUsuario(kDni, "PRIMERA"));
    ASSERT_TRUE(store.AltaUsuario(kOtherDni, "OTRA"));
    ASSERT_TRUE(store.AltaUsuario(kThirdDni, "TERCERA"));

    store.BajaUsuario(kDni);
    // Removing only touches memory: the file still has the first password.
    EXPECT_TRUE(storeBytes().contains(UserStore::HashTexto("PRIMERA").toLatin1()));
    EXPECT_FALSE(store.ExisteUsuario(kDni));
    ASSERT_TRUE(store.AltaUsuario(kDni, "SEGUNDA"));
    expectDnisInFile({kOtherDni, kThirdDni, kDni});
    EXPECT_TRUE(store.CompruebaPwd(kDni, "SEGUNDA"));
    EXPECT_FALSE(store.CompruebaPwd(kDni, "PRIMERA"));

    // A middle entry goes too, and an unknown DNI removes nothing.
    store.BajaUsuario(kThirdDni);
    store.BajaUsuario("00000000T");
    ASSERT_TRUE(store.AltaUsuario(kThirdDni, "NUEVA"));
    expectDnisInFile({kOtherDni, kDni, kThirdDni});
}

TEST_F(UserStoreTest, HandWrittenStoreWithOddEntries) {
    // Indented by hand, an entry without DNI and one without Pwd: none of them matches, none breaks.
    // Digests written in lower case with blanks around them (as sha256sum prints them) match.
    const QString text =
        "<?xml version=\"1.0\"?>\n<Usuarios>\n  <!-- alta manual -->\n  <Usuario>\n    <Pwd>" +
        UserStore::HashTexto("X") + "</Pwd>\n  </Usuario>\n  <Usuario>\n    <DNI>" +
        UserStore::HashTexto(kOtherDni) + "</DNI>\n  </Usuario>\n  <Usuario>\n    <DNI>\n  " +
        UserStore::HashTexto(kDni).toLower() + " \n</DNI>\n    <Pwd>" +
        UserStore::HashTexto("SECRETO").toLower() + "\n</Pwd>\n  </Usuario>\n</Usuarios>\n";
    dir.write("usuarios.xml", text.toUtf8());
    UserStore store(dir.path());
    ASSERT_TRUE(store.AbreUsuarios());
    EXPECT_TRUE(store.ExisteUsuario(kDni) && store.CompruebaPwd(kDni, "SECRETO"));
    EXPECT_TRUE(store.ExisteUsuario(kOtherDni));
    EXPECT_EQ(store.PwdGuardado(kOtherDni), QString());
    EXPECT_FALSE(store.CompruebaPwd(kOtherDni, QString()));
    EXPECT_FALSE(store.CompruebaPwd(kOtherDni, "X"));

    store.BajaUsuario(kDni);
    ASSERT_TRUE(store.AltaUsuario(kThirdDni, "TERCERA"));
    EXPECT_FALSE(store.ExisteUsuario(kDni));
    const QByteArray bytes = storeBytes();
    EXPECT_TRUE(bytes.contains("<!-- alta manual -->"));
    EXPECT_FALSE(bytes.toUpper().contains(UserStore::HashTexto(kDni).toLatin1()));
    UserStore reopened(dir.path());
    EXPECT_TRUE(reopened.AbreUsuarios().ok());
}

TEST_F(UserStoreTest, AFailedSaveKeepsTheOldStore) {
    UserStore store(dir.path());
    ASSERT_TRUE(store.AbreUsuarios());
    {
        // Writing past a small size fails, as on a full disk, whoever runs the test.
        test::FileSizeLimit limit(16);
        EXPECT_FALSE(store.AltaUsuario(kDni, "PRIMERA"));
    }
    EXPECT_FALSE(QFileInfo::exists(storeFile())) << "a failed first save leaves no store behind";
    EXPECT_FALSE(store.ExisteUsuario(kDni));
    ASSERT_TRUE(store.AltaUsuario(kDni, "PRIMERA"));
    const QByteArray before = storeBytes();
    store.BajaUsuario(kDni);
    Status saved;
    {
        test::FileSizeLimit limit(64);
        saved = store.AltaUsuario(kDni, "SEGUNDA");
    }

    ASSERT_FALSE(saved.ok());
    EXPECT_EQ(saved.error().number, ErrorCode::FileAccess);
    EXPECT_FALSE(saved.error().telling) << "told as a numbered error";
    EXPECT_EQ(saved.error().description,
              "No se ha podido guardar el fichero de usuarios " + QDir::toNativeSeparators(storeFile()) +
                  ": No se ha podido escribir el fichero " + QDir::toNativeSeparators(storeFile()) +
                  ".nuevo: no queda espacio en el disco");

    EXPECT_EQ(storeBytes(), before);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"usuarios.xml"}); // no leftovers
    // Memory agrees with the file again: the old password still works, the new one does not.
    EXPECT_TRUE(store.CompruebaPwd(kDni, "PRIMERA"));
    EXPECT_FALSE(store.CompruebaPwd(kDni, "SEGUNDA"));

    // Once the disk has room again the change goes through.
    store.BajaUsuario(kDni);
    ASSERT_TRUE(store.AltaUsuario(kDni, "SEGUNDA"));
    EXPECT_TRUE(store.CompruebaPwd(kDni, "SEGUNDA"));
    EXPECT_EQ(storedDnis(storeBytes()).size(), 1);
}

TEST_F(UserStoreTest, StoreThatCannotBeReadIsAnErrorNamingTheFile) {
    const std::pair<const char*, std::function<bool(const TempDir&)>> cases[] = {
        {" está dañado y no se puede leer",
         [](const TempDir& d) {
             return !d.write("usuarios.xml", "<?xml version=\"1.0\"?><Usuarios><Usu").isEmpty();
         }},
        {": en su lugar hay una carpeta",
         [](const TempDir& d) { return QDir(d.path()).mkdir("usuarios.xml"); }},
        {": es un enlace a otro fichero",
         [](const TempDir& d) {
             return QFile::link(d.write("otro.xml", "<Usuarios/>"), d.file("usuarios.xml"));
         }},
        {": ocupa más de 10 MB",
         [](const TempDir& d) {
             return !d.write("usuarios.xml",
                             "<Usuarios>" + QByteArray(UserStore::kMaxStoreBytes, ' ') + "</Usuarios>")
                         .isEmpty();
         }},
    };
    for (const auto& [cause, make] : cases) {
        SCOPED_TRACE(cause);
        TempDir folder;
        ASSERT_TRUE(make(folder));
        UserStore store(folder.path());
        const Status opened = store.AbreUsuarios();
        ASSERT_FALSE(opened.ok());
        EXPECT_TRUE(opened.error().endsProgram);
        const QString description = opened.error().description;
        EXPECT_TRUE(description.contains(QDir::toNativeSeparators(folder.file("usuarios.xml")) + cause) &&
                    description.endsWith(u"El programa se cerrará."_s))
            << description.toStdString();
    }
}

// What another program or instance did to the store since it was read stops a save, which
// then writes nothing and says why; a damaged store is kept byte for byte.
TEST_F(UserStoreTest, SaveRefusesAStoreItCannotMergeWith) {
    const struct {
        const char* said;
        std::function<void(const TempDir&)> meanwhile;
    } cases[] = {
        {"está dañado (otro programa lo ha cortado o cambiado)",
         [](const TempDir& d) { d.write("usuarios.xml", d.read("usuarios.xml").chopped(30)); }},
        {"es un enlace a otro fichero",
         [](const TempDir& d) {
             ASSERT_TRUE(QFile::rename(d.file("usuarios.xml"), d.file("otro.xml")));
             ASSERT_TRUE(QFile::link(d.file("otro.xml"), d.file("usuarios.xml")));
         }},
        {"donde va su fichero de bloqueo, ",
         [](const TempDir& d) { ASSERT_TRUE(QDir(d.path()).mkdir("usuarios.xml.bloqueo")); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.said);
        TempDir folder;
        UserStore other(folder.path());
        ASSERT_TRUE(other.AbreUsuarios());
        ASSERT_TRUE(other.AltaUsuario(kOtherDni, "OTRA"));
        UserStore store(folder.path());
        ASSERT_TRUE(store.AbreUsuarios());
        ASSERT_TRUE(other.AltaUsuario(kThirdDni, "TERCERA"));
        c.meanwhile(folder);
        const QByteArray before = test::readFile(QFileInfo(folder.file("usuarios.xml")).canonicalFilePath());
        const Status saved = store.AltaUsuario(kDni, "SECRETO");
        ASSERT_FALSE(saved.ok());
        const QString said = saved.error().description;
        EXPECT_TRUE(said.contains(QString::fromUtf8(c.said))) << said.toStdString();
        EXPECT_EQ(test::readFile(QFileInfo(folder.file("usuarios.xml")).canonicalFilePath()), before);
        const QStringList copies = QDir(folder.path()).entryList({u"*ilegible*"_s});
        ASSERT_EQ(copies.size(), said.contains(u"dañado"_s) ? 1 : 0);
        for (const QString& copy : copies)
            EXPECT_TRUE(folder.read(copy) == before && said.contains(folder.file(copy)));
    }
}

TEST_F(UserStoreTest, ADniRegisteredMeanwhileByAnotherInstanceIsNotAddedTwice) {
    UserStore first(dir.path());
    UserStore second(dir.path());
    ASSERT_TRUE(first.AbreUsuarios() && second.AbreUsuarios());
    first.BajaUsuario(kDni);
    ASSERT_TRUE(first.AltaUsuario(kDni, "PRIMERA"));
    second.BajaUsuario(kDni);
    const Status saved = second.AltaUsuario(kDni, "SEGUNDA");

    ASSERT_FALSE(saved.ok());
    EXPECT_EQ(saved.error().number, UserStore::kAlreadyRegistered);
    EXPECT_EQ(saved.error().telling->icon, MessageIcon::Exclamation);
    EXPECT_EQ(saved.error().description.left(44), u"Ya existe un usuario con el DNI 12345678Z: o"_s);
    expectDnisInFile({kDni});
    EXPECT_TRUE(second.CompruebaPwd(kDni, "PRIMERA")) << "memory agrees with the file again";
}

} // namespace
} // namespace velmora
