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

    EXPECT_EQ(window.windowTitle(), u"Concurso de Traslados 2026 - Servicio Regional de Salud 1.0.0"_s);
    EXPECT_TRUE(control<QLabel>(&window, "lblTitulo")->text().startsWith(u"\nCONCURSO DE TRASLADOS"_s));
    // 10 bodies and 3 groups: 660 + 30 x 10 x 4 + 30 x 3.
    EXPECT_EQ(bar->maximum(), 1950);
    EXPECT_EQ(bar->value(), bar->maximum());
    EXPECT_TRUE(next->isEnabled());
    EXPECT_FALSE(window.endsProgram());
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
    ASSERT_EQ(messages.messages.size(), 2u);
    EXPECT_TRUE(messages.messages[1].text.startsWith(u"Error en línea 13."_s));
}

} // namespace
} // namespace velmora
