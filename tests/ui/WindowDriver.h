#pragma once

#include <QApplication>
#include <QString>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

namespace velmora::test {

// A control of `window` found by its object name; fails the test when it is missing or of
// another kind.
template <typename T> T* control(QWidget* window, const QString& name) {
    T* found = window->findChild<T*>(name);
    EXPECT_NE(found, nullptr) << "no control " << qPrintable(name);
    return found;
}

// Shows `window` and waits until it has the focus, as a window the user is looking at.
inline bool showActive(QWidget* window) {
    window->show();
    window->activateWindow();
    return QTest::qWaitForWindowActive(window);
}

// Lets queued work (checks run after a focus change, the loading sequence) happen.
inline void settle() {
    for (int i = 0; i < 3; ++i)
        QCoreApplication::processEvents();
}

inline QString focusName() {
    QWidget* focus = QApplication::focusWidget();
    return focus ? focus->objectName() : QString();
}

} // namespace velmora::test
