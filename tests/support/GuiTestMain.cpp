#include "platform/HeadlessEnvironment.h"
#include "platform/widgets/SpanishTranslation.h"

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QPointer>
#include <QTimer>

#include <gtest/gtest.h>

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

int main(int argc, char** argv) {
    velmora::prepareHeadlessEnvironment();
    QApplication app(argc, argv);
    velmora::installSpanishTranslation(app);
    watchModalWindows(app);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
