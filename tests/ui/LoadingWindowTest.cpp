#include "ui/LoadingWindow.h"

#include "catalog/CatalogLoader.h"
#include "catalog/CatalogTables.h"
#include "support/ContestFixture.h"
#include "support/FakeMessageService.h"
#include "ui/WindowDriver.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

#include <gtest/gtest.h>

namespace velmora {
namespace {

using test::ContestFixture;
using test::control;
using test::FakeMessageService;

class LoadingWindowTest : public ::testing::Test {
protected:
    LoadingWindowTest() {
        CatalogLoader loader(contest.folders().data, messages);
        EXPECT_TRUE(loader.buildBodies(tables.bodies));
    }

    bool waitUntilDone() {
        return QTest::qWaitFor([&] { return finished; }, 20000);
    }

    ContestFixture contest;
    CatalogTables tables;
    FakeMessageService messages;
    bool finished = false;
};

TEST_F(LoadingWindowTest, RefusesTheCloseWhileLoadingAndEndsWithTheBarFull) {
    LoadingWindow window(contest.folders(), tables, messages);
    auto* bar = control<QProgressBar>(&window, "prg");
    auto* next = control<QPushButton>(&window, "cmdContinuar");
    EXPECT_EQ(control<QLabel>(&window, "Label1")->text(), QStringLiteral("Cargando información ..."));
    EXPECT_EQ(next->text(), QStringLiteral("Continuar"));
    EXPECT_FALSE(next->isEnabled());

    // Once the caption is set the sequence is running; the user's close attempts are handled
    // at its next pause, while it still loads.
    struct Attempt {
        bool closed = true;
        bool visible = false;
        bool buttonEnabled = true;
        int barValue = -1;
    } attempt;
    QObject::connect(&window, &QWidget::windowTitleChanged, &window, [&] {
        QMetaObject::invokeMethod(
            &window,
            [&] {
                attempt.closed = window.close();
                QTest::keyClick(&window, Qt::Key_Escape);
                attempt.visible = window.isVisible();
                attempt.buttonEnabled = next->isEnabled();
                attempt.barValue = bar->value();
            },
            Qt::QueuedConnection);
    });
    QObject::connect(&window, &LoadingWindow::loadingFinished, &window, [&] { finished = true; });

    window.show();
    ASSERT_TRUE(waitUntilDone());
    EXPECT_FALSE(attempt.closed);
    EXPECT_TRUE(attempt.visible);
    EXPECT_FALSE(attempt.buttonEnabled);
    EXPECT_GT(attempt.barValue, 0) << "the bar moves while loading";
    EXPECT_LT(attempt.barValue, bar->maximum());

    EXPECT_TRUE(window.isLoaded());
    EXPECT_FALSE(window.endsProgram());
    EXPECT_EQ(window.windowTitle(),
              QStringLiteral("Concurso de Traslados 2026 - Servicio Regional de Salud 1.0.0"));
    EXPECT_TRUE(
        control<QLabel>(&window, "lblTitulo")->text().startsWith(QStringLiteral("\nCONCURSO DE TRASLADOS")));
    // 10 bodies and 3 groups: 660 + 30 x 10 x 4 + 30 x 3.
    EXPECT_EQ(bar->maximum(), 1950);
    EXPECT_EQ(bar->value(), bar->maximum());
    EXPECT_TRUE(next->isEnabled());
    EXPECT_GT(tables.vacantPositions.recordCount(), 0);
    EXPECT_TRUE(messages.messages.empty());

    // Loaded, the close box closes it like "Continuar".
    EXPECT_TRUE(window.close());
    EXPECT_FALSE(window.isVisible());
}

TEST_F(LoadingWindowTest, ContinuarClosesItAfterLoading) {
    LoadingWindow window(contest.folders(), tables, messages);
    QObject::connect(&window, &LoadingWindow::loadingFinished, &window, [&] {
        finished = true;
        QMetaObject::invokeMethod(
            &window,
            [&] { QTest::mouseClick(control<QPushButton>(&window, "cmdContinuar"), Qt::LeftButton); },
            Qt::QueuedConnection);
    });
    EXPECT_EQ(window.exec(), QDialog::Accepted);
    EXPECT_TRUE(finished);
}

TEST_F(LoadingWindowTest, ClosesItselfAfterALoadingError) {
    contest.removeCatalogue("F0015.enc");
    LoadingWindow window(contest.folders(), tables, messages);
    QObject::connect(&window, &LoadingWindow::loadingFinished, &window, [&] { finished = true; });
    window.show();
    ASSERT_TRUE(waitUntilDone());
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(window.result(), QDialog::Rejected);
    EXPECT_FALSE(window.isLoaded());
    EXPECT_FALSE(window.endsProgram());
    EXPECT_EQ(window.outcome().failedStep, 13);
    ASSERT_EQ(messages.messages.size(), 2u) << messages.texts().join('|').toStdString();
    EXPECT_TRUE(messages.messages[1].text.startsWith(QStringLiteral("Error en línea 13.")))
        << messages.messages[1].text.toStdString();
    EXPECT_FALSE(control<QPushButton>(&window, "cmdContinuar")->isEnabled());
}

} // namespace
} // namespace velmora
