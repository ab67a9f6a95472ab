#pragma once

#include "platform/widgets/RecordSetModel.h"

#include <QList>
#include <QString>

class QGridLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

namespace velmora {

class DataComboBox;
class DataGrid;

// Small builders shared by the editor's list panels: every widget gets its control name as
// its object name, so the window, the tests and the saved-form code find it by that name.
QPushButton* makeButton(const QString& name, const QString& caption, QWidget* parent);
QLineEdit* makeLineEdit(const QString& name, QWidget* parent, int maxLength = 0);
QLabel* makeLabel(const QString& name, const QString& caption, QWidget* parent);
DataComboBox* makeComboBox(const QString& name, QWidget* parent);
// The `lblGrid(i)` title a panel shows above its content; the editor writes its caption.
QLabel* makeGridLabel(int tabIndex, QWidget* parent);
// The caption `lblGrid(tabIndex)` shows until the contest configuration gives one.
QString designGridCaption(int tabIndex);
// A grid bound to `list` showing `columns`; the columns named in `hidden` stay out of sight.
// `section` is what a screen reader calls the grid.
DataGrid* makeGrid(const QString& name, const QString& section, RecordSet& list,
                   const QList<ColumnBinding>& columns, const QStringList& hidden, QWidget* parent);
// A caption bar over a grid, as the grids of the form carry one.
QLabel* makeGridCaption(const QString& name, const QString& caption, QWidget* parent);

// Puts `label` and `field` on one row of a form grid (label right-aligned, buddy set).
void addField(QGridLayout& layout, int row, int column, QLabel* label, QWidget* field, int span = 1);

// The selected grid row when exactly one row is selected; -1 otherwise.
qint64 singleSelectedRow(const DataGrid& grid);

} // namespace velmora
