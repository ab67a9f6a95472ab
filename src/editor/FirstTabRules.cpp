#include "editor/FirstTabRules.h"

#include "catalog/CatalogColumns.h"
#include "editor/ApplicationModel.h"
#include "editor/DateField.h"
#include "platform/data/RecordSet.h"

#include <initializer_list>
#include <optional>

namespace velmora {
namespace {

struct SituationRow {
    QString code;
    QString text;
    bool isOther = false;
};

// The first row of the situations table whose `column` holds `wanted`.
std::optional<SituationRow> findSituation(const RecordSet& situations, ColumnName column,
                                          const QString& wanted) {
    if (!situations.isOpen())
        return std::nullopt;
    const int code = situations.columnIndex(col::Situations::CodSituacion);
    const int text = situations.columnIndex(col::Situations::Situacion);
    const int other = situations.columnIndex(col::Situations::esOtras);
    const int searched = situations.columnIndex(column);
    if (code < 0 || text < 0 || other < 0 || searched < 0)
        return std::nullopt;
    const std::unique_ptr<RecordSet> rows = situations.clone();
    for (int position = 0; position < rows->recordCount(); ++position)
        if (rows->textAt(position, searched) == wanted)
            return SituationRow{rows->textAt(position, code), rows->textAt(position, text),
                                isOtherSituationFlag(rows->textAt(position, other))};
    return std::nullopt;
}

} // namespace

bool isOtherSituationFlag(const QString& esOtras) {
    return esOtras == QLatin1String("1");
}

bool isOtherSituation(const RecordSet& situations, const QString& code) {
    if (code.isEmpty())
        return false;
    const std::optional<SituationRow> row = findSituation(situations, col::Situations::CodSituacion, code);
    return row && row->isOther;
}

bool FirstTabRules::optionClicked(QStringView name) {
    if (name == ctl::optDiscSi || name == ctl::optDiscNo)
        disabilityClicked();
    else if (name == ctl::optVoluntario || name == ctl::optForzoso)
        participationClicked();
    else if (name == ctl::optPetConyugeSi || name == ctl::optPetConyugeNo)
        familyConditionClicked();
    else if (name == ctl::optActivo || name == ctl::optOtras)
        situationClicked();
    else if (name == ctl::OptSi || name == ctl::OptNo)
        currentPostClicked();
    else if (name == ctl::optDefinitivo || name == ctl::optTemporal)
        postNatureClicked();
    else if (name == ctl::optSSTarvo || name == ctl::optSSOtros)
        healthServiceClicked();
    else
        return false;
    return true;
}

void FirstTabRules::disabilityClicked() {
    const bool disabled = m_model.isSelected(ctl::optDiscSi);
    for (ControlName name : {ctl::lblTipoDis, ctl::txtTipoDisc, ctl::lblAdap, ctl::txtAdaptaciones})
        show(name, disabled);
    if (!disabled) {
        m_model.setText(ctl::txtTipoDisc, QString());
        m_model.setText(ctl::txtAdaptaciones, QString());
    }
}

void FirstTabRules::participationClicked() {
    // Only a forced participant loses the family-reasons block; "Voluntario" leaves it as is.
    if (!m_model.isSelected(ctl::optForzoso))
        return;
    // Selecting "No" is a click of its own: the other applicant's data goes with it.
    m_model.setSelected(ctl::optPetConyugeNo);
    familyConditionClicked();
    show(ctl::fraDNIConyuge, false);
    m_model.setText(ctl::txtDNIConyuge, QString());
    show(ctl::fraAcopPetConyu, false);
}

void FirstTabRules::familyConditionClicked() {
    const bool conditioned = m_model.isSelected(ctl::optPetConyugeSi);
    show(ctl::fraDNIConyuge, conditioned);
    if (conditioned)
        return;
    for (ControlName name :
         {ctl::txtDNIConyuge, ctl::txtConyuApellido1, ctl::txtCOnyuApellido2, ctl::txtConyuNombre})
        m_model.setText(name, QString());
}

void FirstTabRules::situationClicked() {
    if (m_model.isSelected(ctl::optActivo)) {
        // An active employee cannot ask for re-entry.
        m_model.setSelected(ctl::optReingresoNo);
        m_model.setEnabled(ctl::fraReingreso, false);
        show(ctl::txtFechaSit, false);
        show(ctl::lblFechaSit, false);
        m_model.setText(ctl::txtFechaSit, QString());
        show(ctl::txtSitAdm, false);
        m_model.setText(ctl::txtSitAdm, QString());
        m_model.clearChoice(ctl::cboSituaciones);
        show(ctl::cboSituaciones, false);
        return;
    }
    m_model.setEnabled(ctl::fraReingreso, true);
    if (m_model.isSelected(ctl::optOtras)) {
        show(ctl::cboSituaciones, true);
        m_model.setText(ctl::txtSitAdm, QString());
    } else {
        show(ctl::txtSitAdm, false);
        m_model.setText(ctl::txtSitAdm, QString());
        m_model.clearChoice(ctl::cboSituaciones);
    }
    show(ctl::txtFechaSit, true);
    show(ctl::lblFechaSit, true);
}

void FirstTabRules::situationsListClosed(const QString& esOtras, const QString& shownText) {
    m_model.setText(ctl::txtSitAdm, QString());
    if (isOtherSituationFlag(esOtras)) {
        show(ctl::txtSitAdm, true);
        if (!m_loading)
            m_model.requestFocus(ctl::txtSitAdm);
        return;
    }
    show(ctl::txtSitAdm, false);
    m_model.setText(ctl::txtSitAdm, shownText);
}

void FirstTabRules::currentPostClicked() {
    const bool holdsPost = m_model.isSelected(ctl::OptSi);
    for (ControlName name :
         {ctl::Frame7, ctl::Frame3, ctl::fraDefTemp, ctl::txtFecPosesion, ctl::lblPosesion})
        show(name, holdsPost);
    if (holdsPost)
        return;
    for (ControlName name :
         {ctl::txtFecPosesion, ctl::txtPuesto, ctl::txtLocalidadPuesto, ctl::txtProvinciaPuesto, ctl::txtSS})
        m_model.setText(name, QString());
}

void FirstTabRules::postNatureClicked() {
    const bool definitive = m_model.isSelected(ctl::optDefinitivo);
    show(ctl::txtFecPosesion, definitive);
    show(ctl::lblPosesion, definitive);
    if (!definitive)
        m_model.setText(ctl::txtFecPosesion, QString());
}

void FirstTabRules::healthServiceClicked() {
    if (m_model.isSelected(ctl::optSSOtros)) {
        show(ctl::txtSS, true);
        if (!m_loading)
            m_model.requestFocus(ctl::txtSS);
        return;
    }
    show(ctl::txtSS, false);
    m_model.setText(ctl::txtSS, QString());
}

void FirstTabRules::addressProvinceChanged() {
    const QString province = m_model.value(ctl::cboProvincia);
    if (!province.isEmpty())
        m_model.setText(ctl::txtCP, province);
}

void FirstTabRules::fillFromSaved(const ApplicationModel& saved) {
    m_loading = true;
    for (const FormControl& control : saved.controls())
        if (control.kind == ControlKind::OptionButton) {
            m_model.setSelected(ControlName(control.name), control.selected);
            if (control.selected)
                optionClicked(control.name);
        }
    for (const FormControl& control : saved.controls())
        if (control.kind == ControlKind::TextBox)
            m_model.setText(ControlName(control.name), DateField::isDateBox(control.name)
                                                           ? DateField::normalised(control.text)
                                                           : control.text);
    for (const FormControl& control : saved.controls())
        if (control.kind == ControlKind::DropDown)
            m_model.setChoice(ControlName(control.name), control.value, control.text, control.inList);
    m_loading = false;
}

void FirstTabRules::applyLoadedData(const RecordSet& situations) {
    if (m_model.isSelected(ctl::optPetConyugeSi))
        show(ctl::fraDNIConyuge, true);
    if (m_model.isSelected(ctl::optDiscSi))
        for (ControlName name : {ctl::lblAdap, ctl::lblTipoDis, ctl::txtAdaptaciones, ctl::txtTipoDisc})
            show(name, true);

    // The document keeps the situation as text only: a listed one names its row, anything
    // else is what the applicant typed for the "other" situation.
    const QString situation = m_model.text(ctl::txtSitAdm);
    const std::optional<SituationRow> listed =
        findSituation(situations, col::Situations::Situacion, situation);
    if (listed)
        m_model.setChoice(ctl::cboSituaciones, listed->code, listed->text);
    else
        m_model.setChoice(ctl::cboSituaciones, QString(), situation, false);
    std::optional<SituationRow> chosen = listed;
    if (!m_model.isSelected(ctl::optActivo) && !listed) {
        chosen = findSituation(situations, col::Situations::esOtras, QStringLiteral("1"));
        if (chosen)
            m_model.setChoice(ctl::cboSituaciones, chosen->code, chosen->text);
    }
    if (m_model.isSelected(ctl::optOtras) && chosen && chosen->isOther)
        show(ctl::txtSitAdm, true);

    const bool definitive = m_model.isSelected(ctl::optDefinitivo);
    show(ctl::txtFecPosesion, definitive);
    show(ctl::lblPosesion, definitive);

    // A loaded application keeps its identity.
    for (ControlName name : {ctl::cboCuerpo, ctl::cboGrupo, ctl::txtDNI})
        m_model.setEnabled(name, false);
}

void FirstTabRules::show(ControlName name, bool visible) {
    m_model.setVisible(name, visible);
}

} // namespace velmora
