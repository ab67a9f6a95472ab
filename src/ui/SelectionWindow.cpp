#include "ui/SelectionWindow.h"
#include "editor/ControlName.h"

#include "app/RunState.h"
#include "applications/ApplicationColumns.h"
#include "platform/MessageService.h"
#include "platform/data/RecordSet.h"
#include "platform/widgets/DataComboBox.h"
#include "platform/widgets/SpokenNames.h"
#include "platform/widgets/TabOrder.h"

#include <QCloseEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace velmora {

SelectionWindow::SelectionWindow(RunState& state, MessageService& messages, QWidget* parent)
    : QWidget(parent, Qt::Window), m_state(state),
      m_selection(state.folders.applications, state.tables.bodies, state.applicationFiles),
      m_messages(messages) {
    setObjectName(QStringLiteral("frmSeleccion"));
    setWindowTitle(QStringLiteral("CargarSolicitud"));

    m_frame1 = new QFrame(this);
    m_frame1->setObjectName(ctl::Frame1);
    m_frame1->setFrameShape(QFrame::StyledPanel);
    m_label1 = new QLabel(QStringLiteral("Ficheros de Solicitudes"), m_frame1);
    m_label1->setObjectName(QStringLiteral("Label1"));
    m_cboSolicitudes = new DataComboBox(m_frame1);
    m_cboSolicitudes->setObjectName(QStringLiteral("cboSolicitudes"));
    m_cboSolicitudes->setTypingBlocked(true);
    m_cboSolicitudes->setMinimumWidth(440);
    m_label1->setBuddy(m_cboSolicitudes);
    setSpokenName(m_cboSolicitudes, m_label1->text());

    m_cmdNueva = new QPushButton(QStringLiteral("Solicitud Nueva"), this);
    m_cmdNueva->setObjectName(QStringLiteral("cmdNueva"));
    m_cmdCargar = new QPushButton(QStringLiteral("Cargar Solicitud"), this);
    m_cmdCargar->setObjectName(QStringLiteral("cmdCargar"));
    m_cmdBorrar = new QPushButton(QStringLiteral("Borrar Solicitud"), this);
    m_cmdBorrar->setObjectName(QStringLiteral("cmdBorrar"));

    auto* frameLayout = new QVBoxLayout(m_frame1);
    frameLayout->setContentsMargins(12, 10, 12, 12);
    frameLayout->setSpacing(6);
    frameLayout->addWidget(m_label1);
    frameLayout->addWidget(m_cboSolicitudes);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_cmdNueva);
    buttons->addWidget(m_cmdCargar);
    buttons->addWidget(m_cmdBorrar);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(14, 14, 14, 12);
    layout->setSpacing(12);
    layout->addWidget(m_frame1);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    declareTabOrder(this, {m_cboSolicitudes, m_cmdNueva, m_cmdCargar, m_cmdBorrar});
    m_cboSolicitudes->setFocus();

    connect(m_cmdNueva, &QPushButton::clicked, this, &SelectionWindow::onNew);
    connect(m_cmdCargar, &QPushButton::clicked, this, &SelectionWindow::onLoad);
    connect(m_cmdBorrar, &QPushButton::clicked, this, &SelectionWindow::onDelete);

    if (m_selection.count() > 0)
        bindList();
}

void SelectionWindow::hideNewButton() {
    m_cmdNueva->hide();
}

void SelectionWindow::bindList() {
    m_cboSolicitudes->bind(&m_state.applicationFiles);
    namespace files = col::ApplicationFiles;
    m_cboSolicitudes->setColumns({{files::DNI, QStringLiteral("DNI"), 1300},
                                  {files::Cuerpo, QStringLiteral("Categoría"), 1100},
                                  {files::Grupo, QStringLiteral("Grupo"), 800},
                                  {files::Fichero, QStringLiteral("Fichero"), 3200},
                                  {files::DescCuerpo, QStringLiteral("Descripción"), 4800},
                                  {files::Fecha, QStringLiteral("Guardada"), 1700}});
    // One application is told by the DNI; of several, the closed box shows which one is chosen.
    if (m_selection.count() > 1) {
        m_cboSolicitudes->setDisplayColumn(files::Solicitud.toString());
        const int widest = m_cboSolicitudes->fontMetrics().horizontalAdvance(longestSummary());
        m_cboSolicitudes->setMinimumWidth(std::max(440, std::min(widest + 48, 900)));
    }
}

QString SelectionWindow::longestSummary() const {
    const RecordSet& files = m_state.applicationFiles;
    const int column = files.columnIndex(col::ApplicationFiles::Solicitud);
    QString longest;
    for (int row = 0; row < files.recordCount(); ++row)
        if (files.textAt(row, column).size() > longest.size())
            longest = files.textAt(row, column);
    return longest;
}

// The file of the chosen row, read from its column by name; nothing when no row is chosen.
QString SelectionWindow::chosenFile() const {
    if (m_cboSolicitudes->text().isEmpty())
        return QString();
    return m_cboSolicitudes->columnText(col::ApplicationFiles::Fichero);
}

void SelectionWindow::onNew() {
    m_state.loadExisting = false;
    m_state.selectedApplicationFile.clear();
    m_choiceMade = true;
    Q_EMIT newApplicationRequested();
}

void SelectionWindow::onLoad() {
    m_state.loadExisting = true;
    const Result<QString> chosen = m_selection.chooseForLoading(chosenFile());
    if (!chosen) {
        m_messages.tell(chosen.error());
        return;
    }
    const QString file = chosen.value();
    m_state.selectedApplicationFile = file;
    m_choiceMade = true;
    Q_EMIT applicationRequested(file);
}

void SelectionWindow::onDelete() {
    const QString file = chosenFile();
    const ApplicationSelection::Deletion deletion = m_selection.deleteChosen(file, m_messages);
    m_messages.tell(deletion.failure);
    if (!deletion.relisted)
        return;
    if (m_selection.count() > 0) {
        bindList();
    } else {
        m_cmdCargar->setEnabled(false);
        m_cmdBorrar->setEnabled(false);
        m_cboSolicitudes->setEnabled(false);
    }
    m_cboSolicitudes->clearChoice();
    m_state.selectedApplicationFile.clear();
}

void SelectionWindow::closeEvent(QCloseEvent* event) {
    QWidget::closeEvent(event);
    if (event->isAccepted() && !m_choiceMade)
        Q_EMIT closedWithoutChoice();
}

} // namespace velmora
