#include "ui/editor/PanelParts.h"

#include "editor/FieldSeparator.h"
#include "platform/MessageService.h"
#include "platform/widgets/CharacterGuard.h"
#include "platform/widgets/DataComboBox.h"
#include "platform/widgets/DataGrid.h"
#include "platform/widgets/EnterKey.h"

#include <QGridLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace velmora {

QPushButton* makeButton(const QString& name, const QString& caption, QWidget* parent) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setAutoDefault(false);
    pressOnEnter(button);
    return button;
}

QLineEdit* makeLineEdit(const QString& name, QWidget* parent, int maxLength) {
    auto* box = new QLineEdit(parent);
    box->setObjectName(name);
    if (maxLength > 0)
        box->setMaxLength(maxLength);
    // The lists' texts stay out of the barcodes today; they keep to the first tab's rule all
    // the same, so that no box of the editor takes a character it may not print.
    CharacterGuard::install(box, kRecordSeparator, kRecordSeparatorStandIn);
    return box;
}

QLabel* makeLabel(const QString& name, const QString& caption, QWidget* parent) {
    auto* label = new QLabel(caption, parent);
    label->setObjectName(name);
    return label;
}

DataComboBox* makeComboBox(const QString& name, QWidget* parent) {
    auto* box = new DataComboBox(parent);
    box->setObjectName(name);
    box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    box->setMinimumContentsLength(8);
    return box;
}

QString designGridCaption(int tabIndex) {
    switch (tabIndex) {
    case 1:
        return QStringLiteral("CURSOS DE FORMACIÓN DE FUNCIONARIOS (Base tercera 4.)");
    case 2:
        return QStringLiteral("PUESTOS DE TRABAJO SOLICITADOS PLAZAS VACANTES");
    case 3:
        return QStringLiteral("PUESTOS DE TRABAJO SOLICITADOS PLAZAS RESULTAS");
    case 4:
        return QStringLiteral("DOCUMENTACIÓN QUE APORTA");
    default:
        return QString();
    }
}

QLabel* makeGridLabel(int tabIndex, QWidget* parent) {
    auto* label = makeLabel(QStringLiteral("lblGrid(%1)").arg(tabIndex), designGridCaption(tabIndex), parent);
    QFont bold = label->font();
    bold.setBold(true);
    label->setFont(bold);
    label->setWordWrap(true);
    return label;
}

DataGrid* makeGrid(const QString& name, const QString& section, RecordSet& list,
                   const QList<ColumnBinding>& columns, const QStringList& hidden, QWidget* parent) {
    auto* grid = new DataGrid(parent);
    grid->setObjectName(name);
    grid->setAccessibleName(section);
    grid->bind(&list);
    // Hidden columns stay out of the model: a screen reader offers only what is shown. The
    // panels read them from the record set by name.
    QList<ColumnBinding> shown;
    for (const ColumnBinding& column : columns)
        if (!hidden.contains(column.column, Qt::CaseInsensitive))
            shown << column;
    grid->setColumns(shown);
    grid->horizontalHeader()->setStretchLastSection(true);
    grid->setMinimumHeight(140);
    return grid;
}

QLabel* makeGridCaption(const QString& name, const QString& caption, QWidget* parent) {
    auto* label = makeLabel(name, caption, parent);
    label->setAlignment(Qt::AlignCenter);
    label->setFrameShape(QFrame::Panel);
    label->setFrameShadow(QFrame::Raised);
    label->setAutoFillBackground(true);
    label->setBackgroundRole(QPalette::Button);
    return label;
}

void addField(QGridLayout& layout, int row, int column, QLabel* label, QWidget* field, int span) {
    label->setBuddy(field);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    layout.addWidget(label, row, column);
    layout.addWidget(field, row, column + 1, 1, span);
}

qint64 singleSelectedRow(const DataGrid& grid) {
    const QItemSelectionModel* selection = grid.selectionModel();
    if (!selection || selection->selectedRows().size() != 1)
        return -1;
    return grid.selectedRowId();
}

} // namespace velmora
