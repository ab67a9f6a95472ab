#include "editor/SavedApplicationReader.h"
#include "editor/ControlName.h"

#include "applications/ApplicationFiles.h"
#include "catalog/CatalogTables.h"
#include "platform/docengine/Document.h"
#include "printing/PrintingFixture.h"
#include "support/EmptyApplicationLists.h"
#include "support/TableRows.h"

#include <QRegularExpression>

#include <gtest/gtest.h>

namespace velmora {
namespace {

using test::PrintingFixture;

// A saved application read into a model (which may hold values already) and fresh lists.
struct ReadBack {
    ApplicationModel model;
    test::EmptyApplicationLists lists;
    docengine::WordProcessor reader;
    Progress progress;
    Result<LoadedApplication> read = Error{};
};

std::unique_ptr<ReadBack> readBack(const QString& folder, const QString& file,
                                   const ApplicationModel& model = {}) {
    auto back = std::make_unique<ReadBack>();
    back->model = model;
    back->read =
        readSavedApplication(folder, file, back->reader, back->model, back->lists.lists(), back->progress);
    return back;
}

TEST(SavedApplicationReaderTest, ASavedApplicationReadsBackIntoTheModelItWasSavedFrom) {
    PrintingFixture f;
    f.model.setText(ctl::txtTipoDisc, u"Motora"_s);
    f.model.setSelected(ctl::optDiscSi);
    f.model.setSelected(ctl::optSSOtros);
    f.model.setText(ctl::txtSS, u"Servicio Andaluz de Salud"_s);
    f.model.setChoice(ctl::cboPrefLocalidad, u"4500100"_s, u"Ajofrín"_s);
    test::addSampleCourses(f.courses, 4);
    test::addSampleDocuments(f.documents, 2);
    PrintingFixture::addPositions(f.vacancies, 7);
    PrintingFixture::addPositions(f.resultas, 3, 20000);
    ASSERT_TRUE(f.runWXP(false).ok());

    const auto back = readBack(f.folders.applications, f.fileName());
    ApplicationModel& loaded = back->model;
    const auto& read = back->read;
    ASSERT_TRUE(read.ok()) << read.error().description.toStdString();
    EXPECT_EQ(back->reader.documentCount(), 0) << "the document made for reading stays open";
    EXPECT_EQ(read.value().categoryCaption, u"Enfermero/a"_s);
    EXPECT_EQ(read.value().currentPostTicks, 1);
    EXPECT_EQ(read.value().lists, SidecarRead::Loaded);
    EXPECT_EQ(back->progress.value(), 324);

    for (const FormControl* saved : f.model.taggedControls()) {
        const FormControl* back = loaded.find(saved->name);
        ASSERT_NE(back, nullptr);
        if (saved->kind == ControlKind::OptionButton)
            EXPECT_EQ(back->selected, saved->selected) << saved->name.toStdString();
        else
            EXPECT_EQ(back->text, saved->text) << saved->name.toStdString();
    }
    EXPECT_TRUE(loaded.isSelected(ctl::OptSi)) << "a saved current post answers the question";
    EXPECT_EQ(buildApplicationXml(back->lists.lists()),
              buildApplicationXml({f.vacancies, f.resultas, f.courses, f.documents}));

    // The drop-downs get their values back from the tables they are bound to.
    CatalogTables catalogs;
    test::addRows(catalogs.bodies, {}, {{"20010", "Enfermero/a", "A1"}, {"10010", "Enfermero/a", "A2"}});
    test::addRows(catalogs.groups, {}, {{"A2"}});
    test::addRows(catalogs.addressProvinces, {}, {{"45", "Toledo"}});
    test::addRows(catalogs.areas, {}, {{"07", "Área de Salud de Toledo", "45"}});
    resolveDropDownValues(loaded, catalogs, u"10010"_s);
    for (ControlName name : {ctl::cboCuerpo, ctl::cboGrupo, ctl::cboProvincia, ctl::cboPrefArea}) {
        EXPECT_EQ(loaded.value(name), f.model.value(name)) << name.toString().toStdString();
        EXPECT_TRUE(loaded.isListItem(name));
    }
    // No locality table row shows "Ajofrín": the text stays, without a value.
    EXPECT_EQ(loaded.text(ctl::cboPrefLocalidad), u"Ajofrín"_s);
    EXPECT_TRUE(loaded.value(ctl::cboPrefLocalidad).isEmpty() && !loaded.isListItem(ctl::cboPrefLocalidad));
    // The current post's locality is looked up in the localities clone, which lists by name;
    // the third localities table, empty here, is not the one.
    test::addRows(catalogs.localities, {}, {{"4500100", "Toledo", "45"}, {"0200300", "Almansa", "02"}});
    ASSERT_TRUE(catalogs.localities.setSort(u" Localidad ASC "_s).ok());
    catalogs.cloneLocalities();
    loaded.setText(ctl::cboLocalidadesIxa, u"Almansa"_s);
    resolveDropDownValues(loaded, catalogs);
    EXPECT_EQ(loaded.value(ctl::cboCuerpo), u"20010"_s) << "without a hint the first body of that name";
    EXPECT_TRUE(loaded.value(ctl::cboLocalidadesIxa) == u"0200300"_s &&
                loaded.isListItem(ctl::cboLocalidadesIxa));
}

// The copy a message names holds `bytes` exactly, and no listing of applications shows it.
void expectKeptCopy(const QString& text, const QByteArray& bytes, const PrintingFixture& f) {
    const QRegularExpressionMatch copy = QRegularExpression(u" en (/[^;]+?)[;.]( |$)"_s).match(text);
    ASSERT_TRUE(copy.hasMatch()) << text.toStdString();
    EXPECT_EQ(test::readFile(copy.captured(1)), bytes);
    EXPECT_EQ(QFileInfo(copy.captured(1)).absolutePath(), QFileInfo(f.documentPath()).absolutePath());
    RecordSet listed;
    EXPECT_EQ(listApplications(f.folders.applications, f.fileName().left(9), RecordSet(), listed).valueOr(0),
              1);
}

TEST(SavedApplicationReaderTest, AListsFileThatCannotBeReadIsNeverLost) {
    PrintingFixture f;
    PrintingFixture::addPositions(f.vacancies, 3);
    ASSERT_TRUE(f.runWXP(false).ok());
    const QString listsPath = QDir(f.folders.applications).filePath(sidecarFileName(f.fileName()));
    const QByteArray earlierSave = test::readFile(listsPath);
    f.model.setText(ctl::txtTelefono, u"600000001"_s);
    PrintingFixture::addPositions(f.vacancies, 1, 30000);
    ASSERT_TRUE(f.runWXP(false).ok());
    const QByteArray good = test::readFile(listsPath);

    struct Case {
        QByteArray bytes; // empty: no file
        const char* cause;
    };
    std::vector<Case> cases;
    for (int sixth = 1; sixth < 6; ++sixth)
        cases.push_back({good.left(good.size() * sixth / 6), "no es un fichero XML válido"});
    cases.push_back(
        {QByteArray("PK\x03\x04\x00\xff\xfe basura \x01\x02", 18), "no es un fichero XML válido"});
    cases.push_back({"<?xml version=\"1.0\"?><Solicitud><Vacantes/></Solicitud>",
                     "su elemento principal es <Solicitud>"});
    cases.push_back({QByteArray(good).replace("<Orden>2</Orden>", "<Orden>dos</Orden>"),
                     "El elemento Orden del elemento Plaza número 2 de Vacantes no es un número entero"});
    cases.push_back({earlierSave, "se guardó con otra versión del documento"});
    cases.push_back({QByteArray(), "no existe"});
    for (const Case& c : cases) {
        QFile::remove(listsPath);
        if (!c.bytes.isEmpty())
            test::writeFile(listsPath, c.bytes);
        const auto back = readBack(f.folders.applications, f.fileName());
        ASSERT_TRUE(back->read.ok()) << c.cause;
        EXPECT_EQ(back->lists.vacancies.recordCount(), 0);
        ASSERT_EQ(back->read.value().notices.size(), 1) << c.cause;
        const QString notice = back->read.value().notices.at(0);
        EXPECT_TRUE(
            notice.startsWith(QStringLiteral("La lista de plazas, cursos y documentos de la solicitud no se "
                                             "ha podido leer (%1: %2")
                                  .arg(QDir::toNativeSeparators(listsPath), QString::fromUtf8(c.cause))))
            << notice.toStdString();
        EXPECT_TRUE(notice.endsWith(u"la solicitud se abre sin esas listas."_s));
        if (!c.bytes.isEmpty())
            expectKeptCopy(notice, c.bytes, f);
    }
    // Saving again (the lists the applicant now has) leaves every copy as it was.
    const QStringList copies = QDir(f.folders.applications).entryList({u"*ilegible*"_s});
    EXPECT_EQ(copies.size(), int(cases.size()) - 1);
    ASSERT_TRUE(f.runWXP(false).ok());
    EXPECT_EQ(QDir(f.folders.applications).entryList({u"*ilegible*"_s}), copies);
}

// No copy can be kept of what cannot be read: the application stays closed, naming the cause.
TEST(SavedApplicationReaderTest, AListsFileThatExistsButCannotBeReadKeepsTheApplicationClosed) {
    PrintingFixture f;
    PrintingFixture::addPositions(f.vacancies, 2);
    ASSERT_TRUE(f.runWXP(false).ok());
    const QString listsPath = QDir(f.folders.applications).filePath(sidecarFileName(f.fileName()));
    const QByteArray huge = test::readFile(listsPath) + QByteArray(kMaxListsFileBytes, ' ');
    for (const char* cause : {"en su lugar hay una carpeta", "ocupa más de 10 MB"}) {
        SCOPED_TRACE(cause);
        QFile::remove(listsPath);
        if (cause[0] == 'e')
            ASSERT_TRUE(QDir().mkdir(listsPath)); // unreadable even for root, unlike a chmod
        else
            test::writeFile(listsPath, huge);
        const auto back = readBack(f.folders.applications, f.fileName());
        ASSERT_FALSE(back->read.ok());
        EXPECT_EQ(back->read.error().number, kUnreadableApplication);
        EXPECT_TRUE(back->read.error().description.contains(
            u"(%1) existe pero no se puede leer: %2"_s.arg(QDir::toNativeSeparators(listsPath), cause)))
            << back->read.error().description.toStdString();
        EXPECT_TRUE(back->model.text(ctl::txtNombre).isEmpty()) << "nothing is read to be saved over it";
        QDir(listsPath).removeRecursively();
    }
}

TEST(SavedApplicationReaderTest, TextInAnotherEncodingThanDeclaredIsReadAsWindows1252) {
    PrintingFixture f;
    PrintingFixture::addPositions(f.vacancies, 2);
    ASSERT_TRUE(f.runWXP(false).ok());
    const QString listsPath = QDir(f.folders.applications).filePath(sidecarFileName(f.fileName()));
    QByteArray latin1 = test::readFile(listsPath);
    latin1.replace("<NomConvocatoria>", "<NomConvocatoria>Ca\xF1"
                                        "ada ");
    const QByteArray declared = R"(<?xml version="1.0" encoding="iso-8859-1"?>)";
    for (const QByteArray& declaration :
         {QByteArray(R"(<?xml version="1.0" encoding="UTF-8"?>)"), QByteArray()}) {
        QByteArray bytes = latin1;
        bytes.replace(declared, declaration);
        ASSERT_NE(bytes, latin1);
        test::writeFile(listsPath, bytes);
        const auto back = readBack(f.folders.applications, f.fileName());
        ASSERT_TRUE(back->read.ok());
        back->lists.vacancies.moveFirst();
        EXPECT_TRUE(back->lists.vacancies.text(u"NomConvocatoria").startsWith(u"Cañada "_s));
        ASSERT_EQ(back->read.value().notices.size(), 1);
        EXPECT_TRUE(back->read.value().notices.at(0).contains(u"se ha leído como Windows-1252"_s));
        expectKeptCopy(back->read.value().notices.at(0), bytes, f);
    }
}

TEST(SavedApplicationReaderTest, AnUnreadableDocumentIsRefusedKeepingItsBytes) {
    PrintingFixture f;
    ASSERT_TRUE(f.runWXP(false).ok());
    const QByteArray junk("PK\x03\x04 no es un documento");
    test::writeFile(f.documentPath(), junk);
    auto back = readBack(f.folders.applications, f.fileName());
    ASSERT_FALSE(back->read.ok());
    EXPECT_EQ(back->read.error().number, kUnreadableApplication);
    EXPECT_TRUE(back->read.error().description.startsWith(
        u"Los datos de la solicitud no se han podido leer (%1: "_s.arg(
            QDir::toNativeSeparators(f.documentPath()))));
    expectKeptCopy(back->read.error().description, junk, f);

    const QString listsPath = QDir(f.folders.applications).filePath(sidecarFileName(f.fileName()));
    for (const QString& path : {f.documentPath(), listsPath}) {
        const QString moved = path + u".aparte"_s;
        ASSERT_TRUE(QFile::rename(path, moved));
        ASSERT_TRUE(QFile::link(moved, path));
        back = readBack(f.folders.applications, f.fileName());
        ASSERT_FALSE(back->read.ok());
        EXPECT_TRUE(back->read.error().description.contains(
            u"%1 es un enlace"_s.arg(QDir::toNativeSeparators(path))));
        ASSERT_TRUE(QFile::remove(path));
        ASSERT_TRUE(QFile::rename(moved, path));
    }
}

// Documents of a few fields, as a hand-edited or older save leaves them.
TEST(SavedApplicationReaderTest, OnlyFieldsOfTheRightKindAreRead) {
    test::TempDir dir;
    const auto write = [&](const QString& name, auto fill) {
        docengine::Document doc;
        fill(docengine::DocumentBuilder(doc).paragraph().insertTextField(u"NOMBRE"_s, u"Ana"_s));
        EXPECT_TRUE(doc.saveAs(dir.file(name)).ok());
    };
    write(u"000000001_10010A2.doc"_s, [](docengine::Cursor& c) {
        c.insertCheckBox(u"DISCAPACIDADSI"_s, true)
            .insertCheckBox(u"TARVO"_s, false)
            .insertCheckBox(u"SSOTROS"_s, false);
    });
    ApplicationModel before;
    before.setText(ctl::txtApellido1, u"Previo"_s);
    before.setSelected(ctl::optDiscNo);
    before.setSelected(ctl::optSSTarvo);
    auto back = readBack(dir.path(), u"000000001_10010A2.doc"_s, before);
    ASSERT_TRUE(back->read.ok());
    EXPECT_EQ(back->model.text(ctl::txtNombre) + back->model.text(ctl::txtApellido1), u"AnaPrevio"_s);
    QList<bool> selected;
    for (ControlName option : {ctl::optDiscSi, ctl::optDiscNo, ctl::optSSTarvo, ctl::OptNo})
        selected << back->model.isSelected(option);
    EXPECT_EQ(selected, (QList<bool>{true, false, false, true})) << "no ticked service selects OptNo";
    EXPECT_EQ(back->read.value().lists, SidecarRead::Missing);

    write(u"000000002_10010A2.doc"_s, [](docengine::Cursor& c) {
        c.insertCheckBox(u"NDNI"_s, true).insertTextField(u"TELEFONO"_s, u"600000000"_s);
    });
    back = readBack(dir.path(), u"000000002_10010A2.doc"_s);
    ASSERT_FALSE(back->read.ok());
    EXPECT_EQ(back->model.text(ctl::txtNombre), u"Ana"_s) << "what was read before stays";
    EXPECT_TRUE(back->model.text(ctl::txtTelefono).isEmpty());
    EXPECT_EQ(back->reader.documentCount(), 0);
    EXPECT_FALSE(readBack(dir.path(), u"no-existe.doc"_s)->read.ok());
}

} // namespace
} // namespace velmora
