#include "applications/ApplicationSelection.h"

#include "applications/ApplicationFiles.h"
#include "platform/UserQuestions.h"
#include "platform/data/RecordSet.h"

namespace velmora {
namespace {

Error nothingChosen() {
    return Error::told(ErrorCode::InvalidValue, QStringLiteral("Seleccione una Solicitud"),
                       QStringLiteral("Solicitudes"), MessageIcon::Exclamation);
}

} // namespace

ApplicationSelection::ApplicationSelection(QString applicationsFolder, const RecordSet& bodies,
                                           RecordSet& applicationFiles)
    : m_folder(std::move(applicationsFolder)), m_bodies(bodies), m_applicationFiles(applicationFiles) {}

Result<QString> ApplicationSelection::chooseForLoading(const QString& chosenFile) const {
    if (chosenFile.isEmpty())
        return nothingChosen();
    return chosenFile;
}

ApplicationSelection::Deletion ApplicationSelection::deleteChosen(const QString& chosenFile,
                                                                  UserQuestions& questions) {
    Deletion outcome;
    if (chosenFile.isEmpty()) {
        outcome.failure = nothingChosen();
        return outcome;
    }
    if (questions.ask(QStringLiteral("¿Desea borrar esta solicitud?"), QStringLiteral("Borrar"),
                      MessageIcon::Question, QuestionButtons::YesNo) != MessageAnswer::Yes)
        return outcome;
    outcome.relisted = true;
    if (const Status deleted = deleteApplication(m_folder, chosenFile); !deleted.ok())
        outcome.failure = Error::told(deleted.error().number, deleted.error().description,
                                      QStringLiteral("Borrar"), MessageIcon::Critical);
    // A listing that fails leaves what it managed to list; the deletion itself stands.
    if (const auto listed = listApplications(m_folder, chosenFile.left(9), m_bodies, m_applicationFiles);
        !listed.ok())
        outcome.failure = outcome.failure ? listingFailure(listed.error()).after(*outcome.failure)
                                          : listingFailure(listed.error());
    return outcome;
}

Error listingFailure(const Error& error) {
    return Error::told(error.number,
                       QStringLiteral("No se ha podido leer la lista de solicitudes: %1 %2")
                           .arg(error.description)
                           .arg(error.number),
                       QStringLiteral("Solicitudes"), MessageIcon::Exclamation);
}

int ApplicationSelection::count() const {
    return m_applicationFiles.isOpen() ? m_applicationFiles.recordCount() : 0;
}

} // namespace velmora
