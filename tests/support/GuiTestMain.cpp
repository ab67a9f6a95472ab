#include "platform/HeadlessEnvironment.h"
#include "platform/widgets/SpanishTranslation.h"
#include "support/PendingAnswers.h"

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QPointer>
#include <QTimer>

#include <gtest/gtest.h>

#include <cstdio>

// No modal window may keep a test waiting for ever (its keys went elsewhere on a loaded
// machine, or it opened after the step meant to answer it gave up): one open longer than any
// test drives one fails the test, naming it, and is closed, so that the run goes on.
static void watchModalWindows(QApplication& app) {
    constexpr qint64 kLimitMs = 150000;
    auto* timer = new QTimer(&app);
    QObject::connect(
        timer, &QTimer::timeout, timer, [shown = QElapsedTimer(), watched = QPointer<QWidget>()]() mutable {
            QWidget* modal = QApplication::activeModalWidget();
            if (modal != watched) {
                watched = modal;
                shown.start();
            } else if (auto* dialog = qobject_cast<QDialog*>(modal); dialog && shown.elapsed() > kLimitMs) {
                ADD_FAILURE() << "la ventana " << qPrintable(dialog->objectName()) << " lleva "
                              << kLimitMs / 1000 << " s abierta sin que la prueba la cierre";
                dialog->reject();
                shown.start();
            }
        });
    timer->start(1000);
}

// A test leaves nothing to the next one: a window answer still waiting is dropped (the window it
// waited for did not appear while it ran, which is said), and what it queued is run.
class PendingAnswersBelongToTheirTest : public ::testing::EmptyTestEventListener {
    void OnTestEnd(const ::testing::TestInfo& test) override {
        const QStringList windows = velmora::test::dropPendingAnswers();
        // What the test left queued runs now, inside a loop of its own: a program's end asked for
        // at its last step (QCoreApplication::exit) ends that loop, not the next test's first
        // window, and leaves no "quit now" behind, which would end every later window's loop at
        // once (only QCoreApplication::exec clears it).
        QTimer::singleShot(0, qApp, [] { QCoreApplication::exit(0); });
        QCoreApplication::exec();
        if (!windows.isEmpty() && !test.result()->Failed() && !test.result()->Skipped())
            std::fprintf(stderr, "%s.%s: no llegó a abrirse %s\n", test.test_suite_name(), test.name(),
                         qPrintable(windows.join(QStringLiteral(", "))));
    }
};

int main(int argc, char** argv) {
    velmora::prepareHeadlessEnvironment();
    QApplication app(argc, argv);
    velmora::installSpanishTranslation(app);
    watchModalWindows(app);
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::UnitTest::GetInstance()->listeners().Append(new PendingAnswersBelongToTheirTest);
    return RUN_ALL_TESTS();
}
