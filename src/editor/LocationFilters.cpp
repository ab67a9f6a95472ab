#include "editor/LocationFilters.h"

#include "editor/PreferenceListRoutines.h"
#include "platform/CannotFail.h"
#include "platform/data/RecordSet.h"

namespace velmora {
namespace {

const QString kLocalityOrigin = QStringLiteral("LOCALIDAD");
const QString kZoneOrigin = QStringLiteral("ZONABASICA");

// "Column='value'" followed by `tail`, the form every location filter takes.
QString equals(const char* column, const QString& value, const char* tail = " ") {
    return QLatin1String(column) + QLatin1Char('=') + quotedLiteral(value) + QLatin1String(tail);
}

// Every location filter is built from quoted literals joined by AND/OR, so it always parses.
void setFilter(RecordSet& table, const QString& criteria) {
    cannotFail(table.setFilter(criteria));
}

// Adds `condition` to the table's filter, or makes it the filter when there is none.
void narrow(RecordSet& table, const QString& condition, const char* joint) {
    const QString current = table.filter();
    if (current.isEmpty())
        setFilter(table, condition);
    else if (!current.contains(condition)) // a repeated reaction must not grow the text
        setFilter(table, current + QLatin1String(joint) + condition);
}

QString vacancyFilter(const LocationState& s) {
    QString filter;
    if (s.locality.holdsItem())
        filter += QLatin1String(" AND ") + equals("CodLocalidad", s.locality.value);
    if (s.institution.holdsItem())
        filter += QLatin1String(" AND ") + equals("CodConsejeria", s.institution.value);
    if (!s.code.isEmpty())
        filter += QLatin1String(" AND ") + equals("CodConvocatoria", s.code);
    if (!s.area.value.isEmpty())
        filter += QLatin1String(" AND ") + equals("CodArea", s.area.value, "");
    if (s.zone.holdsItem())
        filter += QLatin1String(" AND ") + equals("CodZona", s.zone.value);
    if (filter.isEmpty() && !s.province.value.isEmpty() && s.area.value.isEmpty())
        filter = QLatin1String(" AND (  ") + equals("CodProvincia", s.province.value) + QLatin1String(" ) ");
    return filter;
}

QString resultasFilter(const LocationState& s) {
    QString filter;
    const auto add = [&](const char* column, const QString& value, const char* tail = " ") {
        if (!value.isEmpty())
            filter += QLatin1String(" AND ") + equals(column, value, tail);
    };
    add("CodProvincia", s.province.value);
    add("CodLocalidad", s.locality.value);
    add("CodConsejeria", s.institution.value);
    add("CodConvocatoria", s.code);
    add("CodArea", s.area.value, "");
    add("CodZona", s.zone.value);
    return filter;
}

// The province of a locality, read from its row in the localities table.
QString provinceOfLocality(const RecordSet& localities, const QString& locality) {
    const auto lookup = localities.clone();
    if (!lookup->setFilter(equals("CodLocalidad", locality)) || lookup->recordCount() == 0)
        return QString();
    return lookup->textAt(0, lookup->columnIndex(u"CodProvincia"));
}

// " (  CodLocalidad='a' OR  CodLocalidad='b'  ) ": the localities where the institution has
// centres, or an empty text when it has none.
QString localitiesOfInstitution(RecordSet& institutions, const QString& institution) {
    if (!institutions.setFilter(equals("Codinstitucion", institution)))
        return QString();
    QString alternatives;
    const int column = institutions.columnIndex(u"CodLocalidad");
    for (int row = 0; row < institutions.recordCount(); ++row)
        alternatives += QLatin1Char(' ') + equals("CodLocalidad", institutions.textAt(row, column), " OR ");
    institutions.clearFilter();
    if (alternatives.isEmpty())
        return QString();
    alternatives.chop(3); // the last "OR "
    return QLatin1String(" ( ") + alternatives + QLatin1String(" ) ");
}

} // namespace

QString ConstruyeFiltroPlazas(const QString& mode, const LocationState& state) {
    const QString upper = mode.toUpper();
    QString filter;
    if (upper == QLatin1String("V"))
        filter = vacancyFilter(state);
    else if (upper == QLatin1String("R"))
        filter = resultasFilter(state);
    // Every condition starts with " AND": the first one loses it and keeps its blank.
    return filter.isEmpty() ? QStringLiteral("0") : filter.mid(4);
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
        setFilter(t.localities, equals("CodProvincia", s.province.value));
    if (province)
        setFilter(t.areas, equals("CodProvincia", s.province.value));
    if (s.locality.holdsItem() && t.areas.filter().isEmpty())
        setFilter(t.areas, QLatin1Char(' ') +
                               equals("CodProvincia", provinceOfLocality(t.localities, s.locality.value)));
    if (!fromZone) {
        if (province)
            setFilter(t.zones, equals("CodProvincia", s.province.value));
        if (s.area.holdsItem())
            narrow(t.zones, equals("CodArea", s.area.value), " AND ");
    }
    if (province)
        setFilter(t.departments, equals("CodProvincia", s.province.value));
    if (s.area.holdsItem())
        narrow(t.departments, equals("CodArea", s.area.value), " and ");
    if (s.institution.holdsItem()) {
        narrow(t.zones, equals("Codinstitucion", s.institution.value), " AND ");
        if (t.institutions) {
            const QString localities = localitiesOfInstitution(*t.institutions, s.institution.value);
            if (!localities.isEmpty())
                setFilter(t.localities, localities);
        }
    }
}

int refreshCandidates(const QString& filter, RecordSet& candidates) {
    if (filter == QLatin1String("0"))
        candidates.clearFilter();
    else
        setFilter(candidates, filter);
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
        setFilter(*offered, filter);
    QStringList codes;
    const int column = offered->columnIndex(u"CodConsejeria");
    for (int row = 0; row < offered->recordCount(); ++row)
        codes << offered->textAt(row, column);
    codes.removeDuplicates();
    codes.sort();
    QStringList alternatives;
    for (const QString& code : std::as_const(codes))
        alternatives << equals("CodConsejeria", code);
    // No candidate at all: no institution has one (every institution has a code).
    QString narrowed =
        alternatives.isEmpty()
            ? equals("CodConsejeria", QString())
            : QLatin1String(" ( ") + alternatives.join(QLatin1String(" OR ")) + QLatin1String(" ) ");
    if (!m_institutionsGround.isEmpty())
        narrowed = QLatin1String(" ( ") + m_institutionsGround + QLatin1String(" ) AND") + narrowed;
    setFilter(institutions, narrowed);
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
    for (RecordSet* table : {&m_tables.localities, &m_tables.areas, &m_tables.zones}) {
        table->clearFilter();
        setFilter(*table, equals("CodProvincia", province));
    }
}

void ResultasLocationFilters::narrowToArea(const QString& area) {
    for (RecordSet* table : {&m_tables.zones, &m_tables.departments}) {
        table->clearFilter();
        // An area emptied leaves the lists whole rather than empty.
        if (!area.isEmpty())
            setFilter(*table, equals("CodArea", area));
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
            for (RecordSet* table : {&m_tables.zones, &m_tables.departments})
                setFilter(*table, QLatin1Char(' ') + equals("CodArea", s.area.value));
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
