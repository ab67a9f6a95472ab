#include "platform/widgets/DniLineEdit.h"

#include "platform/widgets/TabKey.h"
#include "support/FakeMessageService.h"
#include "users/DniValidator.h"

#include <QApplication>
#include <QClipboard>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

#include <gtest/gtest.h>

using namespace velmora;

namespace {

// A DNI box, then a disabled button and one that can take the focus, in an active window.
struct Form {
    QWidget window;
    DniLineEdit* box = new DniLineEdit(&window);
    QPushButton* next = new QPushButton(&window);

    Form() {
        auto* layout = new QVBoxLayout(&window);
        layout->addWidget(box);
        layout->addWidget(new QPushButton(&window));
        layout->itemAt(1)->widget()->setEnabled(false);
        layout->addWidget(next);
        window.show();
        window.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
        box->setFocus();
    }
};

} // namespace

TEST(DniLineEdit, DiscardedCharactersNeverEnterTypedOrPasted) {
    Form form;
    form.box->setDiscardedCharacters(u"-.,"_s);
    QTest::keyClicks(form.box, u"12.345,678-Z"_s);
    EXPECT_EQ(form.box->text(), u"12345678Z"_s);
    form.box->selectAll();
    QTest::keyClicks(form.box, u"-"_s); // over a selection: no effect at all
    EXPECT_EQ(form.box->text(), u"12345678Z"_s);

    form.box->setText(u"9"_s);
    QApplication::clipboard()->setText(u"1.2-3,4"_s);
    form.box->home(false);
    form.box->paste();
    EXPECT_EQ(form.box->text(), u"12349"_s);
    EXPECT_EQ(form.box->cursorPosition(), 4) << "the cursor stays after the pasted text";
}

TEST(DniLineEdit, TheCheckColoursItThroughThePalette) {
    Form form;
    form.box->setText(u"12345678a"_s);
    EXPECT_FALSE(ValidaDNI(*form.box));
    EXPECT_EQ(form.box->palette().color(QPalette::Inactive, QPalette::Text), QColor(254, 0, 0));
    form.box->setText(u"12345678z"_s);
    EXPECT_TRUE(ValidaDNI(*form.box));
    EXPECT_EQ(form.box->foreColor(), QColor(0, 0, 0));
    EXPECT_EQ(form.box->QLineEdit::text(), u"12345678Z"_s);
}

TEST(DniLineEdit, TellsOfEditingKeysOnly) {
    Form form;
    form.box->setSelectAllOnFocus(true);
    QSignalSpy edited(form.box, &DniLineEdit::editingKeyReleased);
    QSignalSpy left(form.box, &DniLineEdit::focusLeft);
    QTest::keyClicks(form.box, u"12"_s);
    QTest::keyClick(form.box, Qt::Key_Left); // moves, changes nothing
    QTest::keyClick(form.box, Qt::Key_Shift);
    EXPECT_EQ(edited.count(), 2);

    // As a Tab key would: on to the next control that can take the focus.
    sendTabKey(form.box);
    EXPECT_TRUE(form.next->hasFocus());
    ASSERT_EQ(left.count(), 1);
    EXPECT_EQ(left.at(0).at(0).value<Qt::FocusReason>(), Qt::TabFocusReason);

    // Back by mouse, the whole text is selected.
    QTest::mouseClick(form.box, Qt::LeftButton, {}, QPoint(5, form.box->height() / 2));
    QTest::qWait(1);
    EXPECT_EQ(form.box->selectedText(), u"12"_s);
}
