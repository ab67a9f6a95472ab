#pragma once

#include "platform/AppFolders.h"
#include "platform/Result.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace velmora {

struct ApplicationListTables;
struct CatalogTables;
struct LoadedTables;
class Progress;

// What the loading window shows besides its progress bar.
class LoadingView {
public:
    virtual ~LoadingView() = default;
    virtual void setHeadline(const QString&) {}
    virtual void setCaption(const QString&) {}
    virtual void setBusy(bool) {}
};

struct LoadingOutcome {
    bool loaded = false;
    int failedStep = 0;         // the numbered step that failed, 0 when none did
    std::optional<Error> error; // the failure, as the step met it
    bool endsProgram = false;   // the failure leaves nothing to work with: the caller ends the program
    // What the caller tells the user once the sequence is over: the failure, naming its step
    // (but not one the catalogue loader has told itself, as those that end the program), or,
    // after a complete load, a value of conf.xml that printing cannot use as written.
    std::optional<Error> notice;
    // For the contest office, not the applicant: catalogues that loaded but look wrong (one
    // with no record at all may be meant, as a contest without resultas).
    QStringList catalogueWarnings;
};

// Builds every catalogue and list table after sign-in, in a fixed order of numbered
// steps, and the position lookups by body and by group. The bodies table is expected
// to be built already. A failing step stops the sequence, to be told as
// "Error en línea N.descripción número"; the tables built so far stay, and every other
// table keeps its empty, open state.
class LoadingSequence {
public:
    static constexpr int kStep = 30;

    LoadingSequence(AppFolders folders, CatalogTables& catalogs, ApplicationListTables& lists,
                    Progress& progress, LoadingView* view = nullptr);
    LoadingSequence(AppFolders folders, LoadedTables& tables, Progress& progress,
                    LoadingView* view = nullptr);

    LoadingOutcome run();

    // The bar's maximum before the lookups: 660 + step x bodies x 4, plus step x groups.
    static float progressMaximum(int bodies, int groups) {
        return 660.0f + float(kStep) * float(bodies) * 4.0f + float(kStep) * float(groups);
    }

private:
    Status runSteps(int& step);
    std::optional<Error> positionsPerPageWarning() const;

    AppFolders m_folders;
    CatalogTables& m_catalogs;
    ApplicationListTables& m_lists;
    Progress& m_progress;
    LoadingView* m_view;
    LoadingView m_silentView;
    QStringList m_catalogueWarnings;
};

// What start-up does before the editor opens, without windows: the bodies table, then the
// whole loading sequence. For the tools and other headless runs; the caller tells the
// outcome's notice.
LoadingOutcome loadInstallation(const AppFolders& folders, LoadedTables& tables);
// The same for readers of the catalogues alone (the tools, the contest office): the
// application's lists are built and dropped.
LoadingOutcome loadInstallation(const AppFolders& folders, CatalogTables& catalogs);

} // namespace velmora
