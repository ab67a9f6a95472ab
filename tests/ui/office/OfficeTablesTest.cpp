#include "ui/office/OfficeApplicationsModel.h"
#include "ui/office/OfficeTexts.h"

#include "office/PrintRecordFields.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

OfficeApplication readApplication() {
    OfficeApplication application;
    application.id = u"12345678Z_00123_A1"_s;
    application.dni = u"12345678Z"_s;
    application.body = u"00123"_s;
    application.group = u"A1"_s;
    application.hasFirstPage = true;
    for (int i = 0; i < kPrintRecordFieldCount; ++i)
        application.fields << QString();
    application.fields[record::Surname1 - 1] = u"Núñez"_s;
    application.fields[record::Surname1] = u"Pérez"_s;
    application.fields[record::Name - 1] = u"María José"_s;
    application.vacancies = {{1, u"V001"_s, 3}, {2, u"V007"_s, 3}};
    application.resultas = {{1, u"R010"_s, 4}};
    return application;
}

OfficeApplication applicationWithoutFirstPage() {
    OfficeApplication application;
    application.id = u"87654321X_00200_C2"_s;
    application.dni = u"87654321X"_s;
    application.body = u"00200"_s;
    application.group = u"C2"_s;
    application.vacancies = {{1, u"V003"_s, 3}};
    application.problems = {{application.id, u"Falta la primera página"_s, u"página 1"_s}};
    return application;
}

OfficeReadOutcome batch() {
    OfficeReadOutcome outcome;
    outcome.applications = {readApplication(), applicationWithoutFirstPage()};
    outcome.fileProblems = {{u"lote.pdf, página 7"_s, u"Página sin código de barras"_s, {}}};
    outcome.files = 2;
    outcome.pages = 9;
    outcome.pagesWithoutBarcode = 1;
    return outcome;
}

QStringList rowTexts(const QAbstractItemModel& model, int row) {
    QStringList texts;
    for (int column = 0; column < model.columnCount(); ++column)
        texts << model.data(model.index(row, column)).toString();
    return texts;
}

TEST(OfficeTables, ListEachApplicationWithItsCountsAndStatus) {
    OfficeApplicationsModel model;
    model.setApplications(batch().applications);
    ASSERT_EQ(model.rowCount(), 2);
    EXPECT_EQ(rowTexts(model, 0), (QStringList{"12345678Z_00123_A1", "12345678Z", "Núñez Pérez, María José",
                                               "00123", "A1", "2", "1", "Completa"}));
    // Without the first page there is no name to show, but the key's pieces still are.
    EXPECT_EQ(rowTexts(model, 1), (QStringList{"87654321X_00200_C2", "87654321X", "", "00200", "C2", "1", "0",
                                               "Con incidencias"}));
    EXPECT_TRUE(model.data(model.index(1, OfficeApplicationsModel::Status), Qt::ForegroundRole).isValid());
    EXPECT_FALSE(model.data(model.index(0, OfficeApplicationsModel::Status), Qt::ForegroundRole).isValid());
    EXPECT_EQ(model.application(2), nullptr);

    OfficeProblemsModel problems;
    problems.setProblems(batch().applications[1].problems);
    EXPECT_EQ(rowTexts(problems, 0),
              (QStringList{"87654321X_00200_C2", "Falta la primera página", "página 1"}));
}

TEST(OfficeTables, SummaryAndProgressTexts) {
    OfficeReadOutcome outcome = batch();
    EXPECT_EQ(officeSummaryText(outcome),
              QStringLiteral("2 solicitudes leídas: 1 completa, 1 con incidencias. "
                             "9 páginas de 2 ficheros, 1 sin código de barras."));
    OfficeReadOutcome one = outcome; // the first application is the complete one
    one.applications.resize(1);
    one.pages = 1;
    one.files = 1;
    EXPECT_EQ(officeSummaryText(one), QStringLiteral("1 solicitud leída: 1 completa, 0 con incidencias. "
                                                     "1 página de 1 fichero, 1 sin código de barras."));
    outcome.cancelled = true;
    EXPECT_TRUE(officeSummaryText(outcome).endsWith(u" Lectura cancelada: faltan páginas por leer."_s));
    EXPECT_EQ(officeProgressText(3, 40), u"Página 3 de 40"_s);
}

} // namespace
} // namespace velmora
