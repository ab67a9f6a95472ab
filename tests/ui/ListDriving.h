#pragma once

// Drives the editor's list tabs as a person does: picks from the drop-down lists, types into
// boxes, presses buttons, all by object name.

#include "platform/data/RecordSet.h"
#include "platform/widgets/DataComboBox.h"
#include "platform/widgets/DataGrid.h"
#include "ui/WindowDriver.h"

#include <QLineEdit>
#include <QPushButton>
#include <QSet>
#include <QTableView>
#include <QTest>

namespace velmora::test {

inline DataComboBox* dropDown(QWidget* window, const char* name) {
    return control<DataComboBox>(window, QString::fromLatin1(name));
}

// A closed drop-down list hands the keyboard back to its window, as a desktop does; the
// offscreen platform leaves no window active, and then no box gets or loses the focus.
inline void activate(QWidget* widget) {
    QWidget* window = widget->window();
    if (QApplication::activeWindow() == window)
        return;
    window->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(window, 60000)) << qPrintable(window->objectName());
}

inline void press(QWidget* window, const char* name) {
    if (auto* button = control<QPushButton>(window, QString::fromLatin1(name)))
        button->click();
    settle();
}

// Types `text` over what the box holds (an empty text empties it) and leaves it for `next`, so what runs on
// leaving runs.
inline void typeInto(QWidget* window, const char* name, const QString& text, const char* next = nullptr) {
    auto* box = control<QLineEdit>(window, QString::fromLatin1(name));
    if (!box)
        return;
    activate(box);
    box->setFocus(Qt::TabFocusReason);
    box->selectAll();
    if (text.isEmpty())
        QTest::keyClick(box, Qt::Key_Backspace);
    for (const QChar c : text)
        QTest::sendKeyEvent(QTest::Click, box, Qt::Key_unknown, QString(c), Qt::NoModifier);
    if (next)
        control<QWidget>(window, QString::fromLatin1(next))->setFocus(Qt::TabFocusReason);
    settle();
}

// Opens the list of `box` and picks with Enter the row whose key is `code`; false when the
// list does not show it.
inline bool pickFromList(DataComboBox* box, const QString& code) {
    box->setFocus(Qt::TabFocusReason);
    box->showPopup();
    RecordSetModel* model = box->listModel();
    for (int row = 0; row < model->rowCount(); ++row)
        if (model->text(row, box->keyColumn()) == code) {
            box->listView()->setCurrentIndex(model->index(row, box->modelColumn()));
            QTest::keyClick(box->listView(), Qt::Key_Return);
            settle();
            activate(box);
            return true;
        }
    box->hidePopup();
    settle();
    activate(box);
    return false;
}

// The key codes a drop-down lists now.
inline QSet<QString> listedCodes(const DataComboBox* box) {
    QSet<QString> codes;
    const RecordSetModel* model = box->listModel();
    for (int row = 0; row < model->rowCount(); ++row)
        codes.insert(model->text(row, box->keyColumn()));
    return codes;
}

// Distinct values of `column` over every row of `table` (its own filter left aside) whose
// `where` column holds `equals` (every row when `where` is empty).
inline QSet<QString> valuesWhere(const RecordSet& table, QStringView column, QStringView where = {},
                                 const QString& equals = {}) {
    auto all = table.clone();
    all->clearFilter();
    QSet<QString> values;
    const int wanted = all->columnIndex(column);
    const int condition = where.isEmpty() ? -1 : all->columnIndex(where);
    for (int row = 0; row < all->recordCount(); ++row)
        if (condition < 0 || all->textAt(row, condition) == equals)
            values.insert(all->textAt(row, wanted));
    return values;
}

// Selects the grid row shown at `row`, as a click on it does.
inline void selectGridRow(QWidget* window, const char* grid, int row) {
    auto* view = control<DataGrid>(window, QString::fromLatin1(grid));
    view->selectRowId(view->recordModel()->rowIdAt(row));
}

} // namespace velmora::test
