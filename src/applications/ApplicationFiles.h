#pragma once

#include "platform/Result.h"

#include <QString>

namespace velmora {

class RecordSet;

// Saved applications: one document per DNI, body and group in the applications folder,
// with a sidecar XML file of the same stem.

// DNI (first 9 characters, left-padded with "0") + body code (first 5 characters,
// left-padded with "_" to 6) + group (first 2 characters, left-padded with "0") + ".doc":
// always 21 characters.
QString applicationFileName(const QString& dni, const QString& bodyCode, const QString& group);

// The sidecar of a document: its name without the 4-character extension, + ".xml".
QString sidecarFileName(const QString& documentName);

// Whether `fileName` names a saved application of `dni`: 21 characters, ending in ".doc" in
// any case, beginning with the DNI. The one rule of the listing and of recovered work.
bool applicationBelongsTo(const QString& fileName, const QString& dni);

// Creates the application files table, open and empty: Fichero 21, DNI 9, Cuerpo 5,
// DescCuerpo 60, Grupo 2, Fecha 16, Solicitud 100 (all text).
Status createApplicationFilesTable(RecordSet& table);

// Rebuilds `table` (any previous content is dropped) with the saved applications of
// `dni` in `folder`: files whose name has 21 characters, ends in ".doc" in any case and
// begins with the DNI. `DescCuerpo` comes from `bodies` (columns CodCuerpo, DescCuerpo),
// searched through a cursor of its own so the caller's filter and position stay put, by the
// code without the "_" padding of a short code; an unknown body leaves it empty. `Cuerpo`
// keeps the five characters of the name as they are. `Fecha` is when the document was last
// written ("dd/MM/yyyy HH:mm"); `Solicitud` joins the DNI, the body (code and name) and that
// date, which tell two applications of one DNI apart. Rows follow the file names in ascending order.
// Returns the number of applications listed.
Result<int> listApplications(const QString& folder, const QString& dni, const RecordSet& bodies,
                             RecordSet& table);

// Deletes the document and its sidecar, under the application's lock. A missing file is
// no failure; one that stays ("No se ha podido borrar FILE: cause") is an error, after the
// other file has been tried as well.
Status deleteApplication(const QString& folder, const QString& fileName);

// Whether `fileName` exists in `folder`. The letters of the name are compared without
// regard to case, since the listing accepts ".DOC" as well as ".doc".
bool applicationFileExists(const QString& folder, const QString& fileName);

} // namespace velmora
