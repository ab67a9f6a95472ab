#pragma once

// Whether a window can be worked from the keyboard alone and listened to.

#include "platform/widgets/TabOrder.h"
#include "ui/WindowDriver.h"

#include <QAccessible>
#include <QComboBox>
#include <QFile>
#include <QHeaderView>
#include <QLineEdit>
#include <QMap>
#include <QRadioButton>
#include <QTableView>

namespace velmora::test {

// What a screen reader says for `object`.
inline QString accessibleName(QObject* object) {
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(object);
    return accessible ? accessible->text(QAccessible::Name).trimmed() : QString();
}

inline bool reachable(const QWidget* w) {
    return w->isVisible() && w->isEnabled() && (w->focusPolicy() & Qt::TabFocus) && !w->focusProxy();
}

// Whether `b` is seen after `a`: below it, or beside it on its right, comparing the blocks
// (frames, columns) that hold them side by side, so a frame is read through before the next.
inline bool seenAfter(const QWidget* a, const QWidget* b) {
    const QWidget* blockA = a;
    while (!blockA->parentWidget()->isAncestorOf(b))
        blockA = blockA->parentWidget();
    const QWidget* blockB = b;
    while (blockB->parentWidget() != blockA->parentWidget())
        blockB = blockB->parentWidget();
    const QRect ra = blockA->geometry(), rb = blockB->geometry();
    constexpr int kSlack = 4;
    const bool sameBand = rb.top() < ra.bottom() && ra.top() < rb.bottom();
    return rb.top() >= ra.bottom() - kSlack || (sameBand && rb.left() >= ra.right() - kSlack);
}

// What `owner` declares as its Tab order, walked with the Tab key in `window` as it stands:
// the reachable controls follow one another in the order they are seen, every reachable
// control is declared, Tab visits them in that order and comes round to the first, and every
// control that can take the focus, shown or not, has a name a screen reader says (a drop-down
// its label, not its value; an answer its question), and no two shown controls share one.
inline void checkKeyboardAccess(QWidget* window, QWidget* owner, const QString& where) {
    SCOPED_TRACE(where.toStdString());
    ASSERT_TRUE(showActive(window));
    settle();
    QStringList declared, unnamed, undeclared;
    QList<QWidget*> order;
    for (QWidget* w : declaredTabOrder(owner))
        if (reachable(w))
            order << w;
    ASSERT_FALSE(order.isEmpty());
    for (qsizetype i = 0; i < order.size(); ++i) {
        declared << order[i]->objectName();
        if (i > 0) {
            EXPECT_TRUE(seenAfter(order[i - 1], order[i]))
                << qPrintable(order[i]->objectName()) << " is seen before "
                << qPrintable(order[i - 1]->objectName());
        }
    }
    QMap<QString, QStringList> shownByName;
    QFile dump(qEnvironmentVariable("VELMORA_A11Y_DUMP"));
    if (!dump.fileName().isEmpty())
        dump.open(QIODevice::Append | QIODevice::Text);
    for (QWidget* w : window->findChildren<QWidget*>()) {
        if (!(w->focusPolicy() & Qt::TabFocus) || w->focusProxy() || w->window() != window)
            continue; // drop-down lists are windows of their own
        if (reachable(w) && !order.contains(w))
            undeclared << w->objectName();
        const QString name = accessibleName(w);
        QStringList heard{where, w->objectName(), name}; // what the dump for a reader shows
        // A listener acts on a name, never on an answer without its question or on a value.
        const auto* combo = qobject_cast<QComboBox*>(w);
        if (name.isEmpty() || name == u"Sí" || name == u"No" || (combo && name == combo->currentText()) ||
            (combo && (accessibleName(combo->view()).isEmpty() ||
                       (combo->lineEdit() && accessibleName(combo->lineEdit()).isEmpty()))))
            unnamed << w->objectName() + u'=' + name;
        if (combo)
            heard << u"valor: "_s + combo->currentText() << u"lista: "_s + accessibleName(combo->view());
        if (w->isVisible())
            shownByName[name] << w->objectName();
        // A table offers the columns shown, and names a row by what it holds.
        const auto* view = qobject_cast<QTableView*>(w);
        if (QAccessibleTableInterface* table =
                view && w->isVisible() ? QAccessible::queryAccessibleInterface(w)->tableInterface()
                                       : nullptr) {
            const int shownColumns =
                view->horizontalHeader()->count() - view->horizontalHeader()->hiddenSectionCount();
            EXPECT_EQ(table->columnCount(), shownColumns) << qPrintable(w->objectName());
            bool number = false;
            const QString row = table->rowCount() > 0 ? table->rowDescription(0) : u"vacía"_s;
            row.toInt(&number);
            EXPECT_FALSE(row.isEmpty() || number) << qPrintable(w->objectName());
            heard << u"columnas: %1"_s.arg(table->columnCount()) << u"fila 1: "_s + row;
        }
        if (dump.isOpen() && w->isVisible())
            dump.write((heard.join(u'\t') + u'\n').toUtf8());
    }
    EXPECT_EQ(undeclared, QStringList());
    EXPECT_EQ(unnamed, QStringList());
    for (const auto& [name, controls] : shownByName.asKeyValueRange())
        EXPECT_EQ(controls.size(), 1) << qPrintable(name) << ": " << qPrintable(controls.join(u' '));

    // Tab enters a group of exclusive option buttons once; the arrow keys move inside it.
    QStringList expected;
    for (qsizetype i = 0; i < order.size(); ++i) {
        const auto* option = qobject_cast<QRadioButton*>(order[i]);
        const auto* before = i > 0 ? qobject_cast<QRadioButton*>(order[i - 1]) : nullptr;
        if (!(option && before && option->autoExclusive() &&
              before->parentWidget() == option->parentWidget()))
            expected << order[i]->objectName();
    }
    order.first()->setFocus(Qt::TabFocusReason);
    QStringList walked;
    for (qsizetype i = 0; i <= expected.size(); ++i) {
        walked << focusName();
        pressKey(Qt::Key_Tab);
    }
    EXPECT_EQ(walked, expected + QStringList{expected.first()});
}

} // namespace velmora::test
