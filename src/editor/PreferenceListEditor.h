#pragma once

#include "editor/EditPanel.h"
#include "editor/PreferenceListRoutines.h"

#include <QString>

#include <optional>

namespace velmora {

class MessageService;
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

    enum class ChoiceCheck { Valid, NotAnItem, AlreadyListed };
    // ValidaPlaza: the chosen position must be a row of its drop-down and not be listed yet;
    // shows why otherwise.
    Result<ChoiceCheck> ValidaPlaza(const PositionChoice& choice, MessageService& messages) const;

    // "Aceptar" while adding: checks the choice, then inserts it at the order of the order box
    // (see CalculaOrden) with a new IdSolicitud, its area and zone names, and the demarcation.
    // Returns the check's verdict (Valid when the row was added).
    Result<ChoiceCheck> add(const PositionChoice& choice, const QString& orderText,
                            const QString& demarcation, const AreaZoneNames& names, MessageService& messages);

    // "Modificar": the listed row to load into the panel; enters the modifying mode. Nothing
    // when the row is not listed.
    std::optional<ListedPosition> beginModify(qint64 rowId);

    struct Modification {
        bool done = false; // false: the order box was empty, the message was shown, nothing changed
        int order = 0;     // the order the row got (an order past the end is lowered to the last)
    };
    // "Aceptar" while modifying: moves the row with IdSolicitud `idText` from its order to the
    // order of the box and renumbers; the demarcation, when given, is written too. Back to the
    // adding mode when done.
    Result<Modification> modify(const QString& idText, const QString& orderText,
                                const std::optional<QString>& demarcation, MessageService& messages);

    // "Borrar": asks, and on "Sí" deletes the row and renumbers. True when the row was deleted.
    Result<bool> confirmAndDelete(qint64 rowId, MessageService& messages);

    // "Insertar Todas": InsertaTodasPlazas over the candidates the cursor shows.
    Result<int> insertAll(const RecordSet& candidates, const AreaZoneNames& names,
                          const InsertProgress& progress = {});

private:
    RecordSet& m_list;
    QString m_choiceTitle;
    PanelMode m_mode = PanelMode::Adding;
};

} // namespace velmora
