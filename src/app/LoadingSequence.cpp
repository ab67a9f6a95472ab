#include "app/LoadingSequence.h"

#include "app/ContestConfiguration.h"
#include "app/LoadedTables.h"
#include "catalog/CatalogLoader.h"
#include "editor/ApplicationListTables.h"
#include "platform/Progress.h"

#include <functional>
#include <vector>

namespace velmora {

LoadingSequence::LoadingSequence(AppFolders folders, CatalogTables& catalogs, ApplicationListTables& lists,
                                 Progress& progress, LoadingView* view)
    : m_folders(std::move(folders)), m_catalogs(catalogs), m_lists(lists), m_progress(progress),
      m_view(view ? view : &m_silentView) {}

LoadingSequence::LoadingSequence(AppFolders folders, LoadedTables& tables, Progress& progress,
                                 LoadingView* view)
    : LoadingSequence(std::move(folders), tables, tables, progress, view) {}

LoadingOutcome LoadingSequence::run() {
    LoadingOutcome outcome;
    int step = 2;
    const Status status = runSteps(step);
    outcome.catalogueWarnings = m_catalogueWarnings;
    if (status) {
        outcome.loaded = true;
        outcome.notice = positionsPerPageWarning();
        return outcome;
    }
    m_view->setBusy(false);
    outcome.failedStep = step;
    outcome.error = status.error();
    outcome.endsProgram = status.error().endsProgram;
    // A failure that ends the program says so in its own words; any other is named by its step,
    // after what went wrong on the way.
    if (outcome.endsProgram) {
        outcome.notice = status.error();
        return outcome;
    }
    outcome.notice = status.error().retold(QStringLiteral("Error en línea %1.%2 %3")
                                               .arg(step)
                                               .arg(status.error().description)
                                               .arg(status.error().number),
                                           programTitle(), MessageIcon::None);
    return outcome;
}

// A places-per-page value that printing cannot use as written is said at once, while the
// contest office can still mend conf.xml, rather than found later on paper.
std::optional<Error> LoadingSequence::positionsPerPageWarning() const {
    const auto config = ContestConfiguration::read(m_folders.program);
    if (!config.ok())
        return std::nullopt;
    const QString warning = config->positionsPerPageSetting().warning;
    if (warning.isEmpty())
        return std::nullopt;
    return Error::told(ErrorCode::InvalidValue,
                       QStringLiteral("Aviso de la configuración del concurso (conf.xml):\n") + warning,
                       programTitle(), MessageIcon::Exclamation);
}

namespace {

// One numbered step of the sequence. The number is what a failure names, so numbers may
// repeat (several actions of one step) and skip (steps that only existed as comments).
struct LoadingStep {
    int number;
    std::function<Status()> action;
};

Status ok() {
    return {};
}

} // namespace

Status LoadingSequence::runSteps(int& step) {
    CatalogTables& t = m_catalogs;
    ApplicationListTables& lists = m_lists;
    CatalogLoader loader(m_folders.data);
    const float stepSize = kStep;
    auto advance = [&](float by) {
        return [this, by] {
            m_progress.advance(by);
            return ok();
        };
    };
    auto yield = [this] {
        m_progress.yieldToEvents();
        return ok();
    };
    QString contestName;
    const PositionSources sources{t.bodies,         t.groups,          t.positionBody,
                                  t.positionGroup,  t.vacantPositions, t.resultasPositions,
                                  t.vacancyDetails, t.resultasDetails};

    // Reading conf.xml itself is never the failure (step 5): the first value read from it is.
    const std::vector<LoadingStep> steps = {
        {3, [&] { return m_view->setBusy(true), ok(); }},
        {4,
         [&]() -> Status {
             auto headline = readHeadline(m_folders.data);
             if (!headline)
                 return headline.error();
             m_view->setHeadline(*headline);
             return ok();
         }},
        {6,
         [&]() -> Status {
             auto name = ContestConfiguration::readContestName(m_folders.program);
             if (!name)
                 return name.error();
             contestName = *name;
             return ok();
         }},
        {7, [&] { return m_view->setCaption(windowCaption(contestName)), ok(); }},
        {9, [&] { return m_progress.setMaximum(660), ok(); }},
        {10,
         [&] {
             m_progress.setMaximum(m_progress.maximum() + stepSize * float(t.bodies.recordCount()) * 4.0f);
             return ok();
         }},
        {11, [&] { return m_progress.setValue(0), ok(); }},
        {12, [&] { return CatalogLoader::createAreas(t.areas); }},
        {13, [&] { return loader.buildSituations(t.situations); }},
        {14, [&] { return CatalogLoader::createZones(t.zones); }},
        {15, [&] { return loader.buildGroups(t.groups); }},
        {16, [&] { return CatalogLoader::createAreas(t.areas2); }},
        {17, [&] { return CatalogLoader::createZones(t.zones2); }},
        {18, [&] { return loader.fillZones(t.zones, QStringLiteral("F0013.enc")); }},
        {19, [&] { return loader.fillAreas(t.areas, QStringLiteral("F0014.enc")); }},
        {20, [&] { return loader.fillAreas(t.areas2, QStringLiteral("F0014.enc")); }},
        {21, [&] { return loader.fillZones(t.zones2, QStringLiteral("F0013.enc")); }},
        {21, [&] { return CatalogLoader::fillZoneProvinces(t.zones, t.areas); }},
        {21, [&] { return CatalogLoader::fillZoneProvinces(t.zones2, t.areas2); }},
        {22,
         [&] {
             m_progress.setMaximum(m_progress.maximum() + stepSize * float(t.groups.recordCount()));
             return ok();
         }},
        {23, advance(stepSize)},
        {24, [&] { return loader.buildLocalities(t.localities); }},
        {25, [&] { return t.cloneLocalities(), ok(); }},
        {26, advance(stepSize)},
        {28, yield},
        {29, [&] { return createCoursesList(lists.coursesList); }},
        {30, advance(stepSize)},
        {31, [&] { return loader.buildInstitutions(t.institutions); }},
        {33, yield},
        {34, [&] { return loader.buildDepartments(t.departments); }},
        {35, [&] { return loader.buildDepartments(t.departments2); }},
        {36, advance(stepSize)},
        {37, [&] { return CatalogLoader::createProvinces(t.provinces); }},
        {38, advance(stepSize)},
        {39, [&] { return loader.fillProvinces(t.provinces, QStringLiteral("F0002.enc")); }},
        {40, advance(stepSize)},
        {41, [&] { return CatalogLoader::createProvinces(t.addressProvinces); }},
        {42, advance(stepSize)},
        {44, yield},
        {45, [&] { return loader.fillProvinces(t.addressProvinces, QStringLiteral("F0001.enc")); }},
        {46, advance(stepSize)},
        {47, [&] { return createResultasList(lists.resultasList); }},
        {48, advance(stepSize)},
        {49, [&] { return createVacancyList(lists.vacancyList); }},
        {50, advance(stepSize)},
        {51, [&] { return loader.buildResultasDetails(t.resultasDetails, t.areas); }},
        {52, advance(stepSize)},
        {53, [&] { return loader.buildVacancyDetails(t.vacancyDetails, t.areas); }},
        {54, advance(stepSize)},
        {55, [&] { return loader.buildPositionBody(t.positionBody); }},
        {56, advance(stepSize)},
        {57, [&] { return loader.buildPositionGroup(t.positionGroup); }},
        {58, advance(stepSize)},
        {60, yield},
        {61,
         [&] { return loader.buildPositions(QStringLiteral("R"), t.resultasPositions, t.resultasDetails); }},
        {62, advance(stepSize)},
        {63, [&] { return loader.buildPositions(QStringLiteral("V"), t.vacantPositions, t.vacancyDetails); }},
        {64, advance(stepSize)},
        {65, [&] { return positionsByBody(sources, t.bodyPositions, m_progress, kStep); }},
        {66, advance(stepSize)},
        {67, [&] { return positionsByGroup(sources, t.groupPositions, m_progress, kStep); }},
        {68, advance(stepSize)},
        // The same catalogue as step 24, read and sorted then: taken from there.
        {69, [&] { return t.localities2 = t.localities.copy(), ok(); }},
        {70, advance(1)},
        {71, [&] { return t.localities3 = t.localities.copy(), ok(); }},
        {72, [&] { return createDocumentsList(lists.documentsList); }},
        {73, advance(1)},
        {75, [&] { return m_view->setBusy(false), ok(); }},
        {76, [&] { return m_progress.setValue(m_progress.maximum()), ok(); }},
    };
    for (const LoadingStep& s : steps) {
        step = s.number; // recorded first, so a failure names the step it stopped in
        const Status done = s.action();
        m_catalogueWarnings = loader.warnings();
        VELMORA_TRY(done);
    }
    return ok();
}

namespace {

LoadingOutcome loadInto(const AppFolders& folders, CatalogTables& catalogs, ApplicationListTables& lists) {
    CatalogLoader loader(folders.data);
    const Status bodies = loader.buildBodies(catalogs.bodies);
    if (!bodies) {
        LoadingOutcome outcome;
        outcome.error = bodies.error();
        outcome.notice = bodies.error().retold(QStringLiteral("Error al cargar los cuerpos: %1 %2")
                                                   .arg(bodies.error().description)
                                                   .arg(bodies.error().number),
                                               programTitle(), MessageIcon::Critical);
        return outcome;
    }
    Progress progress;
    LoadingOutcome outcome = LoadingSequence(folders, catalogs, lists, progress).run();
    outcome.catalogueWarnings = loader.warnings() + outcome.catalogueWarnings;
    return outcome;
}

} // namespace

LoadingOutcome loadInstallation(const AppFolders& folders, LoadedTables& tables) {
    return loadInto(folders, tables, tables);
}

LoadingOutcome loadInstallation(const AppFolders& folders, CatalogTables& catalogs) {
    ApplicationListTables lists;
    return loadInto(folders, catalogs, lists);
}

} // namespace velmora
