// The program's windows on the realistic sample contest, offscreen: from start to the
// sign-in window shown, from sign-in to the editor shown (loading included), choosing a
// body until its candidates are ready, and reopening an application of 1,000 vacancies and
// 1,000 resultas. The peak memory counter is the process's after an editor is open.
//
//   build/bench/WindowsBench --benchmark_repetitions=5 --benchmark_report_aggregates_only=true

#include "applications/ApplicationFiles.h"
#include "catalog/CatalogLoader.h"
#include "catalog/SampleContest.h"
#include "editor/ControlName.h"
#include "platform/Clock.h"
#include "platform/HeadlessEnvironment.h"
#include "platform/MessageService.h"
#include "platform/widgets/DataComboBox.h"
#include "platform/widgets/SpanishTranslation.h"
#include "printing/PrintingWordProcessor.h"
#include "printing/SampleApplication.h"
#include "printing/TemplateWriter.h"
#include "ui/EditorWindow.h"
#include "ui/LoadingWindow.h"
#include "ui/SignInWindow.h"
#include "users/UserStore.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <memory>

using namespace velmora;

namespace {

constexpr auto kDni = "12345678Z";

const QString& installation() {
    static QTemporaryDir dir;
    static bool written = [] {
        const Status contest = writeSampleContest(dir.path(), SampleScale::Realistic, 1);
        const Status templates = writeApplicationTemplates(AppFolders::at(dir.path()).data, TemplateKey{});
        QDir().mkpath(AppFolders::at(dir.path()).applications);
        return contest.ok() && templates.ok();
    }();
    static const QString path = written ? dir.path() : QString();
    return path;
}

double peakMemoryMiB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_maxrss) / 1024.0;
}

void settle() {
    for (int i = 0; i < 3; ++i)
        QCoreApplication::processEvents();
}

// What the program holds once an applicant is in the editor.
struct Session {
    SilentMessageService messages;
    FixedClock clock{QDateTime(QDate(2026, 3, 5), QTime(10, 0))};
    RunState state;
    std::unique_ptr<UserStore> users;
    PrintingWordProcessor printing;
    std::unique_ptr<EditorWindow> editor;

    Session() {
        state.folders = AppFolders::at(installation());
        users = std::make_unique<UserStore>(state.folders.program);
        (void)users->AbreUsuarios();
        state.signedIn = true;
        state.signedInDni = QString::fromLatin1(kDni);
        state.hasPassword = true;
    }

    void load() {
        (void)CatalogLoader(state.folders.data).buildBodies(state.tables.bodies);
        LoadingWindow loading(state.folders, state.tables, messages);
        // Continuar once everything is loaded, as the user does.
        QObject::connect(
            &loading, &LoadingWindow::loadingFinished, &loading,
            [&loading] { loading.findChild<QPushButton*>(QStringLiteral("cmdContinuar"))->click(); },
            Qt::QueuedConnection);
        loading.exec();
    }

    EditorWindow& openEditor() {
        editor =
            std::make_unique<EditorWindow>(EditorServices{state, messages, clock, *users, printing, false});
        editor->show();
        editor->setSignedInDni(state.signedInDni);
        settle();
        return *editor;
    }
};

void BM_StartToSignInShown(benchmark::State& state) {
    for (auto _ : state) {
        SilentMessageService messages;
        RunState run;
        run.folders = AppFolders::at(installation());
        (void)CatalogLoader(run.folders.data).buildBodies(run.tables.bodies);
        UserStore users(run.folders.program);
        SignInWindow signIn(users, messages, run);
        signIn.show();
        settle();
    }
}
BENCHMARK(BM_StartToSignInShown)->Unit(benchmark::kMillisecond);

void BM_SignInToEditorShown(benchmark::State& state) {
    for (auto _ : state) {
        Session session;
        session.load();
        session.openEditor();
        state.counters["peak_MiB"] = peakMemoryMiB();
    }
}
BENCHMARK(BM_SignInToEditorShown)->Unit(benchmark::kMillisecond);

void BM_ChooseBodyUntilCandidatesReady(benchmark::State& state) {
    Session session;
    session.load();
    EditorWindow& editor = session.openEditor();
    auto* body = editor.findChild<DataComboBox*>(ctl::cboCuerpo);
    auto* count = editor.findChild<QLabel*>(QStringLiteral("lblPlazas"));
    body->setFocus();
    for (auto _ : state) {
        QKeyEvent down(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
        QCoreApplication::sendEvent(body, &down);
        QCoreApplication::processEvents(); // the list closes from the event loop
        benchmark::DoNotOptimize(count->text());
        state.PauseTiming();
        if (body->currentIndex() + 1 >= body->count()) {
            QKeyEvent home(QEvent::KeyPress, Qt::Key_Home, Qt::NoModifier);
            QCoreApplication::sendEvent(body, &home);
            QCoreApplication::processEvents();
        }
        state.ResumeTiming();
    }
}
BENCHMARK(BM_ChooseBodyUntilCandidatesReady)->Unit(benchmark::kMillisecond);

void BM_ReopenApplicationOf1000And1000(benchmark::State& state) {
    // A fresh applications folder: an earlier save of the same application would be found.
    QDir(AppFolders::at(installation()).applications).removeRecursively();
    QDir().mkpath(AppFolders::at(installation()).applications);
    Session session;
    session.load();
    EditorWindow& first = session.openEditor();
    auto* body = first.findChild<DataComboBox*>(ctl::cboCuerpo);
    body->setFocus();
    QKeyEvent down(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
    QCoreApplication::sendEvent(body, &down);
    settle();
    (void)test::addSamplePositions(session.state.tables.vacancyList, 1000);
    (void)test::addSamplePositions(session.state.tables.resultasList, 1000, 20000);
    (void)session.users->AltaUsuario(QString::fromLatin1(kDni), QStringLiteral("SECRETO"));
    first.GrabaSolicitud(false, false);
    const QString fileName = applicationFileName(
        QString::fromLatin1(kDni), first.model().value(ctl::cboCuerpo), first.model().value(ctl::cboGrupo));
    for (auto _ : state) {
        state.PauseTiming();
        for (RecordSet* list : {&session.state.tables.vacancyList, &session.state.tables.resultasList})
            while (list->recordCount() > 0) {
                list->moveFirst();
                (void)list->deleteCurrent();
            }
        EditorWindow& editor = session.openEditor();
        state.ResumeTiming();
        if (!editor.loadApplication(fileName).ok())
            state.SkipWithError("the saved application could not be read");
        settle();
    }
}
BENCHMARK(BM_ReopenApplicationOf1000And1000)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    prepareHeadlessEnvironment();
    QApplication app(argc, argv);
    installSpanishTranslation(app);
    if (installation().isEmpty())
        return 1;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
