#pragma once

#include "editor/EditPanel.h"
#include "platform/Result.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace velmora {

class UserQuestions;
class RecordSet;

// What the edit panel of a list kept by hand (courses, documents) does with the list. Each
// row carries an identifier, given by SiguienteValor (the largest plus one, 0 for the first
// row) and never renumbered, and the fields the panel edits.
class HandListEditor {
public:
    // `idColumn` is the list's identifier column (`IdCurso`); `fields` are the list columns
    // the panel edits, in the panel's order.
    HandListEditor(RecordSet& list, QString idColumn, QStringList fields);

    RecordSet& list() const { return m_list; }
    PanelMode mode() const { return m_mode; }
    void setMode(PanelMode mode) { m_mode = mode; }

    struct Row {
        QString id;
        QStringList fields; // in the order of the constructor's `fields`
    };
    // "Modificar": the row to load into the panel; enters the modifying mode. Nothing when
    // the row is not in the list.
    std::optional<Row> beginModify(qint64 rowId);

    // "Aceptar" once the panel's checks passed: adds a row with a new identifier (adding), or
    // overwrites the fields of the row whose identifier is `idText` (modifying). Returns the
    // row's identifier; back to the adding mode.
    Result<qint64> accept(const QString& idText, const QStringList& fields);

    // "Borrar": asks, and on "Sí" deletes the row. True when it was deleted.
    Result<bool> confirmAndDelete(qint64 rowId, UserQuestions& questions);

private:
    Status writeFields(RecordSet& row, const QStringList& fields) const;

    RecordSet& m_list;
    QString m_idColumn;
    QStringList m_fields;
    PanelMode m_mode = PanelMode::Adding;
};

} // namespace velmora
