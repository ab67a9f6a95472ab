#include "ui/GeneralProgressWindow.h"

#include "platform/MessageService.h"

#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>

namespace velmora {

GeneralProgressWindow::GeneralProgressWindow(QWidget* parent)
    : QDialog(parent), m_lblAccion(new QLabel(QStringLiteral("Guadando datos ..."), this)),
      m_prgBar(new QProgressBar(this)), m_updater(m_prgBar) {
    setObjectName(QStringLiteral("frmProgresoGeneral"));
    setWindowTitle(programTitle());
    setModal(false);
    m_lblAccion->setObjectName(QStringLiteral("lblAccion"));
    m_lblAccion->setMinimumWidth(380);
    m_prgBar->setObjectName(QStringLiteral("prgBar"));
    m_prgBar->setOrientation(Qt::Horizontal);
    m_prgBar->setTextVisible(false);
    m_prgBar->setRange(0, 100);
    m_prgBar->setValue(0);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(18, 16, 18, 18);
    layout->setSpacing(10);
    layout->addWidget(m_lblAccion);
    layout->addWidget(m_prgBar);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void GeneralProgressWindow::showAction(const QString& action) {
    ProgressWindow::showAction(action);
    m_lblAccion->setText(action);
    show();
    raise();
    yieldToEvents();
}

void GeneralProgressWindow::unload() {
    hide();
}

void GeneralProgressWindow::yieldToEvents() {
    m_updater.yieldToEvents(QEventLoop::ExcludeUserInputEvents);
}

void GeneralProgressWindow::changed() {
    m_updater.update(maximum(), value());
}

} // namespace velmora
