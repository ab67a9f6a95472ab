#pragma once

#include <QString>

namespace velmora {

class MessageService;
class RecordSet;
struct Error;

// Tells the user that the saved applications could not be listed again (what was listed
// stays on show).
void reportListingFailure(const Error& error, MessageService& messages);

// The choices of the selection window (frmSeleccion) over the signed-in user's saved
// applications: which one to open, and deleting one with the list kept up to date.
// `chosenFile` is always the file name of the chosen row, empty when none is chosen.
class ApplicationSelection {
public:
    enum class Deletion {
        NothingChosen,
        Kept,
        Deleted,
        Failed // a file could not be deleted: the user was told; the list is refreshed all the same
    };

    // `applicationFiles` is the table the window shows; a deletion lists it again in place.
    ApplicationSelection(QString applicationsFolder, const RecordSet& bodies, RecordSet& applicationFiles,
                         MessageService& messages);

    // "Cargar Solicitud": the file to open, or, when none is chosen, "Seleccione una
    // Solicitud" and an empty text.
    QString chooseForLoading(const QString& chosenFile);

    // "Borrar Solicitud": asks first; on "Sí" deletes the document and its sidecar (a missing
    // one is no failure, one that stays is told) and lists the applications of the file's
    // DNI again, telling the user when that listing fails.
    Deletion deleteChosen(const QString& chosenFile);

    // Applications in the list as it stands.
    int count() const;

private:
    bool reportNothingChosen(const QString& chosenFile);

    QString m_folder;
    const RecordSet& m_bodies;
    RecordSet& m_applicationFiles;
    MessageService& m_messages;
};

} // namespace velmora
