#include "editor/SavedApplicationReader.h"
#include "editor/ControlName.h"

#include "applications/ApplicationFiles.h"
#include "catalog/CatalogTables.h"
#include "platform/docengine/Document.h"
#include "printing/PrintingFixture.h"
#include "support/EmptyApplicationLists.h"

#include <QRegularExpression>

#include <gtest/gtest.h>

namespace velmora {
namespace {

using test::PrintingFixture;
using FreshLists = test::EmptyApplicationLists;

void addRow(RecordSet& table, const QList<QVariant>& values) {
    ASSERT_TRUE(table.addNew().ok());
    for (int c = 0; c < values.size(); ++c)
        ASSERT_TRUE(table.setValue(c, values.at(c)).ok());
}

TEST(SavedApplicationReaderTest, ASavedApplicationReadsBackIntoTheModelItWasSavedFrom) {
    PrintingFixture f;
    f.model.setText(ctl::txtTipoDisc, QStringLiteral("Motora"));
    f.model.setSelected(ctl::optDiscSi);
    f.model.setSelected(ctl::optSSOtros);
    f.model.setText(ctl::txtSS, QStringLiteral("Servicio Andaluz de Salud"));
    f.model.setChoice(ctl::cboPrefLocalidad, QStringLiteral("4500100"), QStringLiteral("Ajofrín"));
    PrintingFixture::addCourses(f.courses, 4);
    PrintingFixture::addDocuments(f.documents, 2);
    PrintingFixture::addPositions(f.vacancies, 7);
    PrintingFixture::addPositions(f.resultas, 3, 20000);
    ASSERT_TRUE(f.runWXP(false).ok());

    ApplicationModel loaded;
    FreshLists lists;
    docengine::WordProcessor reader;
    Progress progress;
    auto read =
        readSavedApplication(f.folders.applications, f.fileName(), reader, loaded, lists.lists(), progress);
    ASSERT_TRUE(read.ok()) << read.error().description.toStdString();
    EXPECT_EQ(reader.documentCount(), 0) << "the document made for reading stays open";
    EXPECT_EQ(read.value().categoryCaption, QStringLiteral("Enfermero/a"));
    EXPECT_EQ(read.value().currentPostTicks, 1);
    EXPECT_EQ(read.value().lists, SidecarRead::Loaded);
    EXPECT_EQ(progress.value(), 324);

    for (const FormControl* saved : f.model.taggedControls()) {
        const FormControl* back = loaded.find(saved->name);
        ASSERT_NE(back, nullptr);
        if (saved->kind == ControlKind::OptionButton)
            EXPECT_EQ(back->selected, saved->selected) << saved->name.toStdString();
        else
            EXPECT_EQ(back->text, saved->text) << saved->name.toStdString();
    }
    EXPECT_FALSE(loaded.isSelected(ctl::OptNo));
    EXPECT_EQ(buildApplicationXml(lists.lists()),
              buildApplicationXml({f.vacancies, f.resultas, f.courses, f.documents}));

    // The drop-downs get their values back from the tables they are bound to.
    CatalogTables catalogs;
    addRow(catalogs.bodies, {QStringLiteral("20010"), QStringLiteral("Enfermero/a"), QStringLiteral("A1")});
    addRow(catalogs.bodies, {QStringLiteral("10010"), QStringLiteral("Enfermero/a"), QStringLiteral("A2")});
    addRow(catalogs.groups, {QStringLiteral("A2")});
    addRow(catalogs.addressProvinces, {QStringLiteral("45"), QStringLiteral("Toledo")});
    addRow(catalogs.areas,
           {QStringLiteral("07"), QStringLiteral("Área de Salud de Toledo"), QStringLiteral("45")});
    resolveDropDownValues(loaded, catalogs, QStringLiteral("10010"));
    for (ControlName name : {ctl::cboCuerpo, ctl::cboGrupo, ctl::cboProvincia, ctl::cboPrefArea}) {
        EXPECT_EQ(loaded.value(name), f.model.value(name)) << name.toString().toStdString();
        EXPECT_TRUE(loaded.isListItem(name));
    }
    // No locality table row shows "Ajofrín": the text stays, without a value.
    EXPECT_EQ(loaded.text(ctl::cboPrefLocalidad), QStringLiteral("Ajofrín"));
    EXPECT_TRUE(loaded.value(ctl::cboPrefLocalidad).isEmpty());
    EXPECT_FALSE(loaded.isListItem(ctl::cboPrefLocalidad));
    resolveDropDownValues(loaded, catalogs);
    EXPECT_EQ(loaded.value(ctl::cboCuerpo), QStringLiteral("20010"))
        << "without a hint the first body of that name";
}

struct ReadBack {
    Result<LoadedApplication> read = Error{};
    FreshLists lists;
};

std::unique_ptr<ReadBack> readBack(PrintingFixture& f) {
    auto back = std::make_unique<ReadBack>();
    ApplicationModel model;
    docengine::WordProcessor reader;
    Progress progress;
    back->read = readSavedApplication(f.folders.applications, f.fileName(), reader, model,
                                      back->lists.lists(), progress);
    return back;
}

// The copy a message names holds `bytes` exactly, and no listing of applications shows it.
void expectKeptCopy(const QString& text, const QByteArray& bytes, const PrintingFixture& f) {
    const QRegularExpressionMatch copy =
        QRegularExpression(QStringLiteral(" en (/[^;]+?)[;.]( |$)")).match(text);
    ASSERT_TRUE(copy.hasMatch()) << text.toStdString();
    QFile file(copy.captured(1));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << copy.captured(1).toStdString();
    EXPECT_EQ(file.readAll(), bytes);
    EXPECT_EQ(QFileInfo(file).absolutePath(), QFileInfo(f.documentPath()).absolutePath());
    RecordSet listed;
    EXPECT_EQ(listApplications(f.folders.applications, f.fileName().left(9), RecordSet(), listed).valueOr(0),
              1);
}

TEST(SavedApplicationReaderTest, AListsFileThatCannotBeReadIsSaidKeptAndNeverSavedOver) {
    PrintingFixture f;
    PrintingFixture::addPositions(f.vacancies, 3);
    ASSERT_TRUE(f.runWXP(false).ok());
    const QString listsPath = QDir(f.folders.applications).filePath(sidecarFileName(f.fileName()));
    auto bytesOf = [](const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    };
    const QByteArray earlierSave = bytesOf(listsPath);
    f.model.setText(ctl::txtTelefono, QStringLiteral("600000001"));
    PrintingFixture::addPositions(f.vacancies, 1, 30000);
    ASSERT_TRUE(f.runWXP(false).ok());
    const QByteArray good = bytesOf(listsPath);

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
        if (!c.bytes.isEmpty()) {
            QFile file(listsPath);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
            file.write(c.bytes);
        }
        const auto back = readBack(f);
        ASSERT_TRUE(back->read.ok()) << c.cause;
        EXPECT_EQ(back->lists.vacancies.recordCount(), 0);
        ASSERT_EQ(back->read.value().notices.size(), 1) << c.cause;
        const QString notice = back->read.value().notices.at(0);
        EXPECT_TRUE(
            notice.startsWith(QStringLiteral("La lista de plazas, cursos y documentos de la solicitud no se "
                                             "ha podido leer (%1: %2")
                                  .arg(QDir::toNativeSeparators(listsPath), QString::fromUtf8(c.cause))))
            << notice.toStdString();
        EXPECT_TRUE(notice.endsWith(QStringLiteral("la solicitud se abre sin esas listas.")));
        if (!c.bytes.isEmpty())
            expectKeptCopy(notice, c.bytes, f);
    }
    // Saving again (the lists the applicant now has) leaves every copy as it was.
    const QStringList copies = QDir(f.folders.applications).entryList({QStringLiteral("*ilegible*")});
    EXPECT_EQ(copies.size(), int(cases.size()) - 1);
    ASSERT_TRUE(f.runWXP(false).ok());
    EXPECT_EQ(QDir(f.folders.applications).entryList({QStringLiteral("*ilegible*")}), copies);
}

TEST(SavedApplicationReaderTest, TextInAnotherEncodingThanDeclaredIsReadAsWindows1252AndKept) {
    PrintingFixture f;
    PrintingFixture::addPositions(f.vacancies, 2);
    ASSERT_TRUE(f.runWXP(false).ok());
    const QString listsPath = QDir(f.folders.applications).filePath(sidecarFileName(f.fileName()));
    QFile saved(listsPath);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    QByteArray latin1 = saved.readAll();
    saved.close();
    latin1.replace("<NomConvocatoria>", "<NomConvocatoria>Ca\xF1"
                                        "ada ");
    const QByteArray declared = R"(<?xml version="1.0" encoding="iso-8859-1"?>)";
    for (const QByteArray& declaration :
         {QByteArray(R"(<?xml version="1.0" encoding="UTF-8"?>)"), QByteArray()}) {
        QByteArray bytes = latin1;
        bytes.replace(declared, declaration);
        ASSERT_NE(bytes, latin1);
        QFile file(listsPath);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
        file.close();
        const auto back = readBack(f);
        ASSERT_TRUE(back->read.ok());
        back->lists.vacancies.moveFirst();
        EXPECT_TRUE(back->lists.vacancies.text(u"NomConvocatoria").startsWith(QStringLiteral("Cañada ")));
        ASSERT_EQ(back->read.value().notices.size(), 1);
        EXPECT_TRUE(
            back->read.value().notices.at(0).contains(QStringLiteral("se ha leído como Windows-1252")));
        expectKeptCopy(back->read.value().notices.at(0), bytes, f);
    }
}

TEST(SavedApplicationReaderTest, ADamagedDocumentIsKeptAndLinksAreNeverRead) {
    PrintingFixture f;
    ASSERT_TRUE(f.runWXP(false).ok());
    const QByteArray junk("PK\x03\x04 no es un documento");
    {
        QFile document(f.documentPath());
        ASSERT_TRUE(document.open(QIODevice::WriteOnly | QIODevice::Truncate));
        document.write(junk);
    }
    auto back = readBack(f);
    ASSERT_FALSE(back->read.ok());
    EXPECT_EQ(back->read.error().number, kUnreadableApplication);
    EXPECT_TRUE(back->read.error().description.startsWith(
        QStringLiteral("Los datos de la solicitud no se han podido leer (%1: ")
            .arg(QDir::toNativeSeparators(f.documentPath()))));
    expectKeptCopy(back->read.error().description, junk, f);

    const QString listsPath = QDir(f.folders.applications).filePath(sidecarFileName(f.fileName()));
    for (const QString& path : {f.documentPath(), listsPath}) {
        const QString moved = path + QStringLiteral(".aparte");
        ASSERT_TRUE(QFile::rename(path, moved));
        ASSERT_TRUE(QFile::link(moved, path));
        back = readBack(f);
        ASSERT_FALSE(back->read.ok());
        EXPECT_TRUE(back->read.error().description.contains(
            QStringLiteral("%1 es un enlace").arg(QDir::toNativeSeparators(path))));
        ASSERT_TRUE(QFile::remove(path));
        ASSERT_TRUE(QFile::rename(moved, path));
    }
}

TEST(SavedApplicationReaderTest, CurrentPostLocalityResolvesAgainstTheLocalitiesCloneInNameOrder) {
    CatalogTables catalogs;
    addRow(catalogs.localities, {QStringLiteral("4500100"), QStringLiteral("Toledo"), QStringLiteral("45")});
    addRow(catalogs.localities, {QStringLiteral("0200300"), QStringLiteral("Almansa"), QStringLiteral("02")});
    ASSERT_TRUE(catalogs.localities.setSort(QStringLiteral(" Localidad ASC ")).ok());
    catalogs.cloneLocalities();
    ASSERT_TRUE(catalogs.localitiesClone->sharesRowsWith(catalogs.localities));
    catalogs.localitiesClone->moveFirst();
    EXPECT_EQ(catalogs.localitiesClone->text(1), QStringLiteral("Almansa"));

    // The third localities table stays empty here: only the clone knows Almansa.
    ApplicationModel model;
    model.setText(ctl::cboLocalidadesIxa, QStringLiteral("Almansa"));
    resolveDropDownValues(model, catalogs);
    EXPECT_EQ(model.value(ctl::cboLocalidadesIxa), QStringLiteral("0200300"));
    EXPECT_TRUE(model.isListItem(ctl::cboLocalidadesIxa));
}

TEST(SavedApplicationReaderTest, MissingFieldsAreSkippedAndNoTickedServiceSelectsOptNo) {
    test::TempDir dir;
    docengine::Document doc;
    docengine::DocumentBuilder b(doc);
    b.paragraph()
        .insertTextField(QStringLiteral("NOMBRE"), QStringLiteral("Ana"))
        .insertCheckBox(QStringLiteral("DISCAPACIDADSI"), true)
        .insertCheckBox(QStringLiteral("TARVO"), false)
        .insertCheckBox(QStringLiteral("SSOTROS"), false);
    ASSERT_TRUE(doc.saveAs(dir.file(QStringLiteral("000000001_10010A2.doc"))).ok());

    ApplicationModel model;
    model.setText(ctl::txtApellido1, QStringLiteral("Previo"));
    model.setSelected(ctl::optDiscNo);
    model.setSelected(ctl::optSSTarvo);
    FreshLists lists;
    docengine::WordProcessor reader;
    Progress progress;
    auto read = readSavedApplication(dir.path(), QStringLiteral("000000001_10010A2.doc"), reader, model,
                                     lists.lists(), progress);
    ASSERT_TRUE(read.ok());
    EXPECT_EQ(model.text(ctl::txtNombre), QStringLiteral("Ana"));
    EXPECT_EQ(model.text(ctl::txtApellido1), QStringLiteral("Previo"));
    EXPECT_TRUE(model.isSelected(ctl::optDiscSi));
    EXPECT_FALSE(model.isSelected(ctl::optDiscNo));
    EXPECT_FALSE(model.isSelected(ctl::optSSTarvo));
    EXPECT_TRUE(model.isSelected(ctl::OptNo));
    EXPECT_EQ(read.value().lists, SidecarRead::Missing);
    EXPECT_EQ(lists.vacancies.recordCount(), 0);
}

TEST(SavedApplicationReaderTest, AFieldOfAnotherKindAbandonsTheReadingKeepingWhatWasRead) {
    test::TempDir dir;
    docengine::Document doc;
    docengine::DocumentBuilder b(doc);
    b.paragraph()
        .insertTextField(QStringLiteral("NOMBRE"), QStringLiteral("Ana"))
        .insertCheckBox(QStringLiteral("NDNI"), true)
        .insertTextField(QStringLiteral("TELEFONO"), QStringLiteral("600000000"));
    ASSERT_TRUE(doc.saveAs(dir.file(QStringLiteral("000000001_10010A2.doc"))).ok());

    ApplicationModel model;
    FreshLists lists;
    docengine::WordProcessor reader;
    Progress progress;
    auto read = readSavedApplication(dir.path(), QStringLiteral("000000001_10010A2.doc"), reader, model,
                                     lists.lists(), progress);
    ASSERT_FALSE(read.ok());
    EXPECT_EQ(model.text(ctl::txtNombre), QStringLiteral("Ana"));
    EXPECT_TRUE(model.text(ctl::txtTelefono).isEmpty());
    EXPECT_EQ(reader.documentCount(), 0);

    EXPECT_FALSE(readSavedApplication(dir.path(), QStringLiteral("no-existe.doc"), reader, model,
                                      lists.lists(), progress)
                     .ok());
}

} // namespace
} // namespace velmora
