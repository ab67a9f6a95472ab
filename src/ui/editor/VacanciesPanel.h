#pragma once

#include "ui/editor/PositionPanel.h"

namespace velmora {

// The "Plazas Vacantes" tab: the vacancy list (grdVacantes), the body's name (lblCat), the
// edit panel Frame5 with the demarcation box, and the count of candidates the location
// filters leave (lblPlazas).
class VacanciesPanel : public PositionPanel {
    Q_OBJECT
public:
    VacanciesPanel(const PositionTabTables& tables, MessageService& messages, QWidget* parent = nullptr);

    QLabel* categoryLabel() const { return m_category; }
    // lblPlazas: "Códigos Localizados: " and the number of candidates now shown.
    void updateCandidateCount();

protected:
    // After HabilitaFiltros, this tab's enabling rule (HabilitaFiltrosVacantes): the province
    // is picked first and stays fixed until "Cancelar"; the institution and the area come
    // with it.
    void filtersEnablingChanged() override { applyFilterEnabling(); }
    std::optional<QString> demarcation() const override;
    void showLoaded(const ListedPosition& loaded) override;
    void modificationDone() override;
    void panelCleared() override;
    bool enablesFiltersFirst() const override { return true; }
    void addHeader(QVBoxLayout& page) override;
    std::unique_ptr<LocationFilters> makeLocationFilters(const LocationTables& tables) const override;
    QString filterMode() const override { return QStringLiteral("V"); }
    void candidatesRefreshed() override { updateCandidateCount(); }

private:
    void applyFilterEnabling();

    QLabel* m_category = nullptr;
    QLabel* m_count = nullptr;
    QLineEdit* m_demarcation = nullptr;
};

} // namespace velmora
