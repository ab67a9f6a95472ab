#include "ui/LoadingWindow.h"

#include "platform/MessageService.h"
#include "platform/Progress.h"
#include "platform/widgets/ProgressBarUpdater.h"
#include "platform/widgets/TabOrder.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

namespace velmora {

// The sequence's progress on the window's bar; at the sequence's pauses the window
// repaints and the events waiting (a click on the close box, say) are handled.
class LoadingWindow::BarProgress : public Progress {
public:
    explicit BarProgress(QProgressBar* bar) : m_updater(bar) {}
    void yieldToEvents() override { m_updater.yieldToEvents(); }

protected:
    void changed() override { m_updater.update(maximum(), value()); }

private:
    ProgressBarUpdater m_updater;
};

LoadingWindow::LoadingWindow(AppFolders folders, LoadedTables& tables, MessageService& messages,
                             QWidget* parent)
    : QDialog(parent), m_folders(std::move(folders)), m_tables(tables), m_messages(messages) {
    setObjectName(QStringLiteral("frmProgreso"));
    setWindowTitle(programTitle());
    // Nothing to answer to the window manager's close or help buttons while loading.
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    m_label1 = new QLabel(QStringLiteral("Cargando información ..."), this);
    m_label1->setObjectName(QStringLiteral("Label1"));
    QFont bold = m_label1->font();
    bold.setBold(true);
    m_label1->setFont(bold);

    m_lblTitulo = new QLabel(this);
    m_lblTitulo->setObjectName(QStringLiteral("lblTitulo"));
    m_lblTitulo->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    m_lblTitulo->setWordWrap(true);
    // A fixed width lets the window grow to the height of whatever headline it is given.
    m_lblTitulo->setFixedWidth(480);

    m_prg = new QProgressBar(this);
    m_prg->setObjectName(QStringLiteral("prg"));
    m_prg->setTextVisible(false);
    m_prg->setRange(0, 100);
    m_prg->setValue(0);

    m_cmdContinuar = new QPushButton(QStringLiteral("Continuar"), this);
    m_cmdContinuar->setObjectName(QStringLiteral("cmdContinuar"));
    m_cmdContinuar->setEnabled(false);
    m_cmdContinuar->setDefault(true);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_cmdContinuar);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(18, 16, 18, 14);
    layout->setSpacing(12);
    layout->addWidget(m_label1);
    layout->addWidget(m_lblTitulo);
    layout->addWidget(m_prg);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    declareTabOrder(this, {m_cmdContinuar});
    m_progress = std::make_unique<BarProgress>(m_prg);
    connect(m_cmdContinuar, &QPushButton::clicked, this, &QDialog::accept);
}

LoadingWindow::~LoadingWindow() {
    setBusy(false);
}

void LoadingWindow::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (m_started)
        return;
    m_started = true;
    // Once the window is on screen: the sequence runs from the event loop, not from show().
    QMetaObject::invokeMethod(this, &LoadingWindow::runLoading, Qt::QueuedConnection);
}

void LoadingWindow::runLoading() {
    m_running = true;
    m_progress->yieldToEvents(); // paint the window before the first step
    m_outcome = LoadingSequence(m_folders, m_tables, *m_progress, this).run();
    m_running = false;
    setBusy(false);
    m_messages.tell(m_outcome.notice);
    if (m_outcome.loaded) {
        m_progress->setValue(m_progress->maximum());
        m_cmdContinuar->setEnabled(true);
        m_cmdContinuar->setFocus();
        Q_EMIT loadingFinished();
        return;
    }
    Q_EMIT loadingFinished();
    // The error has been shown: the window closes by itself and the caller goes on with what
    // was built, or ends the program.
    QDialog::done(QDialog::Rejected);
}

void LoadingWindow::done(int result) {
    if (!m_outcome.loaded)
        return; // still loading (or not started): the user cannot leave yet
    QDialog::done(result);
}

void LoadingWindow::setHeadline(const QString& headline) {
    // The headline's lines are separated by CR LF; a label breaks lines on LF alone.
    QString text = headline;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    m_lblTitulo->setText(text);
}

void LoadingWindow::setCaption(const QString& caption) {
    setWindowTitle(caption);
}

void LoadingWindow::setBusy(bool busy) {
    if (busy == m_busy)
        return;
    m_busy = busy;
    if (busy)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}

} // namespace velmora
