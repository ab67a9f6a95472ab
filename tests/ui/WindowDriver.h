#pragma once

#include <QApplication>
#include <QString>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

namespace velmora::test {

// A control of `window` by object name; the test fails when there is none of that kind.
template <typename T> T* control(QWidget* window, const QString& name) {
    T* found = window->findChild<T*>(name);
    EXPECT_NE(found, nullptr) << "no control " << qPrintable(name);
    return found;
}

// Shows `window` and waits until it is the active one, as the window the user looks at.
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
