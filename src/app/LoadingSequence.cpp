#include "app/LoadingSequence.h"

#include "app/ContestConfiguration.h"
#include "platform/Progress.h"
#include "catalog/CatalogLoader.h"
#include "catalog/CatalogTables.h"
#include "catalog/ListTables.h"
#include "platform/MessageService.h"

namespace velmora {

LoadingSequence::LoadingSequence(AppFolders folders, CatalogTables& tables, MessageService& messages,
                                 Progress& progress, LoadingView* view)
    : m_folders(std::move(folders)), m_tables(tables), m_messages(messages), m_progress(progress),
      m_view(view ? view : &m_silentView) {}

LoadingOutcome LoadingSequence::run() {
    LoadingOutcome outcome;
    int step = 2;
    const Status status = runSteps(step);
    if (status) {
        outcome.loaded = true;
        return outcome;
    }
    m_view->setBusy(false);
    outcome.failedStep = step;
    outcome.error = status.error();
    outcome.endsProgram = status.error().endsProgram;
    // A failure that ends the program has already said so in its own words.
    if (!outcome.endsProgram)
        m_messages.show(QStringLiteral("Error en línea %1.%2 %3")
                            .arg(step)
                            .arg(status.error().description)
                            .arg(status.error().number),
                        programTitle(), MessageIcon::None, MessageButtons::Ok);
    return outcome;
}

// Each step records its number before it runs, so a failure names the step it stopped in.
#define LOAD_STEP(number, ...)                                                                               \
    do {                                                                                                     \
        step = (number);                                                                                     \
        VELMORA_TRY((__VA_ARGS__));                                                                          \
    } while (false)

Status LoadingSequence::runSteps(int& step) {
    CatalogTables& t = m_tables;
    CatalogLoader loader(m_folders.data, m_messages);
    auto done = [] { return Status(); };
    auto advance = [&](float by) {
        m_progress.advance(by);
        return Status();
    };
    auto yield = [&] {
        m_progress.yieldToEvents();
        return Status();
    };

    LOAD_STEP(3, (m_view->setBusy(true), done()));
    step = 4;
    {
        auto headline = readHeadline(m_folders.data);
        if (!headline)
            return headline.error();
        m_view->setHeadline(*headline);
    }
    step = 5; // loading conf.xml itself is never the failure: reading from it is
    step = 6;
    auto contestName = ContestConfiguration::readContestName(m_folders.program);
    if (!contestName)
        return contestName.error();
    LOAD_STEP(7, (m_view->setCaption(windowCaption(*contestName)), done()));
    const int stepSize = kStep; // step 8
    step = 9;
    m_progress.setMaximum(660);
    step = 10;
    m_progress.setMaximum(m_progress.maximum() + float(stepSize) * float(t.bodies.recordCount()) * 4.0f);
    step = 11;
    m_progress.setValue(0);
    LOAD_STEP(12, CatalogLoader::createAreas(t.areas));
    LOAD_STEP(13, loader.buildSituations(t.situations));
    LOAD_STEP(14, CatalogLoader::createZones(t.zones));
    LOAD_STEP(15, loader.buildGroups(t.groups));
    LOAD_STEP(16, CatalogLoader::createAreas(t.areas2));
    LOAD_STEP(17, CatalogLoader::createZones(t.zones2));
    QString zonesFile = QStringLiteral("F0013.enc");
    QString areasFile = QStringLiteral("F0014.enc");
    LOAD_STEP(18, loader.fillZones(t.zones, zonesFile));
    areasFile = QStringLiteral("F0014.enc");
    LOAD_STEP(19, loader.fillAreas(t.areas, areasFile));
    areasFile = QStringLiteral("F0014.enc");
    LOAD_STEP(20, loader.fillAreas(t.areas2, areasFile));
    zonesFile = QStringLiteral("F0013.enc");
    LOAD_STEP(21, loader.fillZones(t.zones2, zonesFile));
    LOAD_STEP(21, CatalogLoader::fillZoneProvinces(t.zones, t.areas));
    LOAD_STEP(21, CatalogLoader::fillZoneProvinces(t.zones2, t.areas2));
    step = 22;
    m_progress.setMaximum(m_progress.maximum() + float(stepSize) * float(t.groups.recordCount()));
    LOAD_STEP(23, advance(stepSize));
    LOAD_STEP(24, loader.buildLocalities(t.localities));
    LOAD_STEP(25, (t.cloneLocalities(), done()));
    LOAD_STEP(26, advance(stepSize));
    LOAD_STEP(28, yield());
    LOAD_STEP(29, createCoursesList(t.coursesList));
    LOAD_STEP(30, advance(stepSize));
    LOAD_STEP(31, loader.buildInstitutions(t.institutions));
    LOAD_STEP(33, yield());
    LOAD_STEP(34, loader.buildDepartments(t.departments));
    LOAD_STEP(35, loader.buildDepartments(t.departments2));
    LOAD_STEP(36, advance(stepSize));
    LOAD_STEP(37, CatalogLoader::createProvinces(t.provinces));
    LOAD_STEP(38, advance(stepSize));
    QString provincesFile = QStringLiteral("F0002.enc");
    LOAD_STEP(39, loader.fillProvinces(t.provinces, provincesFile));
    LOAD_STEP(40, advance(stepSize));
    LOAD_STEP(41, CatalogLoader::createProvinces(t.addressProvinces));
    LOAD_STEP(42, advance(stepSize));
    LOAD_STEP(44, yield());
    provincesFile = QStringLiteral("F0001.enc");
    LOAD_STEP(45, loader.fillProvinces(t.addressProvinces, provincesFile));
    LOAD_STEP(46, advance(stepSize));
    LOAD_STEP(47, createResultasList(t.resultasList));
    LOAD_STEP(48, advance(stepSize));
    LOAD_STEP(49, createVacancyList(t.vacancyList));
    LOAD_STEP(50, advance(stepSize));
    LOAD_STEP(51, loader.buildResultasDetails(t.resultasDetails, t.areas));
    LOAD_STEP(52, advance(stepSize));
    LOAD_STEP(53, loader.buildVacancyDetails(t.vacancyDetails, t.areas));
    LOAD_STEP(54, advance(stepSize));
    LOAD_STEP(55, loader.buildPositionBody(t.positionBody));
    LOAD_STEP(56, advance(stepSize));
    LOAD_STEP(57, loader.buildPositionGroup(t.positionGroup));
    LOAD_STEP(58, advance(stepSize));
    LOAD_STEP(60, yield());
    LOAD_STEP(61, loader.buildPositions(QStringLiteral("R"), t.resultasPositions, t.resultasDetails));
    LOAD_STEP(62, advance(stepSize));
    LOAD_STEP(63, loader.buildPositions(QStringLiteral("V"), t.vacantPositions, t.vacancyDetails));
    LOAD_STEP(64, advance(stepSize));
    const PositionSources sources{t.bodies,         t.groups,          t.positionBody,
                                  t.positionGroup,  t.vacantPositions, t.resultasPositions,
                                  t.vacancyDetails, t.resultasDetails};
    LOAD_STEP(65, positionsByBody(sources, t.bodyPositions, m_progress, stepSize));
    LOAD_STEP(66, advance(stepSize));
    LOAD_STEP(67, positionsByGroup(sources, t.groupPositions, m_progress, stepSize));
    LOAD_STEP(68, advance(stepSize));
    LOAD_STEP(69, loader.buildLocalities(t.localities2));
    LOAD_STEP(70, advance(1));
    LOAD_STEP(71, loader.buildLocalities(t.localities3));
    LOAD_STEP(72, createDocumentsList(t.documentsList));
    LOAD_STEP(73, advance(1));
    step = 75;
    m_view->setBusy(false);
    step = 76;
    m_progress.setValue(m_progress.maximum());
    return {};
}

#undef LOAD_STEP

LoadingOutcome loadInstallation(const AppFolders& folders, CatalogTables& tables, MessageService& messages) {
    CatalogLoader loader(folders.data, messages);
    const Status bodies = loader.buildBodies(tables.bodies);
    if (!bodies) {
        LoadingOutcome outcome;
        outcome.error = bodies.error();
        messages.show(QStringLiteral("Error al cargar los cuerpos: %1 %2")
                          .arg(bodies.error().description)
                          .arg(bodies.error().number),
                      programTitle(), MessageIcon::Critical, MessageButtons::Ok);
        return outcome;
    }
    Progress progress;
    return LoadingSequence(folders, tables, messages, progress).run();
}

} // namespace velmora
