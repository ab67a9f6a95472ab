#include "ui/editor/ResultasPanel.h"

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
    n.gridColumns = {{QStringLiteral("Orden"), QStringLiteral("Orden"), 700},
                     {QStringLiteral("CodConvocatoria"), QStringLiteral("Código"), 800},
                     {QStringLiteral("NomConvocatoria"), QStringLiteral("Denominación"), 3400},
                     {QStringLiteral("Consejeria"), QStringLiteral("Institución"), 2600},
                     {QStringLiteral("Localidad"), QStringLiteral("Localidad o Z.B.S. (Provincia)"), 3000},
                     {QStringLiteral("IdSolicitud"), QStringLiteral("IdSolicitud"), 0},
                     {QStringLiteral("CodConsejeria"), QStringLiteral("CodConsejeria"), 0},
                     {QStringLiteral("CodLocalidad"), QStringLiteral("CodLocalidad"), 0},
                     {QStringLiteral("CodProvincia"), QStringLiteral("CodProvincia"), 0},
                     {QStringLiteral("CodArea"), QStringLiteral("CodArea"), 0},
                     {QStringLiteral("CodZona"), QStringLiteral("CodZona"), 0},
                     {QStringLiteral("Area"), QStringLiteral("Área"), 2000},
                     {QStringLiteral("Zona"), QStringLiteral("Zona"), 2000}};
    n.hiddenGridColumns = {QStringLiteral("IdSolicitud"),  QStringLiteral("CodConsejeria"),
                           QStringLiteral("CodLocalidad"), QStringLiteral("CodProvincia"),
                           QStringLiteral("CodArea"),      QStringLiteral("CodZona")};
    n.positionColumns = {{QStringLiteral("CodConvocatoria"), QStringLiteral("Código"), 800},
                         {QStringLiteral("NomConvocatoria"), QStringLiteral("Convocatoria"), 3600},
                         {QStringLiteral("Consejeria"), QStringLiteral("Institución"), 2800},
                         {QStringLiteral("Localidad"), QStringLiteral("Localidad/Z.B.S."), 2600},
                         {QStringLiteral("CodLocalidad"), QStringLiteral("CodLocalidad"), 0},
                         {QStringLiteral("CodConsejeria"), QStringLiteral("CodConsejeria"), 0},
                         {QStringLiteral("CodProvincia"), QStringLiteral("CodProvincia"), 0},
                         {QStringLiteral("CodArea"), QStringLiteral("Area"), 900},
                         {QStringLiteral("CodZona"), QStringLiteral("Zona"), 900}};
    n.hiddenPositionColumns = {QStringLiteral("CodLocalidad"), QStringLiteral("CodConsejeria"),
                               QStringLiteral("CodProvincia")};
    n.zoneColumns = {{QStringLiteral("CodZona"), QStringLiteral("Código"), 1100},
                     {QStringLiteral("Zona"), QStringLiteral("Zona Básica"), 3600},
                     {QStringLiteral("CodProvincia"), QStringLiteral("CodProvincia"), 0},
                     {QStringLiteral("CodInstitucion"), QStringLiteral("CodInstitucion"), 0}};
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
