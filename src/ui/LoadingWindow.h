#pragma once

#include "app/LoadingSequence.h"
#include "platform/AppFolders.h"

#include <QDialog>

#include <memory>

class QLabel;
class QProgressBar;
class QPushButton;

namespace velmora {

struct LoadedTables;
class MessageService;

// The loading window (frmProgreso): builds every catalogue and list table once it is first
// shown, with the contest's headline, a moving bar and "Continuar" once everything is
// loaded. The user cannot close it while it loads; a loading error closes it by itself,
// after the error has been shown. The bodies table is expected to be built already.
class LoadingWindow : public QDialog, private LoadingView {
    Q_OBJECT
public:
    LoadingWindow(AppFolders folders, LoadedTables& tables, MessageService& messages,
                  QWidget* parent = nullptr);
    ~LoadingWindow() override;

    bool isLoaded() const { return m_outcome.loaded; }
    const LoadingOutcome& outcome() const { return m_outcome; }
    // The loading failed in a way that leaves nothing to work with: the program ends.
    bool endsProgram() const { return m_outcome.endsProgram; }

    // Every way of closing (the button, the close box, Escape) comes here: refused while loading.
    void done(int result) override;

Q_SIGNALS:
    // The sequence has run, to its end or to a failure.
    void loadingFinished();

protected:
    void showEvent(QShowEvent* event) override;

private:
    class BarProgress;

    void runLoading();
    void setHeadline(const QString& headline) override;
    void setCaption(const QString& caption) override;
    void setBusy(bool busy) override;

    AppFolders m_folders;
    LoadedTables& m_tables;
    MessageService& m_messages;
    LoadingOutcome m_outcome;
    bool m_started = false;
    bool m_running = false;
    bool m_busy = false;

    QLabel* m_label1 = nullptr;
    QLabel* m_lblTitulo = nullptr;
    QProgressBar* m_prg = nullptr;
    QPushButton* m_cmdContinuar = nullptr;
    std::unique_ptr<BarProgress> m_progress;
};

} // namespace velmora
