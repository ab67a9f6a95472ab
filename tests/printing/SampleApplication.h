#pragma once

#include "app/LoadingSequence.h"
#include "applications/ApplicationXml.h"
#include "catalog/CatalogLoader.h"
#include "catalog/CatalogTables.h"
#include "catalog/PositionLookup.h"
#include "editor/ApplicationModel.h"
#include "platform/AppFolders.h"
#include "platform/MessageService.h"
#include "platform/Progress.h"
#include "platform/data/RecordSet.h"
#include "support/SampleApplicant.h"

#include <memory>

namespace velmora::test {

using SilentMessages = SilentMessageService;

// Loads an installation's catalogues the way start-up does.
inline bool loadContest(const QString& root, CatalogTables& tables) {
    SilentMessages messages;
    return loadInstallation(AppFolders::at(root), tables, messages).loaded;
}

// Appends positions ordered from 1, codes firstCode + order, with names of realistic length.
// False when the list refuses a row.
inline bool addSamplePositions(RecordSet& list, int count, int firstCode = 10000) {
    for (int i = 1; i <= count; ++i) {
        if (!list.addNew().ok())
            return false;
        (void)list.setValue(u"IdSolicitud", i);
        (void)list.setValue(u"Orden", i);
        (void)list.setValue(u"CodConvocatoria", QString::number(firstCode + i));
        (void)list.setValue(u"NomConvocatoria",
                            QStringLiteral("Facultativo Especialista de Área - Pediatría %1").arg(i));
        (void)list.setValue(u"Consejeria", QStringLiteral("Gerencia de Atención Integrada de Talavera"));
        (void)list.setValue(u"Localidad", QStringLiteral("Talavera de la Reina"));
        (void)list.setValue(u"Area", QStringLiteral("Área de Salud de Toledo"));
        (void)list.setValue(u"Demarcacion", QStringLiteral("Norte"));
    }
    return true;
}

// Appends courses and documents numbered from 1.
inline void addSampleCourses(RecordSet& list, int count) {
    for (int i = 1; i <= count; ++i) {
        (void)list.addNew();
        (void)list.setValue(u"Curso", QStringLiteral("Curso de formación número %1").arg(i));
        (void)list.setValue(u"NHoras", 10 + i);
        (void)list.setValue(u"Ano", 2000 + i % 20);
        (void)list.setValue(u"Centro", QStringLiteral("Escuela de Salud"));
        (void)list.setValue(u"IdCurso", i);
    }
}

inline void addSampleDocuments(RecordSet& list, int count) {
    for (int i = 1; i <= count; ++i) {
        (void)list.addNew();
        (void)list.setValue(u"IdDocumento", i);
        (void)list.setValue(u"Documento", QStringLiteral("Certificado de servicios %1").arg(i));
        (void)list.setValue(u"Horas", QStringLiteral("20"));
        (void)list.setValue(u"Fecha", QStringLiteral("01/01/2020"));
        (void)list.setValue(u"Centro", QStringLiteral("Hospital Provincial"));
    }
}

// Copies `count` rows of `candidates` into a preference list, ordered from 1; when the
// candidates run out they start over under codes of their own (a list names a code once).
inline void copyPositions(RecordSet& candidates, RecordSet& list, int count) {
    if (candidates.recordCount() == 0)
        return;
    candidates.moveFirst();
    for (int order = 1; order <= count; ++order) {
        const bool again = order > candidates.recordCount();
        if (candidates.isEOF())
            candidates.moveFirst();
        (void)list.addNew();
        (void)list.setValue(u"IdSolicitud", order);
        (void)list.setValue(u"Orden", order);
        for (const char* column :
             {"CodConvocatoria", "NomConvocatoria", "Consejeria", "Localidad", "CodArea", "CodZona", "Area"})
            (void)list.setValue(QString::fromLatin1(column), candidates.text(QString::fromLatin1(column)));
        if (again)
            (void)list.setValue(u"CodConvocatoria", QString::number(90000 + order));
        candidates.moveNext();
    }
}

// An application of the contest's first body that has positions to request: personal data
// picked from the catalogue lists, and lists of the given lengths.
inline bool makeSampleApplication(CatalogTables& tables, ApplicationModel& model, ApplicationLists lists,
                                  int vacancies, int resultas, int courses, int documents) {
    const BodyPositions* positions = nullptr;
    for (tables.bodies.moveFirst(); !tables.bodies.isEOF() && !positions; tables.bodies.moveNext())
        positions = findBodyPositions(tables.bodyPositions, tables.bodies.text(u"CodCuerpo"), true);
    if (!positions || !positions->vacancy || !positions->resultas)
        return false;
    std::unique_ptr<RecordSet> body = tables.bodies.clone();
    if (!body->find(QStringLiteral("CodCuerpo='") + positions->bodyCode + QLatin1Char('\'')).ok() ||
        body->isEOF())
        return false;
    auto firstRow = [](const RecordSet& table, int key, int shown) {
        std::unique_ptr<RecordSet> rows = table.clone();
        rows->moveFirst();
        return std::make_pair(rows->text(key), rows->text(shown));
    };
    const auto province = firstRow(tables.addressProvinces, 0, 1);
    const auto area = firstRow(tables.areas, 0, 1);
    fillSampleApplicant(model, SampleApplicantChoices{.provinceCode = province.first,
                                                      .province = province.second,
                                                      .areaCode = area.first,
                                                      .area = area.second,
                                                      .bodyCode = body->text(u"CodCuerpo"),
                                                      .body = body->text(u"DescCuerpo"),
                                                      .group = body->text(u"Grupo")});
    copyPositions(*positions->vacancy, lists.vacancies, vacancies);
    copyPositions(*positions->resultas, lists.resultas, resultas);
    addSampleCourses(lists.courses, courses);
    addSampleDocuments(lists.documents, documents);
    return true;
}

} // namespace velmora::test
