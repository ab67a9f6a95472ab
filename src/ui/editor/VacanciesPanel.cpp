#include "ui/editor/VacanciesPanel.h"

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
    n.gridColumns = {{QStringLiteral("Orden"), QStringLiteral("Orden"), 700},
                     {QStringLiteral("CodConvocatoria"), QStringLiteral("Código"), 800},
                     {QStringLiteral("NomConvocatoria"), QStringLiteral("Denominación"), 3400},
                     {QStringLiteral("Consejeria"), QStringLiteral("Institución"), 2600},
                     {QStringLiteral("Localidad"), QStringLiteral("Localidad/Z.B.S."), 2200},
                     {QStringLiteral("IdSolicitud"), QStringLiteral("IdSolicitud"), 0},
                     {QStringLiteral("CodConsejeria"), QStringLiteral("CodConsejeria"), 0},
                     {QStringLiteral("CodLocalidad"), QStringLiteral("CodLocalidad"), 0},
                     {QStringLiteral("CodProvincia"), QStringLiteral("CodProvincia"), 0},
                     {QStringLiteral("CodArea"), QStringLiteral("CodArea"), 0},
                     {QStringLiteral("CodZona"), QStringLiteral("CodZona"), 0},
                     {QStringLiteral("Area"), QStringLiteral("Área"), 1800},
                     {QStringLiteral("Zona"), QStringLiteral("Zona"), 1800},
                     {QStringLiteral("Demarcacion"), QStringLiteral("Demarcación"), 1600}};
    n.hiddenGridColumns = {QStringLiteral("IdSolicitud"),  QStringLiteral("CodConsejeria"),
                           QStringLiteral("CodLocalidad"), QStringLiteral("CodProvincia"),
                           QStringLiteral("CodArea"),      QStringLiteral("CodZona")};
    n.positionColumns = {{QStringLiteral("CodConvocatoria"), QStringLiteral("Codigo"), 800},
                         {QStringLiteral("NomConvocatoria"), QStringLiteral("Denominación"), 3600},
                         {QStringLiteral("Consejeria"), QStringLiteral("Institución"), 2800},
                         {QStringLiteral("Localidad"), QStringLiteral("Localidad/Z.B.S."), 2600},
                         {QStringLiteral("CodLocalidad"), QStringLiteral("CodLocalidad"), 0},
                         {QStringLiteral("CodConsejeria"), QStringLiteral("CodConsejeria"), 0},
                         {QStringLiteral("CodProvincia"), QStringLiteral("CodProvincia"), 0},
                         {QStringLiteral("CodArea"), QStringLiteral("Area"), 0},
                         {QStringLiteral("CodZona"), QStringLiteral("Zona"), 0},
                         {QStringLiteral("Area"), QStringLiteral("Área"), 2200},
                         {QStringLiteral("Demarcacion"), QStringLiteral("Demarcacion"), 0}};
    n.hiddenPositionColumns = {QStringLiteral("CodLocalidad"), QStringLiteral("CodConsejeria"),
                               QStringLiteral("CodProvincia"), QStringLiteral("CodArea"),
                               QStringLiteral("CodZona"),      QStringLiteral("Demarcacion")};
    n.zoneColumns = {{QStringLiteral("CodZona"), QStringLiteral("Código"), 1100},
                     {QStringLiteral("Zona"), QStringLiteral("Zona Básica"), 3600},
                     {QStringLiteral("CodProvincia"), QStringLiteral("CodProvincia"), 0},
                     {QStringLiteral("CodInstitucion"), QStringLiteral("CodInstitucion"), 0},
                     {QStringLiteral("CodArea"), QStringLiteral("CodArea"), 0}};
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
