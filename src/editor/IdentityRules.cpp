#include "editor/IdentityRules.h"

#include "catalog/CatalogColumns.h"
#include "catalog/CatalogTables.h"
#include "editor/ApplicationChecks.h"
#include "editor/ApplicationModel.h"
#include "editor/CandidateSelection.h"
#include "users/DniValidator.h"

namespace velmora {
namespace {

// A DNI box of the model, for the DNI check; keeps the colour the check chose.
class ModelDniBox : public DniTextBox {
public:
    ModelDniBox(ApplicationModel& model, ControlName name) : m_model(model), m_name(name) {}
    QString text() const override { return m_model.text(m_name); }
    void setText(const QString& text) override { m_model.setText(m_name, text); }
    void setForeColor(const QColor& color) override { this->color = color; }

    std::optional<QColor> color;

private:
    ApplicationModel& m_model;
    ControlName m_name;
};

// The first row of `table` whose `column` holds `wanted`, as a fresh cursor on that row.
std::unique_ptr<RecordSet> rowWith(const RecordSet& table, ColumnName column, const QString& wanted) {
    if (!table.isOpen() || table.columnIndex(column) < 0)
        return nullptr;
    std::unique_ptr<RecordSet> rows = table.clone();
    const int index = rows->columnIndex(column);
    for (int position = 0; position < rows->recordCount(); ++position)
        if (rows->textAt(position, index) == wanted) {
            rows->setAbsolutePosition(position);
            return rows;
        }
    return nullptr;
}

} // namespace

IdentityRules::IdentityRules(ApplicationModel& model, const CatalogTables& catalogs,
                             CandidateSelection& candidates, QString applicationsFolder,
                             UserQuestions& questions)
    : m_model(model), m_catalogs(catalogs), m_candidates(candidates),
      m_applicationsFolder(std::move(applicationsFolder)), m_questions(questions) {}

bool IdentityRules::acceptsDniKey(QChar key) {
    return key != QLatin1Char('-') && acceptsPartnerDniKey(key);
}

bool IdentityRules::acceptsPartnerDniKey(QChar key) {
    return key != QLatin1Char('.') && key != QLatin1Char(',');
}

IdentityOutcome IdentityRules::dniLeft() {
    IdentityOutcome outcome;
    ModelDniBox box(m_model, ctl::txtDNI);
    const Status valid = ValidaDNI(box);
    outcome.dniColor = box.color;
    if (!valid) {
        outcome.failure = valid.error();
        m_model.setText(ctl::txtDNI, QString());
        outcome.focusBack = true;
        outcome.disableMenu = true;
        return outcome;
    }
    stopsAtExistingApplication(outcome);
    return outcome;
}

IdentityOutcome IdentityRules::partnerDniLeft() {
    IdentityOutcome outcome;
    if (m_model.text(ctl::txtDNIConyuge).isEmpty())
        return outcome;
    ModelDniBox box(m_model, ctl::txtDNIConyuge);
    if (const Status valid = ValidaDNI(box); !valid) {
        outcome.failure = valid.error();
        outcome.focusBack = true;
    }
    outcome.dniColor = box.color;
    return outcome;
}

IdentityOutcome IdentityRules::bodyChanged() {
    IdentityOutcome outcome;
    if (CompruebaSolicitudExistente(m_model, m_applicationsFolder, m_questions) ==
        ExistingApplication::QuitProgram) {
        outcome.quitProgram = true;
        return outcome;
    }
    if (m_model.isListItem(ctl::cboCuerpo))
        if (const std::optional<Body> body = chosenBody(); body && body->group != QLatin1String("X")) {
            setGroup(body->group);
            outcome.categoryCaption = body->description;
        }
    outcome.enableMenu = menuEntriesAllowed();
    return outcome;
}

IdentityOutcome IdentityRules::bodyListClosed() {
    IdentityOutcome outcome;
    const std::optional<Body> body = m_model.isListItem(ctl::cboCuerpo) ? chosenBody() : std::nullopt;
    if (!body) {
        m_candidates.release();
        outcome.locationFilters = false;
    } else if (!m_model.value(ctl::cboCuerpo).startsWith(QLatin1Char('X'))) {
        setGroup(body->group);
        m_model.setEnabled(ctl::cboGrupo, false);
        if (stopsAtExistingApplication(outcome))
            return outcome;
        offerBodyPositions(outcome, *body);
    } else {
        // These bodies take the group the applicant picks. Their positions do not depend on
        // the group, so they are offered now: the ones of a body chosen before must not stay.
        m_model.clearChoice(ctl::cboGrupo);
        m_model.setEnabled(ctl::cboGrupo, true);
        offerBodyPositions(outcome, *body);
    }
    outcome.sendTab = true;
    return outcome;
}

IdentityOutcome IdentityRules::groupChanged() {
    IdentityOutcome outcome;
    outcome.enableMenu = menuEntriesAllowed();
    return outcome;
}

IdentityOutcome IdentityRules::groupListClosed() {
    IdentityOutcome outcome;
    if (stopsAtExistingApplication(outcome))
        return outcome;
    if (!m_model.isListItem(ctl::cboGrupo)) {
        outcome.failure =
            Error::told(ErrorCode::InvalidValue, QStringLiteral("El grupo seleccionado no es válido"),
                        QStringLiteral("Grupo Erróneo"), MessageIcon::Exclamation);
        m_candidates.release();
        outcome.focusBack = true;
        outcome.locationFilters = false;
    }
    return outcome;
}

bool IdentityRules::menuEntriesAllowed() const {
    return !m_model.text(ctl::txtDNI).isEmpty() && !m_model.value(ctl::cboCuerpo).isEmpty() &&
           !m_model.value(ctl::cboGrupo).isEmpty();
}

std::optional<IdentityRules::Body> IdentityRules::chosenBody() const {
    const std::unique_ptr<RecordSet> row =
        rowWith(m_catalogs.bodies, col::Bodies::CodCuerpo, m_model.value(ctl::cboCuerpo));
    if (!row)
        return std::nullopt;
    return Body{row->text(col::Bodies::DescCuerpo), row->text(col::Bodies::Grupo)};
}

void IdentityRules::setGroup(const QString& group) {
    if (rowWith(m_catalogs.groups, col::Groups::Grupo, group))
        m_model.setChoice(ctl::cboGrupo, group, group);
    else
        m_model.setChoice(ctl::cboGrupo, QString(), group, false);
}

bool IdentityRules::stopsAtExistingApplication(IdentityOutcome& outcome) {
    switch (CompruebaSolicitudExistente(m_model, m_applicationsFolder, m_questions)) {
    case ExistingApplication::None:
        return false;
    case ExistingApplication::QuitProgram:
        outcome.quitProgram = true;
        return true;
    case ExistingApplication::ChooseAnother:
        return true;
    }
    return false;
}

void IdentityRules::offerBodyPositions(IdentityOutcome& outcome, const Body& body) {
    Result<std::optional<QString>> caption = m_candidates.SeleccionaPlazasRS(m_model);
    if (caption)
        outcome.positionsCaption = *caption;
    else
        outcome.failure = caption.error();
    outcome.locationFilters = true;
    outcome.categoryCaption = body.description;
}

} // namespace velmora
