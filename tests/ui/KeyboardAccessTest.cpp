#include "platform/widgets/TabOrder.h"
#include "ui/EditorFixture.h"
#include "ui/ListDriving.h"
#include "ui/LoadingWindow.h"
#include "ui/ManualViewer.h"
#include "ui/PasswordWindow.h"
#include "ui/PreviewWindow.h"
#include "ui/SelectionWindow.h"
#include "ui/SignInWindow.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QComboBox>
#include <QDialog>
#include <QHeaderView>
#include <QLabel>
#include <QRadioButton>
#include <QTabWidget>

#include <gtest/gtest.h>

namespace velmora::test {
namespace {

bool reachable(const QWidget* w) {
    return w->isVisible() && w->isEnabled() && (w->focusPolicy() & Qt::TabFocus) && !w->focusProxy();
}

// Whether `b` is seen after `a`: below it, or beside it on its right, comparing the blocks
// (frames, columns) that hold them side by side, so a frame is read through before the next.
bool seenAfter(const QWidget* a, const QWidget* b) {
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
// control that can take the focus, shown or not, has a name a screen reader says.
void checkKeyboardAccess(QWidget* window, QWidget* owner, const QString& where) {
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
    for (QWidget* w : window->findChildren<QWidget*>()) {
        if (!(w->focusPolicy() & Qt::TabFocus) || w->focusProxy() || w->window() != window)
            continue; // drop-down lists are windows of their own
        if (reachable(w) && !order.contains(w))
            undeclared << w->objectName();
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(w);
        if (!accessible || accessible->text(QAccessible::Name).trimmed().isEmpty())
            unnamed << w->objectName();
    }
    EXPECT_EQ(undeclared, QStringList());
    EXPECT_EQ(unnamed, QStringList());

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

// Every shown caption, button and box of the page has at least the room it asks for.
void expectNothingCutOff(QWidget* page) {
    for (QWidget* widget : page->findChildren<QWidget*>()) {
        if (!widget->isVisible() || widget->objectName().isEmpty())
            continue;
        const auto* label = qobject_cast<QLabel*>(widget);
        int wanted = 0;
        if (label && !label->wordWrap())
            wanted = label->sizeHint().width();
        else if (qobject_cast<QAbstractButton*>(widget))
            wanted = widget->sizeHint().width();
        else if (qobject_cast<QLineEdit*>(widget) || qobject_cast<QComboBox*>(widget))
            wanted = widget->minimumSizeHint().width();
        EXPECT_GE(widget->width(), wanted) << widget->objectName().toStdString();
    }
    for (DataGrid* grid : page->findChildren<DataGrid*>()) {
        const QHeaderView* header = grid->horizontalHeader();
        for (int column = 0; column < header->count(); ++column) {
            const QString caption = grid->model()->headerData(column, Qt::Horizontal).toString();
            if (header->isSectionHidden(column))
                continue;
            EXPECT_GE(header->sectionSize(column), header->fontMetrics().horizontalAdvance(caption) + 6)
                << grid->objectName().toStdString() << " " << caption.toStdString();
        }
    }
}

// Escape leaves a dialog as its "Salir" (or "Cerrar") does: closed, nothing accepted.
void checkEscapeLeaves(QDialog& dialog) {
    ASSERT_TRUE(showActive(&dialog));
    pressKey(Qt::Key_Escape);
    EXPECT_FALSE(dialog.isVisible()) << qPrintable(dialog.objectName());
    EXPECT_EQ(dialog.result(), QDialog::Rejected) << qPrintable(dialog.objectName());
}

TEST(KeyboardAccess, EveryWindowAndTabIsWalkedInTheOrderSeenAndEveryControlIsNamedAndShownWhole) {
    EditorFixture f;
    {
        LoadingWindow loading(f.state.folders, f.state.tables, f.messages);
        loading.show();
        ASSERT_TRUE(QTest::qWaitFor([&] { return loading.isLoaded(); }));
        checkKeyboardAccess(&loading, &loading, u"frmProgreso"_s);
    }
    SelectionWindow selection(f.state, f.messages);
    checkKeyboardAccess(&selection, &selection, u"frmSeleccion"_s);
    selection.close();
    SignInWindow signIn(f.users, f.messages, f.state);
    checkKeyboardAccess(&signIn, &signIn, u"frmUsuario"_s);
    checkEscapeLeaves(signIn);
    PasswordWindow password(f.users, f.messages);
    password.setStrDNI(QString::fromLatin1(EditorFixture::kDni));
    checkKeyboardAccess(&password, &password, u"frmCreaPwd"_s);
    checkEscapeLeaves(password);
    EXPECT_FALSE(f.users.ExisteUsuario(QString::fromLatin1(EditorFixture::kDni)));
    EXPECT_TRUE(f.messages.messages.empty()) << f.messages.texts().join(u'|').toStdString();
    ManualViewer manual(QDir(f.dir.path()).filePath(u"no-hay-manual.doc"_s), f.messages);
    checkKeyboardAccess(&manual, &manual, u"manual"_s);
    checkEscapeLeaves(manual);
    f.messages.messages.clear(); // the manual was missing
    PreviewWindow preview(nullptr);
    checkKeyboardAccess(&preview, &preview, QStringLiteral("frmVistaPrevia"));
    checkEscapeLeaves(preview);

    EditorWindow& editor = f.openEditor();
    DataComboBox* body = dropDown(&editor, "cboCuerpo");
    const QSet<QString> bodies = listedCodes(body);
    const auto plain =
        std::find_if(bodies.begin(), bodies.end(), [](const QString& c) { return !c.startsWith(u'X'); });
    ASSERT_TRUE(plain != bodies.end() && pickFromList(body, *plain));
    auto* tabs = control<QTabWidget>(&editor, u"tabPrincipal"_s);
    for (int i = 0; i < tabs->count(); ++i) {
        tabs->setCurrentIndex(i);
        checkKeyboardAccess(&editor, &editor, tabs->tabText(i));
        expectNothingCutOff(tabs->widget(i));
    }
    EXPECT_TRUE(f.messages.messages.empty()) << f.messages.texts().join(u'|').toStdString();
}

} // namespace
} // namespace velmora::test
