#pragma once

#include <QApplication>
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

// Where the window system delivers a key: an open drop-down list takes it, else the control
// with the focus.
inline QWidget* keyTarget() {
    if (QWidget* popup = QApplication::activePopupWidget())
        return popup->focusWidget() ? popup->focusWidget() : popup;
    return QApplication::focusWidget();
}

// A key pressed and released by the user; nothing happens when nothing would get it.
inline void pressKey(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QWidget* target = keyTarget();
    EXPECT_NE(target, nullptr) << "no control has the focus";
    if (target)
        QTest::keyClick(target, key, modifiers);
    settle();
}

// Text typed key by key; the focus may move on in between, and the next key follows it.
inline void typeKeys(const QString& text) {
    for (const QChar c : text)
        if (QWidget* target = keyTarget())
            QTest::sendKeyEvent(QTest::Click, target, Qt::Key_unknown, QString(c), Qt::NoModifier);
    settle();
}

// Tab (or Shift+Tab with `key` Backtab) until the control `name` has the focus; false after
// a whole round of the window without it.
inline bool tabTo(const QString& name, Qt::Key key = Qt::Key_Tab) {
    for (int i = 0; i < 150 && focusName() != name; ++i)
        pressKey(key);
    return focusName() == name;
}

} // namespace velmora::test
