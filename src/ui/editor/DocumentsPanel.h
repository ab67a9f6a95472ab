#pragma once

#include "ui/editor/HandListPanel.h"

namespace velmora {

// The "Cursos Realizados" tab: the documents the applicant brings (grdDocumentos over the
// documents list) and their edit panel Frame8. Only the document's name is required.
class DocumentsPanel : public HandListPanel {
    Q_OBJECT
public:
    DocumentsPanel(RecordSet& documents, MessageService& messages, QWidget* parent = nullptr);

protected:
    bool checkFields() override;
};

} // namespace velmora
