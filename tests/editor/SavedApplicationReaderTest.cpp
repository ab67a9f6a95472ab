#include "editor/SavedApplicationReader.h"

#include "catalog/CatalogTables.h"
#include "platform/docengine/Document.h"
#include "printing/PrintingFixture.h"
#include "support/EmptyApplicationLists.h"

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
    f.model.setText(u"txtTipoDisc", QStringLiteral("Motora"));
    f.model.setSelected(u"optDiscSi");
    f.model.setSelected(u"optSSOtros");
    f.model.setText(u"txtSS", QStringLiteral("Servicio Andaluz de Salud"));
    f.model.setChoice(u"cboPrefLocalidad", QStringLiteral("4500100"), QStringLiteral("Ajofrín"));
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
    EXPECT_FALSE(loaded.isSelected(u"OptNo"));
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
    for (const char16_t* name : {u"cboCuerpo", u"cboGrupo", u"cboProvincia", u"cboPrefArea"}) {
        EXPECT_EQ(loaded.value(name), f.model.value(name)) << QString::fromUtf16(name).toStdString();
        EXPECT_TRUE(loaded.isListItem(name));
    }
    // No locality table row shows "Ajofrín": the text stays, without a value.
    EXPECT_EQ(loaded.text(u"cboPrefLocalidad"), QStringLiteral("Ajofrín"));
    EXPECT_TRUE(loaded.value(u"cboPrefLocalidad").isEmpty());
    EXPECT_FALSE(loaded.isListItem(u"cboPrefLocalidad"));
    resolveDropDownValues(loaded, catalogs);
    EXPECT_EQ(loaded.value(u"cboCuerpo"), QStringLiteral("20010"))
        << "without a hint the first body of that name";
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
    model.setText(u"cboLocalidadesIxa", QStringLiteral("Almansa"));
    resolveDropDownValues(model, catalogs);
    EXPECT_EQ(model.value(u"cboLocalidadesIxa"), QStringLiteral("0200300"));
    EXPECT_TRUE(model.isListItem(u"cboLocalidadesIxa"));
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
    model.setText(u"txtApellido1", QStringLiteral("Previo"));
    model.setSelected(u"optDiscNo");
    model.setSelected(u"optSSTarvo");
    FreshLists lists;
    docengine::WordProcessor reader;
    Progress progress;
    auto read = readSavedApplication(dir.path(), QStringLiteral("000000001_10010A2.doc"), reader, model,
                                     lists.lists(), progress);
    ASSERT_TRUE(read.ok());
    EXPECT_EQ(model.text(u"txtNombre"), QStringLiteral("Ana"));
    EXPECT_EQ(model.text(u"txtApellido1"), QStringLiteral("Previo"));
    EXPECT_TRUE(model.isSelected(u"optDiscSi"));
    EXPECT_FALSE(model.isSelected(u"optDiscNo"));
    EXPECT_FALSE(model.isSelected(u"optSSTarvo"));
    EXPECT_TRUE(model.isSelected(u"OptNo"));
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
    EXPECT_EQ(model.text(u"txtNombre"), QStringLiteral("Ana"));
    EXPECT_TRUE(model.text(u"txtTelefono").isEmpty());
    EXPECT_EQ(reader.documentCount(), 0);

    EXPECT_FALSE(readSavedApplication(dir.path(), QStringLiteral("no-existe.doc"), reader, model,
                                      lists.lists(), progress)
                     .ok());
}

} // namespace
} // namespace velmora
