#include "applications/ApplicationSelection.h"

#include "applications/ApplicationFiles.h"
#include "platform/MessageService.h"
#include "platform/data/RecordSet.h"

namespace velmora {

ApplicationSelection::ApplicationSelection(QString applicationsFolder, const RecordSet& bodies,
                                           RecordSet& applicationFiles, MessageService& messages)
    : m_folder(std::move(applicationsFolder)), m_bodies(bodies), m_applicationFiles(applicationFiles),
      m_messages(messages) {}

QString ApplicationSelection::chooseForLoading(const QString& chosenFile) {
    if (reportNothingChosen(chosenFile))
        return QString();
    return chosenFile;
}

ApplicationSelection::Deletion ApplicationSelection::deleteChosen(const QString& chosenFile) {
    if (reportNothingChosen(chosenFile))
        return Deletion::NothingChosen;
    if (m_messages.show(QStringLiteral("¿Desea borrar esta solicitud?"), QStringLiteral("Borrar"),
                        MessageIcon::Question, MessageButtons::YesNo) != MessageAnswer::Yes)
        return Deletion::Kept;
    const Status deleted = deleteApplication(m_folder, chosenFile);
    if (!deleted.ok())
        m_messages.inform(deleted.error().description, QStringLiteral("Borrar"), MessageIcon::Critical);
    // A listing that fails leaves what it managed to list; the deletion itself stands.
    if (const auto listed = listApplications(m_folder, chosenFile.left(9), m_bodies, m_applicationFiles);
        !listed.ok())
        reportListingFailure(listed.error(), m_messages);
    return deleted.ok() ? Deletion::Deleted : Deletion::Failed;
}

void reportListingFailure(const Error& error, MessageService& messages) {
    messages.inform(QStringLiteral("No se ha podido leer la lista de solicitudes: %1 %2")
                        .arg(error.description)
                        .arg(error.number),
                    QStringLiteral("Solicitudes"), MessageIcon::Exclamation);
}

int ApplicationSelection::count() const {
    return m_applicationFiles.isOpen() ? m_applicationFiles.recordCount() : 0;
}

bool ApplicationSelection::reportNothingChosen(const QString& chosenFile) {
    if (!chosenFile.isEmpty())
        return false;
    m_messages.show(QStringLiteral("Seleccione una Solicitud"), QStringLiteral("Solicitudes"),
                    MessageIcon::Exclamation, MessageButtons::Ok);
    return true;
}

} // namespace velmora
