#include "ui/editor/ResultasPanel.h"

#include "applications/ApplicationColumns.h"
#include "catalog/CatalogColumns.h"

namespace velmora {
namespace {

PositionPanel::Names resultasNames() {
    PositionPanel::Names n;
    n.tabIndex = 3;
    n.grid = QStringLiteral("grdResultas");
    n.frame = QStringLiteral("Frame6");
    n.add = QStringLiteral("cmdAddResultas");
    n.insertAll = QStringLiteral("cmdInsertaTodasResultas");
    n.remove = QStringLiteral("cmdDelResultas");
    n.modify = QStringLiteral("cmdUpdateResultas");
    n.accept = QStringLiteral("cmdAceptarResultas");
    n.cancel = QStringLiteral("cmdCancelarResultas");
    n.code = QStringLiteral("txtCodResulta");
    n.position = QStringLiteral("cboPuestoResultas");
    n.description = QStringLiteral("txtDescResultas");
    n.order = QStringLiteral("txtOrdenResultas");
    n.id = QStringLiteral("txtIdSolicitudResultas");
    n.province = QStringLiteral("cboProvinciaResultas");
    n.institution = QStringLiteral("cboConsejeriaResultas");
    n.locality = QStringLiteral("cboLocalidadResultas");
    n.area = QStringLiteral("cboAreasResultas");
    n.zone = QStringLiteral("cboZonasResultas");
    n.choiceTitle = QStringLiteral("Solicitud Resultas");
    n.section = QStringLiteral("Plazas resultas solicitadas");
    namespace pl = col::PreferenceList;
    namespace pos = col::Positions;
    namespace zones = col::Zones;
    n.gridColumns = {{pl::Orden, QStringLiteral("Orden"), 700},
                     {pl::CodConvocatoria, QStringLiteral("Código"), 800},
                     {pl::NomConvocatoria, QStringLiteral("Denominación"), 3400},
                     {pl::Consejeria, QStringLiteral("Institución"), 2600},
                     {pl::Localidad, QStringLiteral("Localidad o Z.B.S. (Provincia)"), 3000}};
    n.gridColumns += PositionPanel::hiddenListColumns();
    n.gridColumns += {{pl::Area, QStringLiteral("Área"), 2000}, {pl::Zona, QStringLiteral("Zona"), 2000}};
    n.hiddenGridColumns = PositionPanel::hiddenListColumnNames();
    n.positionColumns = {{pos::CodConvocatoria, QStringLiteral("Código"), 800},
                         {pos::NomConvocatoria, QStringLiteral("Convocatoria"), 3600},
                         {pos::Consejeria, QStringLiteral("Institución"), 2800},
                         {pos::Localidad, QStringLiteral("Localidad/Z.B.S."), 2600},
                         {pos::CodLocalidad, pos::CodLocalidad, 0},
                         {pos::CodConsejeria, pos::CodConsejeria, 0},
                         {pos::CodProvincia, pos::CodProvincia, 0},
                         {pos::CodArea, QStringLiteral("Area"), 900},
                         {pos::CodZona, QStringLiteral("Zona"), 900}};
    n.hiddenPositionColumns = {pos::CodLocalidad, pos::CodConsejeria, pos::CodProvincia};
    n.zoneColumns = {{zones::CodZona, QStringLiteral("Código"), 1100},
                     {zones::Zona, QStringLiteral("Zona Básica"), 3600},
                     {zones::CodProvincia, zones::CodProvincia, 0},
                     {zones::CodInstitucion, zones::CodInstitucion, 0}};
    return n;
}

} // namespace

ResultasPanel::ResultasPanel(const PositionTabTables& tables, MessageService& messages, QWidget* parent)
    : PositionPanel(tables, messages, resultasNames(), parent) {
    build();
    wireLocationFilters();
}

std::unique_ptr<LocationFilters> ResultasPanel::makeLocationFilters(const LocationTables& tables) const {
    return std::make_unique<ResultasLocationFilters>(tables);
}

} // namespace velmora
