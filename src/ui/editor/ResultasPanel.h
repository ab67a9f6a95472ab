#pragma once

#include "ui/editor/PositionPanel.h"

namespace velmora {

// The "Plazas Resultas" tab: the resultas list (grdResultas) and its edit panel Frame6,
// the vacancy tab's twin without demarcation and without a candidate count.
class ResultasPanel : public PositionPanel {
    Q_OBJECT
public:
    ResultasPanel(const PositionTabTables& tables, MessageService& messages, QWidget* parent = nullptr);

protected:
    std::unique_ptr<LocationFilters> makeLocationFilters(const LocationTables& tables) const override;
    QString filterMode() const override { return QStringLiteral("R"); }
};

} // namespace velmora
