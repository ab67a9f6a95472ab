#include "editor/LocationFilters.h"

#include "catalog/CatalogColumns.h"
#include "platform/CannotFail.h"
#include "platform/data/RecordSet.h"

#include <array>
#include <utility>

namespace velmora {
namespace {

const QString kLocalityOrigin = QStringLiteral("LOCALIDAD");
const QString kZoneOrigin = QStringLiteral("ZONABASICA");

namespace pos = col::Positions;

// Every location filter is built from quoted literals joined by AND/OR, so it always parses.
void setFilter(RecordSet& table, const Filter& filter) {
    cannotFail(table.setFilter(filter));
}

// Adds `condition` to the table's filter, or makes it the filter when there is none.
void narrow(RecordSet& table, const Filter& condition) {
    Filter current = Filter::heldBy(table);
    if (!current.holds(condition)) // a repeated reaction must not grow the text
        setFilter(table, current.andAlso(condition));
}

Filter vacancyFilter(const LocationState& s) {
    Filter filter;
    if (s.locality.holdsItem())
        filter.andEquals(pos::CodLocalidad, s.locality.value);
    if (s.institution.holdsItem())
        filter.andEquals(pos::CodConsejeria, s.institution.value);
    if (!s.code.isEmpty())
        filter.andEquals(pos::CodConvocatoria, s.code);
    if (!s.area.value.isEmpty())
        filter.andEquals(pos::CodArea, s.area.value);
    if (s.zone.holdsItem())
        filter.andEquals(pos::CodZona, s.zone.value);
    if (filter.isEmpty() && !s.province.value.isEmpty() && s.area.value.isEmpty())
        filter = Filter::equals(pos::CodProvincia, s.province.value);
    return filter;
}

Filter resultasFilter(const LocationState& s) {
    Filter filter;
    const auto add = [&](ColumnName column, const QString& value) {
        if (!value.isEmpty())
            filter.andEquals(column, value);
    };
    add(pos::CodProvincia, s.province.value);
    add(pos::CodLocalidad, s.locality.value);
    add(pos::CodConsejeria, s.institution.value);
    add(pos::CodConvocatoria, s.code);
    add(pos::CodArea, s.area.value);
    add(pos::CodZona, s.zone.value);
    return filter;
}

// The province of a locality, read from its row in the localities table.
QString provinceOfLocality(const RecordSet& localities, const QString& locality) {
    const auto lookup = localities.clone();
    if (!lookup->setFilter(Filter::equals(col::Localities::CodLocalidad, locality)) ||
        lookup->recordCount() == 0)
        return QString();
    return lookup->textAt(0, lookup->columnIndex(col::Localities::CodProvincia));
}

// "(CodLocalidad='a' OR CodLocalidad='b')": the localities where the institution has
// centres, or no condition when it has none.
Filter localitiesOfInstitution(RecordSet& institutions, const QString& institution) {
    if (!institutions.setFilter(Filter::equals(col::Institutions::CodInstitucion, institution)))
        return Filter();
    QStringList localities;
    const int column = institutions.columnIndex(col::Institutions::CodLocalidad);
    for (int row = 0; row < institutions.recordCount(); ++row)
        localities << institutions.textAt(row, column);
    institutions.clearFilter();
    return Filter::anyOf(col::Localities::CodLocalidad, localities);
}

} // namespace

QString ConstruyeFiltroPlazas(const QString& mode, const LocationState& state) {
    const QString upper = mode.toUpper();
    Filter filter;
    if (upper == QLatin1String("V"))
        filter = vacancyFilter(state);
    else if (upper == QLatin1String("R"))
        filter = resultasFilter(state);
    return filter.isEmpty() ? QStringLiteral("0") : filter.text();
}

VacancyFilterEnabling HabilitaFiltrosVacantes(const LocationState& state) {
    VacancyFilterEnabling enabling;
    if (state.province.value.isEmpty())
        return enabling;
    enabling.province = false;
    enabling.institution = true;
    enabling.area = true;
    enabling.locality = !state.zone.holdsItem();
    enabling.zone = !state.locality.holdsItem();
    return enabling;
}

void FiltraLocalizacionesVacantes(const QString& origin, LocationState& s, const LocationTables& t) {
    const bool fromLocality = origin == kLocalityOrigin;
    const bool fromZone = origin == kZoneOrigin;
    if (!fromLocality)
        t.localities.clearFilter();
    t.areas.clearFilter();
    if (!fromZone)
        t.zones.clearFilter();
    t.departments.clearFilter();
    t.provinces.clearFilter();

    // A locality and a zone exclude each other.
    if (s.zone.enabled && s.locality.holdsItem()) {
        t.zones.clearFilter();
        s.zone.enabled = false;
        s.zone.clear();
    }
    if (s.locality.enabled && s.zone.holdsItem()) {
        t.localities.clearFilter();
        s.locality.enabled = false;
        s.locality.clear();
    }

    const bool province = s.province.holdsItem();
    if (!fromLocality && province)
        setFilter(t.localities, Filter::equals(col::Localities::CodProvincia, s.province.value));
    if (province)
        setFilter(t.areas, Filter::equals(col::Areas::CodProvincia, s.province.value));
    if (s.locality.holdsItem() && t.areas.filter().isEmpty())
        setFilter(t.areas, Filter::equals(col::Areas::CodProvincia,
                                          provinceOfLocality(t.localities, s.locality.value)));
    if (!fromZone) {
        if (province)
            setFilter(t.zones, Filter::equals(col::Zones::CodProvincia, s.province.value));
        if (s.area.holdsItem())
            narrow(t.zones, Filter::equals(col::Zones::CodArea, s.area.value));
    }
    if (province)
        setFilter(t.departments, Filter::equals(col::Departments::CodProvincia, s.province.value));
    if (s.area.holdsItem())
        narrow(t.departments, Filter::equals(col::Departments::CodArea, s.area.value));
    if (s.institution.holdsItem()) {
        narrow(t.zones, Filter::equals(col::Zones::CodInstitucion, s.institution.value));
        if (t.institutions) {
            const Filter localities = localitiesOfInstitution(*t.institutions, s.institution.value);
            if (!localities.isEmpty())
                setFilter(t.localities, localities);
        }
    }
}

int refreshCandidates(const QString& filter, RecordSet& candidates) {
    if (filter == QLatin1String("0"))
        candidates.clearFilter();
    else
        cannotFail(candidates.setFilter(filter)); // built from quoted literals, so it parses
    return candidates.recordCount();
}

LocationReaction LocationFilters::refresh(const LocationState& state) {
    LocationReaction reaction;
    reaction.candidateCount = refreshCandidates(ConstruyeFiltroPlazas(mode(), state), m_tables.candidates);
    offerInstitutionsWithPositions(state);
    return reaction;
}

void LocationFilters::offerInstitutionsWithPositions(const LocationState& state) {
    RecordSet& institutions = m_tables.departments;
    if (institutions.filter() != m_institutionsNarrowed)
        m_institutionsGround = institutions.filter();
    LocationState others = state;
    others.institution.clear();
    const auto offered = m_tables.candidates.clone();
    const QString filter = ConstruyeFiltroPlazas(mode(), others);
    if (filter != QLatin1String("0"))
        cannotFail(offered->setFilter(filter)); // built from quoted literals, so it parses
    QStringList codes;
    const int column = offered->columnIndex(pos::CodConsejeria);
    for (int row = 0; row < offered->recordCount(); ++row)
        codes << offered->textAt(row, column);
    codes.removeDuplicates();
    codes.sort();
    // No candidate at all: no institution has one (every institution has a code).
    const Filter withPositions = codes.isEmpty() ? Filter::equals(col::Departments::CodConsejeria, QString())
                                                 : Filter::anyOf(col::Departments::CodConsejeria, codes);
    cannotFail(institutions.setFilter(m_institutionsGround)); // a filter the table held
    setFilter(institutions, Filter::heldBy(institutions).andAlso(withPositions));
    m_institutionsNarrowed = institutions.filter();
}

// --- vacancy tab ---------------------------------------------------------------------------

void VacancyLocationFilters::applyEnabling(LocationState& state) const {
    const VacancyFilterEnabling enabling = HabilitaFiltrosVacantes(state);
    state.province.enabled = enabling.province;
    state.institution.enabled = enabling.institution;
    state.locality.enabled = enabling.locality;
    state.area.enabled = enabling.area;
    state.zone.enabled = enabling.zone;
}

LocationReaction VacancyLocationFilters::react(LocationBox box, LocationEvent event, LocationState& s) {
    switch (box) {
    case LocationBox::Province:
    case LocationBox::Area:
    case LocationBox::Institution: {
        if (event == LocationEvent::ChoiceConfirmed)
            return {};
        FiltraLocalizacionesVacantes(QString(), s, m_tables);
        // A pick from a list replaces a typed code: emptied before the candidates are
        // narrowed, so the count shown is that of the choices shown.
        const bool closed = event == LocationEvent::ListClosed;
        if (closed)
            s.code.clear();
        LocationReaction reaction = refresh(s);
        reaction.sendTab = closed;
        if (box == LocationBox::Province && (event == LocationEvent::ListClosed || s.province.holdsItem()))
            applyEnabling(s);
        return reaction;
    }
    case LocationBox::Locality:
    case LocationBox::Zone: {
        if (event != LocationEvent::ChoiceConfirmed)
            return {};
        const bool locality = box == LocationBox::Locality;
        LocationChoice& changed = locality ? s.locality : s.zone;
        LocationChoice& excluded = locality ? s.zone : s.locality;
        if (!changed.enabled || !(changed.text.isEmpty() || changed.inList))
            return {};
        // Nothing left that excludes the other list: it opens again.
        if (s.institution.text.isEmpty() && changed.text.isEmpty())
            excluded.enabled = true;
        FiltraLocalizacionesVacantes(locality ? kLocalityOrigin : kZoneOrigin, s, m_tables);
        s.code.clear();
        return refresh(s);
    }
    }
    return {};
}

LocationReaction VacancyLocationFilters::clear(LocationState& s) {
    for (LocationChoice* choice : {&s.institution, &s.locality, &s.province, &s.area, &s.zone})
        choice->clear();
    s.code.clear();
    s.zone.enabled = true;
    for (RecordSet* table :
         {&m_tables.areas, &m_tables.zones, &m_tables.localities, &m_tables.departments, &m_tables.provinces})
        table->clearFilter();
    s.codeEnabled = true;
    const LocationReaction reaction = refresh(s);
    applyEnabling(s);
    return reaction;
}

// --- resultas tab --------------------------------------------------------------------------

void ResultasLocationFilters::narrowToProvince(const QString& province) {
    const std::pair<RecordSet*, ColumnName> provinceColumns[] = {
        {&m_tables.localities, col::Localities::CodProvincia},
        {&m_tables.areas, col::Areas::CodProvincia},
        {&m_tables.zones, col::Zones::CodProvincia}};
    for (const auto& [table, column] : provinceColumns) {
        table->clearFilter();
        setFilter(*table, Filter::equals(column, province));
    }
}

// The tables an area narrows, each with its area column.
static std::array<std::pair<RecordSet*, ColumnName>, 2> tablesOfArea(const LocationTables& t) {
    return {{{&t.zones, col::Zones::CodArea}, {&t.departments, col::Departments::CodArea}}};
}

void ResultasLocationFilters::narrowToArea(const QString& area) {
    for (const auto& [table, column] : tablesOfArea(m_tables)) {
        table->clearFilter();
        // An area emptied leaves the lists whole rather than empty.
        if (!area.isEmpty())
            setFilter(*table, Filter::equals(column, area));
    }
}

LocationReaction ResultasLocationFilters::react(LocationBox box, LocationEvent event, LocationState& s) {
    const bool closed = event == LocationEvent::ListClosed;
    if (event == LocationEvent::ChoiceConfirmed)
        return {};
    // The steps that end a pick from a list; the typed code goes before the candidates are
    // narrowed, so they match the choices shown.
    const auto finish = [&] {
        s.code.clear();
        LocationReaction reaction = refresh(s);
        reaction.sendTab = true;
        return reaction;
    };
    switch (box) {
    case LocationBox::Province:
        if (closed) {
            if (!s.province.holdsItem())
                return {};
            s.locality.clear();
            narrowToProvince(s.province.value);
            s.institution.clear();
            m_tables.departments.clearFilter();
            return finish();
        }
        if (!s.province.inList) {
            s.province.clearValue();
            for (RecordSet* table :
                 {&m_tables.localities, &m_tables.areas, &m_tables.zones, &m_tables.departments})
                table->clearFilter();
            for (LocationChoice* choice : {&s.area, &s.zone, &s.institution})
                choice->clear();
        } else {
            narrowToProvince(s.province.value);
        }
        return refresh(s);
    case LocationBox::Locality:
        if (closed) {
            if (s.locality.holdsItem()) {
                s.zone.clear();
                s.zone.enabled = false;
                return finish();
            }
            if (s.locality.value.isEmpty())
                s.zone.enabled = true;
            return {};
        }
        if (!s.locality.inList) {
            s.locality.clearValue();
            s.zone.enabled = true;
        } else {
            s.zone.clear();
            s.zone.enabled = false;
        }
        return refresh(s);
    case LocationBox::Institution:
        if (closed)
            return finish();
        if (!s.institution.inList)
            s.institution.clearValue();
        return refresh(s);
    case LocationBox::Area:
        if (closed) {
            s.zone.clear();
            narrowToArea(s.area.value);
            return finish();
        }
        if (!s.area.inList) {
            s.area.clearValue();
            narrowToArea(QString());
        } else {
            for (const auto& [table, column] : tablesOfArea(m_tables))
                setFilter(*table, Filter::equals(column, s.area.value));
        }
        return refresh(s);
    case LocationBox::Zone: {
        if (closed)
            return finish();
        if (s.zone.text.isEmpty())
            s.zone.clearValue();
        // Moving on while a name is half typed would take the box from the applicant.
        const bool finished = s.zone.text.isEmpty() || s.zone.inList;
        return finished ? finish() : refresh(s);
    }
    }
    return {};
}

LocationReaction ResultasLocationFilters::clear(LocationState& s) {
    for (LocationChoice* choice : {&s.institution, &s.locality, &s.province, &s.area, &s.zone})
        choice->clear();
    s.code.clear();
    s.zone.enabled = true;
    s.codeEnabled = true;
    for (RecordSet* table : {&m_tables.areas, &m_tables.zones, &m_tables.localities, &m_tables.departments})
        table->clearFilter();
    return refresh(s);
}

} // namespace velmora
