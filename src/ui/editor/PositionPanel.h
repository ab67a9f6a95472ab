#pragma once

#include "editor/LocationFilters.h"
#include "editor/PreferenceListEditor.h"
#include "platform/widgets/RecordSetModel.h"

#include <QWidget>

#include <functional>
#include <memory>

class QGridLayout;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QVBoxLayout;

namespace velmora {

class DataComboBox;
class DataGrid;
class Filter;
class MessageService;

// The tables a position tab binds: its preference list, its candidates and the catalogue
// tables behind its location drop-downs (each tab has its own copies, with their own filters).
struct PositionTabTables {
    RecordSet& list;
    RecordSet& candidates;
    RecordSet& provinces;
    RecordSet& localities;
    RecordSet& departments;
    RecordSet& areas;
    RecordSet& zones;
};

// What the vacancy and resultas tabs share: the grid over the preference list, the buttons
// Añadir, Insertar Todas, Borrar and Modificar, and the edit panel where a position is
// picked (by code or from the candidates drop-down, narrowed by the location drop-downs)
// and placed at an order. The list keeping itself is PreferenceListEditor's.
class PositionPanel : public QWidget {
    Q_OBJECT
public:
    // Control names and captions of one tab.
    struct Names {
        int tabIndex = 0;
        QString grid, frame, add, insertAll, remove, modify, accept, cancel;
        QString code, position, description, order, id;
        QString province, institution, locality, area, zone;
        QString choiceTitle; // title of the messages about the chosen position
        QString section;     // what a screen reader calls the grid
        QList<ColumnBinding> gridColumns;
        QStringList hiddenGridColumns;
        QList<ColumnBinding> positionColumns;
        QStringList hiddenPositionColumns;
        QList<ColumnBinding> zoneColumns;
    };

    // The list grid's hidden columns, which both tabs place after the locality: the row's id and
    // the codes of the chosen position (those the list has not show nothing).
    static QList<ColumnBinding> hiddenListColumns();
    static QStringList hiddenListColumnNames();

    DataGrid* grid() const { return m_grid; }
    QLabel* gridLabel() const { return m_gridLabel; }
    PanelMode mode() const { return m_editor.mode(); }

    // The panel reset (LimpiaPanelVacantes, LimpiaPanelResultas): adding mode, boxes emptied,
    // no position chosen, the candidates narrowed by the current filter, location drop-downs
    // enabled. The editor runs it before every menu action.
    void resetPanel();
    // This tab's part of HabilitaFiltros: the province, institution and locality drop-downs.
    // A row being modified keeps them locked until "Aceptar" or "Cancelar", whatever
    // re-activates the window meanwhile.
    void setFiltersEnabled(bool enabled);
    // Whether the applicant has chosen a body or a group: "Añadir" resets the panel only
    // while neither is chosen. Without it, "Añadir" takes them as chosen.
    void setBodyOrGroupChosen(std::function<bool()> chosen) { m_bodyOrGroupChosen = std::move(chosen); }
    // The candidate filter (ConstruyeFiltroPlazas for this tab): a criteria text, or "0" when
    // nothing narrows the candidates. Without it, only a typed position code narrows them.
    void setCandidateFilterBuilder(std::function<QString()> builder) { m_filterBuilder = std::move(builder); }
    // Where each department has centres: an institution then narrows the localities.
    void setInstitutions(RecordSet* institutions);

    void add();       // "Añadir"
    void insertAll(); // "Insertar Todas"
    void remove();    // "Borrar"
    void modify();    // "Modificar"
    void accept();    // "Aceptar"
    void cancel();    // "Cancelar"
    // The code look-up when the code box is left: the typed code picks its candidate.
    void lookUpCode();

Q_SIGNALS:
    // Rows were listed: the body and the group can no longer change.
    void positionsAdded();
    // A row was deleted: the editor frees the body once both lists are empty.
    void positionDeleted();

protected:
    PositionPanel(const PositionTabTables& tables, MessageService& messages, const Names& names,
                  QWidget* parent = nullptr);

    // Lays the page out; `extraFields` lets a tab add its own boxes on the order box's row
    // (from column 2 on) and returns them in tab order.
    using ExtraFields = std::function<QList<QWidget*>(QGridLayout&, int row)>;
    void build(const ExtraFields& extraFields = {});
    // BloqueaPlaza: while a row is modified its position and location cannot change.
    void lock(bool modifying);
    // After setFiltersEnabled: a tab's own enabling rule.
    virtual void filtersEnablingChanged() {}
    // Applies the candidate filter to the candidates table.
    void applyCandidateFilter();
    // The location drop-downs emptied and their lists whole again ("Cancelar").
    virtual void clearLocationFilters();

    // What differs between the tabs.
    virtual std::optional<QString> demarcation() const { return std::nullopt; }
    virtual void showLoaded(const ListedPosition&) {}
    virtual void modificationDone() {}
    virtual void panelCleared() {}
    // "Añadir" enables the filters before unlocking the panel (vacancy) or after (resultas).
    virtual bool enablesFiltersFirst() const { return false; }
    // Labels and captions above the grid (lblGrid and what a tab adds).
    virtual void addHeader(QVBoxLayout& page);
    // The tab's location reactions (mode "V" or "R" of the candidate filter).
    virtual std::unique_ptr<LocationFilters> makeLocationFilters(const LocationTables& tables) const = 0;
    virtual QString filterMode() const = 0;
    // The location reactions refreshed the candidates.
    virtual void candidatesRefreshed() {}
    // Hooks the location drop-downs to the tab's reactions; run once the page is built.
    void wireLocationFilters();
    // The location drop-downs and the code box as the reactions see them, and back.
    LocationState locationState() const;
    void showLocationState(const LocationState& state);
    void reactToLocation(DataComboBox* box, LocationBox which, LocationEvent event);

    bool eventFilter(QObject* watched, QEvent* event) override;

    const PositionTabTables m_tables;
    MessageService& m_messages;
    Names m_names;
    PreferenceListEditor m_editor;

    QLabel* m_gridLabel = nullptr;
    DataGrid* m_grid = nullptr;
    QGroupBox* m_frame = nullptr;
    QLineEdit* m_code = nullptr;
    DataComboBox* m_position = nullptr;
    QLineEdit* m_description = nullptr;
    QLineEdit* m_order = nullptr;
    QLineEdit* m_id = nullptr;
    DataComboBox* m_province = nullptr;
    DataComboBox* m_institution = nullptr;
    DataComboBox* m_locality = nullptr;
    DataComboBox* m_area = nullptr;
    DataComboBox* m_zone = nullptr;
    QPushButton* m_accept = nullptr;
    QPushButton* m_cancel = nullptr;
    std::unique_ptr<LocationFilters> m_locationFilters;
    RecordSet* m_institutions = nullptr;

private:
    PositionChoice currentChoice() const;
    QString defaultCandidateFilter() const;
    // The candidates list opens next on the first candidate after `code` not on the list.
    void openListAfter(const QString& code);
    // Makes the listed row that `criteria` finds the grid's current row, scrolled into view.
    void showListedRow(const Filter& criteria);

    std::function<bool()> m_bodyOrGroupChosen;
    std::function<QString()> m_filterBuilder;
    bool m_choicePicked = false;
};

} // namespace velmora
