#pragma once

#include <QString>

#include <optional>

namespace velmora {

class RecordSet;

// What one location drop-down holds, as its window read it just before a reaction: the
// code of the chosen row, the text shown, whether that text is an item of its list, and
// whether the drop-down can be used. Reactions change these and the window shows them.
struct LocationChoice {
    QString value;
    QString text;
    bool inList = false;
    bool enabled = true;

    bool holdsItem() const { return inList; }
    void clear() {
        value.clear();
        text.clear();
        inList = false;
    }
    void clearValue() {
        value.clear();
        inList = false;
    }
};

// The location drop-downs of one position tab and its position-code box.
struct LocationState {
    LocationChoice province, institution, locality, area, zone;
    QString code;
    bool codeEnabled = true;
};

// The tables one tab's location filters narrow. The institutions table lists where each
// department has centres; without it an institution does not narrow the localities.
struct LocationTables {
    RecordSet& candidates;
    RecordSet& provinces;
    RecordSet& localities;
    RecordSet& departments;
    RecordSet& areas;
    RecordSet& zones;
    RecordSet* institutions = nullptr;
};

// The candidate filter of a tab: mode "V" (vacancies) or "R" (resultas), any case. It is a
// criteria text (Filter), or "0" when nothing narrows the candidates or the
// mode is neither. On the vacancy tab the province counts only while it is the sole choice:
// every finer choice was picked from lists the province had already narrowed.
QString ConstruyeFiltroPlazas(const QString& mode, const LocationState& state);

// Which vacancy drop-downs may be used: the province alone until one is picked; then it is
// fixed (until "Cancelar") and the others open, except that a chosen locality shuts the
// zone and a chosen zone shuts the locality.
struct VacancyFilterEnabling {
    bool province = true;
    bool institution = false;
    bool locality = false;
    bool area = false;
    bool zone = false;
};
VacancyFilterEnabling HabilitaFiltrosVacantes(const LocationState& state);

// Narrows the vacancy tab's location lists after a change. `origin` is "" (province, area
// or institution changed), "LOCALIDAD" or "ZONABASICA"; the list that changed keeps its own
// filter. May empty and disable the locality or the zone, which exclude each other.
void FiltraLocalizacionesVacantes(const QString& origin, LocationState& state, const LocationTables& tables);

// Sets the tab's candidate filter (cleared for "0") and gives the number of candidates left.
int refreshCandidates(const QString& filter, RecordSet& candidates);

enum class LocationBox { Province, Institution, Locality, Area, Zone };
// Text change: typed or picked. List closed: the list shut, after a pick or without one.
// Choice confirmed: the applicant finished choosing or clearing (locality and zone only).
enum class LocationEvent { TextChanged, ListClosed, ChoiceConfirmed };

// What the window does after a reaction, besides showing the new state.
struct LocationReaction {
    bool sendTab = false;              // move the focus on, once the reaction is over
    std::optional<int> candidateCount; // the candidates were refreshed: rows now shown
};

// The reactions of a position tab's location drop-downs: which tables get which filter,
// which drop-downs are emptied or shut. No reaction shows a message.
class LocationFilters {
public:
    virtual ~LocationFilters() = default;
    virtual LocationReaction react(LocationBox box, LocationEvent event, LocationState& state) = 0;
    // "Cancelar": every location choice and the code emptied, every list whole again.
    virtual LocationReaction clear(LocationState& state) = 0;
    // The enabling rule of the tab, applied to `state` (the resultas tab has none).
    virtual void applyEnabling(LocationState&) const {}
    // Narrows the institutions list, over what the other choices left of it, to the
    // institutions with candidates under every other choice of `state`: picking one never
    // leaves the tab without a position. Every reaction that refreshes the candidates runs
    // it; the window runs it when the candidates change otherwise (another body).
    void offerInstitutionsWithPositions(const LocationState& state);

protected:
    explicit LocationFilters(const LocationTables& tables) : m_tables(tables) {}
    LocationReaction refresh(const LocationState& state);
    // "V" or "R", the tab's mode of ConstruyeFiltroPlazas.
    virtual QString mode() const = 0;

    LocationTables m_tables;

private:
    // The institutions list's filter as the reactions set it, and as narrowed here: a filter
    // found changed was set by a reaction and is the new ground to narrow.
    QString m_institutionsGround;
    QString m_institutionsNarrowed;
};

class VacancyLocationFilters : public LocationFilters {
public:
    explicit VacancyLocationFilters(const LocationTables& tables) : LocationFilters(tables) {}
    LocationReaction react(LocationBox box, LocationEvent event, LocationState& state) override;
    LocationReaction clear(LocationState& state) override;
    void applyEnabling(LocationState& state) const override;

protected:
    QString mode() const override { return QStringLiteral("V"); }
};

class ResultasLocationFilters : public LocationFilters {
public:
    explicit ResultasLocationFilters(const LocationTables& tables) : LocationFilters(tables) {}
    LocationReaction react(LocationBox box, LocationEvent event, LocationState& state) override;
    LocationReaction clear(LocationState& state) override;

protected:
    QString mode() const override { return QStringLiteral("R"); }

private:
    void narrowToProvince(const QString& province);
    void narrowToArea(const QString& area);
};

} // namespace velmora
