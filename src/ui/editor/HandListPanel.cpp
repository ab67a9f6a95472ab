#include "ui/editor/HandListPanel.h"

#include "platform/MessageService.h"
#include "platform/data/RecordSet.h"
#include "platform/widgets/DataGrid.h"
#include "platform/widgets/TabOrder.h"
#include "ui/editor/NumericKeyFilter.h"
#include "ui/editor/PanelParts.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace velmora {
namespace {

QStringList columnsOf(const QList<HandListPanel::Field>& fields) {
    QStringList columns;
    for (const auto& field : fields)
        columns << field.column;
    return columns;
}

} // namespace

HandListPanel::HandListPanel(RecordSet& list, MessageService& messages, const Layout& layout, QWidget* parent)
    : QWidget(parent), m_editor(list, layout.idColumn, columnsOf(layout.fields)), m_messages(messages) {
    build(layout);
}

void HandListPanel::build(const Layout& layout) {
    m_gridLabel = makeGridLabel(layout.tabIndex, this);
    QLabel* caption = makeGridCaption(layout.grid + QStringLiteral("Caption"), layout.gridCaption, this);
    m_grid = makeGrid(layout.grid, layout.section, m_editor.list(), layout.gridColumns, layout.hiddenColumns,
                      this);

    QPushButton* add = makeButton(layout.add, QStringLiteral("Añadir"), this);
    QPushButton* remove = makeButton(layout.remove, QStringLiteral("Borrar"), this);
    QPushButton* modify = makeButton(layout.modify, QStringLiteral("Modificar"), this);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    for (QPushButton* button : {add, remove, modify})
        buttons->addWidget(button);

    m_frame = new QGroupBox(layout.frameTitle, this);
    m_frame->setObjectName(layout.frame);
    auto* fields = new QGridLayout(m_frame);
    QList<QWidget*> chain{m_grid, add, remove, modify};
    for (int i = 0; i < layout.fields.size(); ++i) {
        const Field& field = layout.fields[i];
        QLineEdit* edit = makeLineEdit(field.box, m_frame, field.maxLength);
        if (field.numeric)
            NumericKeyFilter::install(edit);
        if (field.maxLength > 0 && field.maxLength <= 12) // short values get a short box
            edit->setMaximumWidth(fontMetrics().horizontalAdvance(QLatin1Char('0')) * (field.maxLength + 2) +
                                  16);
        addField(*fields, i, 0, makeLabel(QStringLiteral("lbl") + field.box.mid(3), field.label, m_frame),
                 edit);
        m_boxes << edit;
        chain << edit;
    }
    fields->setColumnStretch(1, 1);
    m_idBox = makeLineEdit(layout.idBox, m_frame);
    m_idBox->setVisible(false);
    m_idBox->setFocusPolicy(Qt::NoFocus);
    QPushButton* accept = makeButton(layout.accept, QStringLiteral("Aceptar"), m_frame);
    QPushButton* cancel = makeButton(layout.cancel, QStringLiteral("Cancelar"), m_frame);
    auto* frameButtons = new QHBoxLayout;
    frameButtons->addStretch();
    frameButtons->addWidget(accept);
    frameButtons->addWidget(cancel);
    fields->addLayout(frameButtons, int(layout.fields.size()), 0, 1, 2);
    chain << accept << cancel;
    declareTabOrder(this, chain);

    auto* captionedGrid = new QVBoxLayout;
    captionedGrid->setSpacing(0);
    captionedGrid->addWidget(caption);
    captionedGrid->addWidget(m_grid, 1);
    auto* page = new QVBoxLayout(this);
    page->addWidget(m_gridLabel);
    page->addLayout(captionedGrid, 1);
    page->addLayout(buttons);
    page->addWidget(m_frame);

    connect(add, &QPushButton::clicked, this, &HandListPanel::add);
    connect(remove, &QPushButton::clicked, this, &HandListPanel::remove);
    connect(modify, &QPushButton::clicked, this, &HandListPanel::modify);
    connect(accept, &QPushButton::clicked, this, &HandListPanel::accept);
    connect(cancel, &QPushButton::clicked, this, &HandListPanel::cancel);
}

QLineEdit* HandListPanel::box(const QString& name) const {
    return findChild<QLineEdit*>(name);
}

QString HandListPanel::fieldText(int index) const {
    return m_boxes.value(index) ? m_boxes[index]->text() : QString();
}

void HandListPanel::resetPanel() {
    for (QLineEdit* edit : m_boxes)
        edit->clear();
    m_idBox->clear();
    // A panel on a tab out of sight leaves the focus where the user has it.
    if (!m_boxes.isEmpty() && isVisible())
        m_boxes.first()->setFocus();
    m_editor.setMode(PanelMode::Adding);
    m_grid->clearRowSelection();
}

void HandListPanel::add() {
    m_editor.setMode(PanelMode::Adding);
    if (!m_boxes.isEmpty())
        m_boxes.first()->setFocus();
}

void HandListPanel::modify() {
    const qint64 row = singleSelectedRow(*m_grid);
    if (row < 0)
        return;
    const auto loaded = m_editor.beginModify(row);
    if (!loaded)
        return;
    m_idBox->setText(loaded->id);
    for (int i = 0; i < m_boxes.size(); ++i)
        m_boxes[i]->setText(loaded->fields.value(i));
}

void HandListPanel::remove() {
    const qint64 row = singleSelectedRow(*m_grid);
    if (row < 0)
        return;
    const auto deleted = m_editor.confirmAndDelete(row, m_messages);
    if (!deleted)
        m_messages.reportError(deleted.error());
    if (!deleted || *deleted)
        resetPanel();
}

void HandListPanel::accept() {
    if (!checkFields())
        return;
    QStringList values;
    for (QLineEdit* edit : m_boxes)
        values << edit->text();
    const auto stored = m_editor.accept(m_idBox->text(), values);
    if (!stored)
        m_messages.reportError(stored.error());
    resetPanel();
}

void HandListPanel::cancel() {
    resetPanel();
    m_editor.setMode(PanelMode::Adding);
}

} // namespace velmora
