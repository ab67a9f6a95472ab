#include "ui/editor/VacanciesPanel.h"

#include "applications/ApplicationColumns.h"
#include "catalog/CatalogColumns.h"
#include "platform/data/RecordSet.h"
#include "platform/widgets/DataComboBox.h"
#include "ui/editor/PanelParts.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace velmora {
namespace {

PositionPanel::Names vacancyNames() {
    PositionPanel::Names n;
    n.tabIndex = 2;
    n.grid = QStringLiteral("grdVacantes");
    n.frame = QStringLiteral("Frame5");
    n.add = QStringLiteral("cmdAddVacante");
    n.insertAll = QStringLiteral("cmdTodasVacantes");
    n.remove = QStringLiteral("cmdDelVacante");
    n.modify = QStringLiteral("cmdUpdateVacante");
    n.accept = QStringLiteral("cmdAceptarVacante");
    n.cancel = QStringLiteral("cmdCancelarVacante");
    n.code = QStringLiteral("txtCodVacante");
    n.position = QStringLiteral("cboPuestoVacante");
    n.description = QStringLiteral("txtDescVacantes");
    n.order = QStringLiteral("txtOrdenVacante");
    n.id = QStringLiteral("txtIdSolicitudVacantes");
    n.province = QStringLiteral("cboProvinciaVacantes");
    n.institution = QStringLiteral("cboConsejeriaVacantes");
    n.locality = QStringLiteral("cboLocalidadVacantes");
    n.area = QStringLiteral("cboAreasVacantes");
    n.zone = QStringLiteral("cboZonasVacantes");
    n.choiceTitle = QStringLiteral("Solicitud Vacantes");
    n.section = QStringLiteral("Plazas vacantes solicitadas");
    namespace pl = col::PreferenceList;
    namespace pos = col::Positions;
    namespace zones = col::Zones;
    n.gridColumns = {{pl::Orden, QStringLiteral("Orden"), 700},
                     {pl::CodConvocatoria, QStringLiteral("Código"), 800},
                     {pl::NomConvocatoria, QStringLiteral("Denominación"), 3400},
                     {pl::Consejeria, QStringLiteral("Institución"), 2600},
                     {pl::Localidad, QStringLiteral("Localidad/Z.B.S."), 2200}};
    n.gridColumns += PositionPanel::hiddenListColumns();
    n.gridColumns += {{pl::Area, QStringLiteral("Área"), 1800},
                      {pl::Zona, QStringLiteral("Zona"), 1800},
                      {pl::Demarcacion, QStringLiteral("Demarcación"), 1600}};
    n.hiddenGridColumns = PositionPanel::hiddenListColumnNames();
    n.positionColumns = {{pos::CodConvocatoria, QStringLiteral("Codigo"), 800},
                         {pos::NomConvocatoria, QStringLiteral("Denominación"), 3600},
                         {pos::Consejeria, QStringLiteral("Institución"), 2800},
                         {pos::Localidad, QStringLiteral("Localidad/Z.B.S."), 2600},
                         {pos::CodLocalidad, pos::CodLocalidad, 0},
                         {pos::CodConsejeria, pos::CodConsejeria, 0},
                         {pos::CodProvincia, pos::CodProvincia, 0},
                         {pos::CodArea, QStringLiteral("Area"), 0},
                         {pos::CodZona, QStringLiteral("Zona"), 0},
                         {pos::Area, QStringLiteral("Área"), 2200},
                         {pos::Demarcacion, pos::Demarcacion, 0}};
    n.hiddenPositionColumns = {pos::CodLocalidad, pos::CodConsejeria, pos::CodProvincia,
                               pos::CodArea,      pos::CodZona,       pos::Demarcacion};
    n.zoneColumns = {{zones::CodZona, QStringLiteral("Código"), 1100},
                     {zones::Zona, QStringLiteral("Zona Básica"), 3600},
                     {zones::CodProvincia, zones::CodProvincia, 0},
                     {zones::CodInstitucion, zones::CodInstitucion, 0},
                     {zones::CodArea, zones::CodArea, 0}};
    return n;
}

} // namespace

VacanciesPanel::VacanciesPanel(const PositionTabTables& tables, MessageService& messages, QWidget* parent)
    : PositionPanel(tables, messages, vacancyNames(), parent) {
    m_category = makeLabel(QStringLiteral("lblCat"), QString(), this);
    m_count = makeLabel(QStringLiteral("lblPlazas"), QString(), this);
    build([this](QGridLayout& form, int row) {
        m_demarcation = makeLineEdit(QStringLiteral("txtDemPlaza"), m_frame, 50);
        addField(form, row, 2,
                 makeLabel(QStringLiteral("lblDemPlaza"), QStringLiteral("Demarcación"), m_frame),
                 m_demarcation, 3);
        form.addWidget(m_count, 1, 4, 1, 2, Qt::AlignRight | Qt::AlignVCenter);
        return QList<QWidget*>{m_demarcation};
    });
    wireLocationFilters();
    updateCandidateCount();
    applyFilterEnabling();
}

std::unique_ptr<LocationFilters> VacanciesPanel::makeLocationFilters(const LocationTables& tables) const {
    return std::make_unique<VacancyLocationFilters>(tables);
}

void VacanciesPanel::addHeader(QVBoxLayout& page) {
    PositionPanel::addHeader(page);
    QFont bold = m_category->font();
    bold.setBold(true);
    m_category->setFont(bold);
    page.addWidget(m_category);
}

void VacanciesPanel::updateCandidateCount() {
    m_count->setText(QStringLiteral("Códigos Localizados: %1").arg(m_tables.candidates.recordCount()));
}

void VacanciesPanel::applyFilterEnabling() {
    LocationState state = locationState();
    m_locationFilters->applyEnabling(state);
    showLocationState(state);
}

std::optional<QString> VacanciesPanel::demarcation() const {
    return m_demarcation->text();
}

void VacanciesPanel::showLoaded(const ListedPosition& loaded) {
    m_demarcation->setText(loaded.demarcation);
    m_count->setVisible(false);
}

void VacanciesPanel::modificationDone() {
    m_count->setVisible(true);
}

void VacanciesPanel::panelCleared() {
    m_count->setVisible(true);
}

} // namespace velmora
