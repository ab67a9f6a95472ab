#include "editor/PreferenceListEditor.h"

#include "applications/ApplicationColumns.h"
#include "platform/UserQuestions.h"
#include "platform/data/RecordSet.h"

#include <algorithm>

namespace velmora {
namespace {

namespace pl = col::PreferenceList;
constexpr ColumnName kOrder = pl::Orden;

Error rowNotListed(const QString& id) {
    return Error::make(ErrorCode::NoCurrentRecord,
                       QStringLiteral("La plaza %1 ya no está en la lista de plazas solicitadas.").arg(id));
}

} // namespace

PreferenceListEditor::PreferenceListEditor(RecordSet& list, QString choiceTitle)
    : m_list(list), m_choiceTitle(std::move(choiceTitle)) {}

Status PreferenceListEditor::ValidaPlaza(const PositionChoice& choice) const {
    const auto refusal = [this](const QString& why) {
        return Error::told(ErrorCode::InvalidValue, why, m_choiceTitle, MessageIcon::Exclamation);
    };
    // An empty drop-down can match a listed position that has no name, and would then add a
    // row with no position code.
    if (!choice.isListItem || choice.code.isEmpty())
        return refusal(QStringLiteral("El puesto elegido no es válido"));
    const auto listed = PlazaIncluida(choice.code, m_list);
    if (!listed)
        return listed.error();
    if (*listed)
        return refusal(QStringLiteral("Este puesto ya ha sido agregado a la solicitud"));
    return {};
}

Status PreferenceListEditor::add(const PositionChoice& choice, const QString& orderText,
                                 const QString& demarcation, const AreaZoneNames& names) {
    VELMORA_TRY(ValidaPlaza(choice));
    const auto id = SiguienteValor(m_list, QStringLiteral("Solicitud"), true);
    if (!id)
        return id.error();
    const auto order = CalculaOrden(m_list, orderText);
    if (!order)
        return order.error();

    auto row = m_list.clone();
    VELMORA_TRY(row->addNew());
    const std::pair<ColumnName, QVariant> values[] = {
        {pl::IdSolicitud, *id},
        {pl::Orden, *order},
        {pl::CodConvocatoria, choice.code},
        {pl::NomConvocatoria, choice.name},
        {pl::Consejeria, choice.institution},
        {pl::Localidad, choice.locality},
        {pl::CodArea, choice.areaCode},
        {pl::CodZona, choice.zoneCode},
        {pl::Area, choice.areaCode.isEmpty() ? QString() : names.areaName(choice.areaCode)},
        {pl::Zona, choice.zoneCode.isEmpty() ? QString() : names.zoneName(choice.zoneCode)},
        {pl::Demarcacion, demarcation},
    };
    for (const auto& [column, value] : values)
        VELMORA_TRY(row->setValue(column, value));
    return m_list.setSort(ascending(kOrder));
}

std::optional<ListedPosition> PreferenceListEditor::beginModify(qint64 rowId) {
    auto row = m_list.clone();
    if (!row->moveToRowId(rowId))
        return std::nullopt;
    m_mode = PanelMode::Modifying;
    ListedPosition loaded;
    loaded.id = row->integer(pl::IdSolicitud);
    loaded.order = int(row->integer(kOrder));
    loaded.code = row->text(pl::CodConvocatoria);
    loaded.name = row->text(pl::NomConvocatoria);
    loaded.demarcation = row->text(pl::Demarcacion);
    return loaded;
}

Result<int> PreferenceListEditor::modify(const QString& idText, const QString& orderText,
                                         const std::optional<QString>& demarcation) {
    const std::optional<int> wanted = orderOfText(orderText);
    if (!wanted)
        return Error::told(ErrorCode::InvalidValue, QStringLiteral("Debe asignar un orden a esta plaza"),
                           QStringLiteral("Error"), MessageIcon::Exclamation);
    bool isNumber = false;
    const qint64 id = idText.trimmed().toLongLong(&isNumber);
    if (!isNumber)
        return rowNotListed(idText);
    auto row = m_list.clone();
    VELMORA_TRY(row->find(Filter::equals(pl::IdSolicitud, id)));
    if (row->isEOF())
        return rowNotListed(idText);

    const int order = std::min(*wanted, row->recordCount());
    // The row's own order is where it leaves from: it is what "Modificar" showed, and it
    // cannot go stale while another panel is modifying a row of the other list.
    const int previous = int(row->integer(kOrder));
    VELMORA_TRY(ReordenaPlazas(m_list, kOrder, previous, order));
    VELMORA_TRY(row->setValue(kOrder, order));
    if (demarcation)
        VELMORA_TRY(row->setValue(pl::Demarcacion, *demarcation));
    VELMORA_TRY(NumeraOrden(m_list, kOrder));
    m_mode = PanelMode::Adding;
    return order;
}

Result<bool> PreferenceListEditor::confirmAndDelete(qint64 rowId, UserQuestions& questions) {
    if (!confirmRowDeletion(questions))
        return false;
    auto row = m_list.clone();
    if (!row->moveToRowId(rowId))
        return false;
    VELMORA_TRY(row->deleteCurrent());
    VELMORA_TRY(NumeraOrden(m_list, kOrder));
    return true;
}

Result<int> PreferenceListEditor::insertAll(const RecordSet& candidates, const AreaZoneNames& names,
                                            const InsertProgress& progress) {
    return InsertaTodasPlazas(candidates, m_list, names, progress);
}

} // namespace velmora
