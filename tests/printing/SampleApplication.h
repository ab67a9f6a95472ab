#pragma once

#include "app/LoadingSequence.h"
#include "applications/ApplicationXml.h"
#include "catalog/CatalogLoader.h"
#include "catalog/CatalogTables.h"
#include "editor/ApplicationModel.h"
#include "platform/AppFolders.h"
#include "platform/Progress.h"
#include "platform/data/RecordSet.h"
#include "support/SampleApplicant.h"

namespace velmora::test {

// Loads an installation's catalogues the way start-up does.
inline bool loadContest(const QString& root, CatalogTables& tables) {
    return loadInstallation(AppFolders::at(root), tables).loaded;
}

// Appends positions ordered from 1, codes firstCode + order, with names of realistic length
// or, when given, these names, institution, zone, area and demarcation. False when the list
// refuses a row.
inline bool addSamplePositions(RecordSet& list, int count, int firstCode = 10000,
                               const QStringList& texts = {}) {
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
        const char16_t* const columns[] = {u"NomConvocatoria", u"Consejeria", u"Localidad", u"Area",
                                           u"Demarcacion"};
        for (int c = 0; c < texts.size() && c < 5; ++c)
            (void)list.setValue(columns[c], texts[c]);
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

// An application of the contest's first body: the sample applicant and lists of the given
// lengths.
inline bool makeSampleApplication(CatalogTables& tables, ApplicationModel& model, ApplicationLists lists,
                                  int vacancies, int resultas, int courses, int documents) {
    tables.bodies.moveFirst();
    if (tables.bodies.isEOF())
        return false;
    fillSampleApplicant(model, SampleApplicantChoices{.bodyCode = tables.bodies.text(u"CodCuerpo"),
                                                      .body = tables.bodies.text(u"DescCuerpo"),
                                                      .group = tables.bodies.text(u"Grupo")});
    addSampleCourses(lists.courses, courses);
    addSampleDocuments(lists.documents, documents);
    return addSamplePositions(lists.vacancies, vacancies) &&
           addSamplePositions(lists.resultas, resultas, 20000);
}

} // namespace velmora::test
