#pragma once

#include "editor/EditPanel.h"
#include "editor/PreferenceListRoutines.h"

#include <QString>

#include <optional>

namespace velmora {

class UserQuestions;
class RecordSet;

// The row chosen in a position drop-down, read from its columns by name.
struct PositionChoice {
    bool isListItem = false; // the drop-down's text is one of its rows
    QString code;            // CodConvocatoria
    QString name;            // NomConvocatoria
    QString institution;     // Consejeria
    QString locality;        // Localidad
    QString areaCode;        // CodArea
    QString zoneCode;        // CodZona
};

// A listed row, as "Modificar" loads it into the panel.
struct ListedPosition {
    qint64 id = 0; // IdSolicitud
    int order = 0;
    QString code;
    QString name;
    QString demarcation;
};

// What the edit panel of one preference list (vacancy or resultas) does with the list:
// add the chosen position at an order, change a row's order, delete a row, append every
// candidate. It keeps the panel's mode.
class PreferenceListEditor {
public:
    // `choiceTitle` titles the messages about the chosen position ("Solicitud Vacantes").
    PreferenceListEditor(RecordSet& list, QString choiceTitle);

    RecordSet& list() const { return m_list; }
    PanelMode mode() const { return m_mode; }
    void setMode(PanelMode mode) { m_mode = mode; }

    // ValidaPlaza: the chosen position must be a row of its drop-down and not be listed yet;
    // otherwise refused (InvalidValue, told under the choice's title with why).
    Status ValidaPlaza(const PositionChoice& choice) const;

    // "Aceptar" while adding: checks the choice, then inserts it at the order of the order box
    // (see CalculaOrden) with a new IdSolicitud, its area and zone names, and the demarcation.
    Status add(const PositionChoice& choice, const QString& orderText, const QString& demarcation,
               const AreaZoneNames& names);

    // "Modificar": the listed row to load into the panel; enters the modifying mode. Nothing
    // when the row is not listed.
    std::optional<ListedPosition> beginModify(qint64 rowId);

    // "Aceptar" while modifying: moves the row with IdSolicitud `idText` from its order to the
    // order of the box and renumbers; the demarcation, when given, is written too. Returns the
    // order the row got (an order past the end is lowered to the last); back to the adding
    // mode. An empty order box is refused (InvalidValue, "Debe asignar un orden a esta plaza")
    // and nothing changes.
    Result<int> modify(const QString& idText, const QString& orderText,
                       const std::optional<QString>& demarcation);

    // "Borrar": asks the applicant, and on "Sí" deletes the row and renumbers. True when the row was deleted.
    Result<bool> confirmAndDelete(qint64 rowId, UserQuestions& questions);

    // "Insertar Todas": InsertaTodasPlazas over the candidates the cursor shows.
    Result<int> insertAll(const RecordSet& candidates, const AreaZoneNames& names,
                          const InsertProgress& progress = {});

private:
    RecordSet& m_list;
    QString m_choiceTitle;
    PanelMode m_mode = PanelMode::Adding;
};

} // namespace velmora
