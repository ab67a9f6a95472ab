#pragma once

#include "platform/widgets/ProgressBarUpdater.h"
#include "printing/ApplicationDocument.h"

#include <QDialog>

class QLabel;
class QProgressBar;

namespace velmora {

// The progress window of saving, printing and loading an application (frmProgresoGeneral):
// what is being done and a bar. Made anew for each use; shown without blocking the
// window that drives it, which goes on working and yields at its own pauses.
class GeneralProgressWindow : public QDialog, public ProgressWindow {
    Q_OBJECT
public:
    explicit GeneralProgressWindow(QWidget* parent = nullptr);

    void showAction(const QString& action) override;
    void unload() override;
    // Repaints; the user's clicks and keys wait, so the work in progress is not re-entered.
    void yieldToEvents() override;

protected:
    void changed() override;

private:
    QLabel* m_lblAccion = nullptr;
    QProgressBar* m_prgBar = nullptr;
    ProgressBarUpdater m_updater;
};

} // namespace velmora
