#include "ui/GeneralProgressWindow.h"

#include "ui/WindowDriver.h"

#include <QLabel>
#include <QProgressBar>

#include <gtest/gtest.h>

#include <limits>

namespace velmora {
namespace {

TEST(GeneralProgressWindow, ShowsTheActionWithoutBlockingAndKeepsTheBarInRange) {
    QWidget owner;
    owner.show();
    GeneralProgressWindow window(&owner);
    auto* label = test::control<QLabel>(&window, "lblAccion");
    auto* bar = test::control<QProgressBar>(&window, "prgBar");
    EXPECT_EQ(label->text(), u"Guadando datos ..."_s);
    EXPECT_FALSE(window.isVisible()) << "shown only once an action starts";

    ProgressWindow& progress = window; // as saving drives it
    progress.showAction(u"Guardando Datos ..."_s);
    EXPECT_TRUE(window.isVisible());
    EXPECT_TRUE(window.isWindow());
    EXPECT_FALSE(window.isModal());
    EXPECT_EQ(label->text(), u"Guardando Datos ..."_s);
    progress.setMaximum(324.4f);
    progress.setValue(100.6f);
    EXPECT_EQ(bar->maximum(), 324);
    EXPECT_EQ(bar->value(), 101);
    progress.advance(1000); // past the end: a full bar, not an out-of-range value
    EXPECT_EQ(bar->value(), 324);
    progress.setValue(-5);
    EXPECT_EQ(bar->value(), 0);
    EXPECT_EQ(ProgressBarUpdater::units(std::numeric_limits<float>::quiet_NaN()), 0);
    EXPECT_EQ(ProgressBarUpdater::units(1e12f), std::numeric_limits<int>::max());
    progress.unload();
    EXPECT_FALSE(window.isVisible());
}

} // namespace
} // namespace velmora
