#pragma once

#include "catalog/PositionLookup.h"

#include <QString>

#include <optional>
#include <vector>

namespace velmora {

class ApplicationModel;
class MessageService;
struct CandidateTables;

// Puts the positions offered to the applicant's body into the editor's candidates tables,
// from the body positions worked out at start-up.
class CandidateSelection {
public:
    CandidateSelection(const std::vector<BodyPositions>& bodyPositions, CandidateTables& tables);

    // SeleccionaPlazasRS: when cboCuerpo holds a non-empty item of its list, selects the
    // positions of the body it names (its value). Answers the caption of lblPlazas when the
    // tables were filled; nullopt when cboCuerpo names no body or the body has no entry
    // (then a message was shown and the tables are as they were).
    std::optional<QString> SeleccionaPlazasRS(const ApplicationModel& model, MessageService& messages);

    // The same for a body code: the first entry with that code and the offered-only flag
    // gives the vacancy candidates (sorted by "CodConvocatoria") and the resultas candidates.
    std::optional<QString> selectBody(const QString& bodyCode, MessageService& messages);

    // No body chosen: both tables empty.
    void release();

    // "Códigos Localizados: " + rows.
    static QString positionsCaption(int rows);

private:
    const std::vector<BodyPositions>& m_bodyPositions;
    CandidateTables& m_tables;
};

} // namespace velmora
