#include "editor/HandListEditor.h"

#include "editor/PreferenceListRoutines.h"
#include "platform/CannotFail.h"
#include "platform/data/RecordSet.h"

namespace velmora {

HandListEditor::HandListEditor(RecordSet& list, QString idColumn, QStringList fields)
    : m_list(list), m_idColumn(std::move(idColumn)), m_fields(std::move(fields)) {}

std::optional<HandListEditor::Row> HandListEditor::beginModify(qint64 rowId) {
    auto row = m_list.clone();
    if (!row->moveToRowId(rowId))
        return std::nullopt;
    m_mode = PanelMode::Modifying;
    Row loaded{row->text(m_idColumn), {}};
    for (const QString& field : m_fields)
        loaded.fields << row->text(field);
    return loaded;
}

Status HandListEditor::writeFields(RecordSet& row, const QStringList& fields) const {
    if (fields.size() != m_fields.size())
        return Error::make(
            ErrorCode::InvalidProcedureCall,
            QStringLiteral("Se esperaban %1 campos y llegaron %2.").arg(m_fields.size()).arg(fields.size()));
    for (qsizetype i = 0; i < m_fields.size(); ++i)
        VELMORA_TRY(row.setValue(m_fields[i], fields[i]));
    return {};
}

Result<qint64> HandListEditor::accept(const QString& idText, const QStringList& fields) {
    const ColumnName idColumn(m_idColumn);
    auto row = m_list.clone();
    if (m_mode == PanelMode::Adding) {
        const auto id = SiguienteValor(m_list, m_idColumn, false);
        if (!id)
            return id.error();
        VELMORA_TRY(row->addNew());
        Status written = row->setValue(idColumn, *id);
        if (written)
            written = writeFields(*row, fields);
        if (!written) {
            // No half-written row stays behind; the row was just added, so it is there to delete.
            cannotFail(row->deleteCurrent());
            return written.error();
        }
        return *id;
    }
    bool isNumber = false;
    const qint64 id = idText.trimmed().toLongLong(&isNumber);
    if (isNumber)
        VELMORA_TRY(row->find(Filter::equals(idColumn, id)));
    if (!isNumber || row->isEOF())
        return Error::make(ErrorCode::NoCurrentRecord,
                           QStringLiteral("La fila %1 ya no está en la lista.").arg(idText));
    VELMORA_TRY(writeFields(*row, fields));
    m_mode = PanelMode::Adding;
    return id;
}

Result<bool> HandListEditor::confirmAndDelete(qint64 rowId, UserQuestions& questions) {
    if (!confirmRowDeletion(questions))
        return false;
    auto row = m_list.clone();
    if (!row->moveToRowId(rowId))
        return false;
    VELMORA_TRY(row->deleteCurrent());
    return true;
}

} // namespace velmora
