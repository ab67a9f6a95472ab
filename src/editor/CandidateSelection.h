#pragma once

#include "catalog/PositionLookup.h"

#include <QString>

#include <optional>
#include <vector>

namespace velmora {

class ApplicationModel;
struct CandidateTables;

// Puts the positions offered to the applicant's body into the editor's candidates tables,
// from the body positions worked out at start-up.
class CandidateSelection {
public:
    CandidateSelection(const std::vector<BodyPositions>& bodyPositions, CandidateTables& tables);

    // SeleccionaPlazasRS: when cboCuerpo holds a non-empty item of its list, selects the
    // positions of the body it names (its value). Answers the caption of lblPlazas when the
    // tables were filled; nullopt when cboCuerpo names no body. A body with no entry is a
    // failure ("Cuerpo no válido", see selectBody) and leaves the tables as they were.
    Result<std::optional<QString>> SeleccionaPlazasRS(const ApplicationModel& model);

    // The same for a body code: the first entry with that code and the offered-only flag
    // gives the vacancy candidates (sorted by "CodConvocatoria") and the resultas candidates.
    // No such entry, or one that cannot be copied: "Error en la carga de datos…" under
    // "Cuerpo no válido" (ItemNotFound), the tables as they were.
    Result<QString> selectBody(const QString& bodyCode);

    // No body chosen: both tables empty.
    void release();

    // "Códigos Localizados: " + rows.
    static QString positionsCaption(int rows);

private:
    const std::vector<BodyPositions>& m_bodyPositions;
    CandidateTables& m_tables;
};

} // namespace velmora
