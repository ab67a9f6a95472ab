#include "ui/LoadingWindow.h"

#include "app/LoadedTables.h"
#include "catalog/CatalogLoader.h"
#include "support/ContestFixture.h"
#include "support/FakeMessageService.h"
#include "ui/WindowDriver.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

#include <gtest/gtest.h>

namespace velmora {
namespace {

using test::control;

class LoadingWindowTest : public ::testing::Test {
protected:
    LoadingWindowTest() {
        CatalogLoader loader(contest.folders().data, messages);
        EXPECT_TRUE(loader.buildBodies(tables.bodies));
        QObject::connect(&window, &LoadingWindow::loadingFinished, [this] { finished = true; });
    }

    test::ContestFixture contest;
    LoadedTables tables;
    test::FakeMessageService messages;
    LoadingWindow window{contest.folders(), tables, messages};
    bool finished = false;
};

TEST_F(LoadingWindowTest, RefusesTheCloseWhileLoadingAndEndsWithTheBarFull) {
    auto* bar = control<QProgressBar>(&window, "prg");
    auto* next = control<QPushButton>(&window, "cmdContinuar");
    EXPECT_FALSE(next->isEnabled());

    // Once the caption is set the sequence runs; the user's attempts to close are handled at
    // its next pause, while it still loads.
    bool closed = true, visible = false, enabled = true;
    int barValue = -1;
    QObject::connect(&window, &QWidget::windowTitleChanged, &window, [&] {
        QMetaObject::invokeMethod(
            &window,
            [&] {
                closed = window.close();
                QTest::keyClick(&window, Qt::Key_Escape);
                visible = window.isVisible();
                enabled = next->isEnabled();
                barValue = bar->value();
            },
            Qt::QueuedConnection);
    });
    window.show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return finished; }, 20000));
    EXPECT_FALSE(closed);
    EXPECT_TRUE(visible);
    EXPECT_FALSE(enabled);
    EXPECT_GT(barValue, 0) << "the bar moves while loading";

    // The texts and the bar's steps are LoadingSequenceTest's; here the window showing them.
    EXPECT_FALSE(control<QLabel>(&window, "lblTitulo")->text().isEmpty());
    EXPECT_EQ(bar->value(), bar->maximum());
    EXPECT_TRUE(next->isEnabled());
    EXPECT_TRUE(messages.messages.empty());

    QTest::mouseClick(next, Qt::LeftButton);
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(window.result(), QDialog::Accepted);
}

TEST_F(LoadingWindowTest, ClosesItselfAfterALoadingError) {
    contest.removeCatalogue("F0015.enc");
    EXPECT_EQ(window.exec(), QDialog::Rejected);
    EXPECT_TRUE(finished);
    EXPECT_FALSE(window.isLoaded());
    EXPECT_FALSE(window.endsProgram());
    EXPECT_EQ(window.outcome().failedStep, 13);
}

} // namespace
} // namespace velmora
