#pragma once

#include "platform/Result.h"

#include <QString>

#include <optional>

namespace velmora {

class RecordSet;
class UserQuestions;

// The failure to tell when the saved applications could not be listed again (what was listed
// stays on show).
Error listingFailure(const Error& error);

// The choices of the selection window (frmSeleccion) over the signed-in user's saved
// applications: which one to open, and deleting one with the list kept up to date.
// `chosenFile` is always the file name of the chosen row, empty when none is chosen.
class ApplicationSelection {
public:
    // What "Borrar Solicitud" did, and what the window tells.
    struct Deletion {
        // The deletion was tried (done or not) and the list read again: the window shows it anew.
        bool relisted = false;
        // Nothing chosen; or a file that stayed, then (or alone) a listing that failed.
        std::optional<Error> failure;
    };

    // `applicationFiles` is the table the window shows; a deletion lists it again in place.
    ApplicationSelection(QString applicationsFolder, const RecordSet& bodies, RecordSet& applicationFiles);

    // "Cargar Solicitud": the file to open; none chosen is the failure "Seleccione una Solicitud".
    Result<QString> chooseForLoading(const QString& chosenFile) const;

    // "Borrar Solicitud": asks first; on "Sí" deletes the document and its sidecar (a missing
    // one is no failure, one that stays is) and lists the applications of the file's DNI again.
    Deletion deleteChosen(const QString& chosenFile, UserQuestions& questions);

    // Applications in the list as it stands.
    int count() const;

private:
    QString m_folder;
    const RecordSet& m_bodies;
    RecordSet& m_applicationFiles;
};

} // namespace velmora
