#include "ui/GeneralProgressWindow.h"

#include "ui/WindowDriver.h"

#include <QLabel>
#include <QProgressBar>

#include <gtest/gtest.h>

namespace velmora {
namespace {

using test::control;

TEST(GeneralProgressWindow, ShowsTheActionWithoutBlockingAndNeverOverfillsTheBar) {
    QWidget owner;
    owner.show();
    GeneralProgressWindow window(&owner);
    auto* label = control<QLabel>(&window, "lblAccion");
    auto* bar = control<QProgressBar>(&window, "prgBar");
    EXPECT_EQ(window.objectName(), QStringLiteral("frmProgresoGeneral"));
    EXPECT_EQ(label->text(), QStringLiteral("Guadando datos ..."));
    EXPECT_FALSE(window.isVisible()) << "shown only once an action starts";

    // Driven the way saving drives it, through its progress interface.
    ProgressWindow& progress = window;
    progress.showAction(QStringLiteral("Guardando Datos ..."));
    EXPECT_TRUE(window.isVisible());
    EXPECT_FALSE(window.isModal());
    EXPECT_TRUE(window.isWindow());
    EXPECT_EQ(label->text(), QStringLiteral("Guardando Datos ..."));
    EXPECT_EQ(progress.action(), QStringLiteral("Guardando Datos ..."));

    progress.setMaximum(324.4f);
    progress.advance(100.6f);
    EXPECT_EQ(bar->maximum(), 324);
    EXPECT_EQ(bar->value(), 101);
    progress.advance(1000);
    EXPECT_EQ(bar->value(), 324);
    progress.setValue(-5);
    EXPECT_EQ(bar->value(), 0);

    progress.unload();
    EXPECT_FALSE(window.isVisible());
}

} // namespace
} // namespace velmora
