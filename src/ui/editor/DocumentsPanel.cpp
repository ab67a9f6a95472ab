#include "ui/editor/DocumentsPanel.h"

#include "applications/ApplicationColumns.h"
#include "editor/HandListChecks.h"
#include "platform/MessageService.h"

#include <QLineEdit>

namespace velmora {
namespace {

HandListPanel::Layout documentsLayout() {
    HandListPanel::Layout layout;
    layout.tabIndex = 4;
    layout.grid = QStringLiteral("grdDocumentos");
    layout.section = QStringLiteral("Documentación que aporta");
    layout.gridCaption = QStringLiteral("Documentos");
    layout.gridColumns = {{col::Documents::IdDocumento, QStringLiteral("Nº Documento"), 1700},
                          {col::Documents::Documento, QStringLiteral("Documento"), 4600},
                          {col::Documents::Horas, QStringLiteral("Nº Horas"), 1000},
                          {col::Documents::Fecha, QStringLiteral("Fecha Fin."), 1300},
                          {col::Documents::Centro, QStringLiteral("Centro Formación"), 3800}};
    layout.frame = QStringLiteral("Frame8");
    layout.frameTitle = QStringLiteral("Datos del documento");
    layout.add = QStringLiteral("cmdAddDoc");
    layout.remove = QStringLiteral("cmdDelDoc");
    layout.modify = QStringLiteral("cmdModDoc");
    layout.accept = QStringLiteral("cmdAceptarDoc");
    layout.cancel = QStringLiteral("cmdCancelarDoc");
    layout.idColumn = col::Documents::IdDocumento;
    layout.idBox = QStringLiteral("txtIdDoc");
    layout.fields = {
        {col::Documents::Documento, QStringLiteral("txtDoc"), QStringLiteral("Documento"), 100, false},
        {col::Documents::Horas, QStringLiteral("txtNumHoras"), QStringLiteral("Nº Horas"), 6, false},
        {col::Documents::Fecha, QStringLiteral("txtFechaFin"), QStringLiteral("Fecha Fin."), 10, false},
        {col::Documents::Centro, QStringLiteral("txtCentroFormacion"), QStringLiteral("Centro Formación"),
         100, false}};
    return layout;
}

} // namespace

DocumentsPanel::DocumentsPanel(RecordSet& documents, MessageService& messages, QWidget* parent)
    : HandListPanel(documents, messages, documentsLayout(), parent) {}

bool DocumentsPanel::checkFields() {
    const Status complete = ValidaDocumento(fieldText(0));
    if (complete)
        return true;
    messages().tell(complete.error());
    box(QStringLiteral("txtDoc"))->setFocus();
    return false;
}

} // namespace velmora
