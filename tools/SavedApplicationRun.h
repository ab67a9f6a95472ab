#pragma once

#include "app/ContestConfiguration.h"
#include "app/LoadedTables.h"
#include "app/SaveAndPrintFlow.h"
#include "editor/ApplicationModel.h"
#include "platform/AppFolders.h"
#include "platform/Clock.h"
#include "platform/MessageService.h"
#include "printing/PrintingWordProcessor.h"

#include <QFileInfo>
#include <QTemporaryDir>

#include <memory>
#include <optional>

namespace velmora {
class UserStore;
}

namespace velmora::tools {

// The document a command names: a path, or a file name of the installation's
// applications folder.
QFileInfo applicationDocument(const AppFolders& folders, const QString& named);

// Whether a command may write `output`: never over the application's document or lists
// file, nor into the installation. Otherwise the reason, on standard error.
bool outputAllowed(const QString& output, const QFileInfo& document, const AppFolders& folders);

// A saved application of an installation loaded as the editor loads it, and the flow that
// saves and prints it as the editor's menu does. Its saves go to a scratch folder, so the
// installation's files stay as they were. Messages go to standard error.
class SavedApplicationRun {
public:
    SavedApplicationRun();
    ~SavedApplicationRun();

    // Loads the installation and the application; false (and why, on standard error) when
    // either cannot be read or the application lacks its lists.
    bool load(const AppFolders& folders, const QFileInfo& document);
    // The flow over the loaded application; its prints go to `pdf`.
    SaveAndPrintFlow& flow(const QString& pdf, bool olderWordProcessor);
    const ApplicationModel& model() const { return m_model; }
    MessageService& messages() { return m_messages; }
    // Closes the document the printing left open.
    void finish() { m_wordProcessor.closeAndForget(); }

private:
    class ConsoleHost;
    ConsoleMessageService m_messages;
    AppFolders m_folders;
    LoadedTables m_tables;
    std::optional<ContestConfiguration> m_configuration;
    ApplicationModel m_model;
    std::optional<ApplicationLists> m_lists;
    QTemporaryDir m_scratch;
    SystemClock m_clock;
    PrintingWordProcessor m_wordProcessor;
    std::unique_ptr<UserStore> m_users;
    std::unique_ptr<ConsoleHost> m_host;
    std::unique_ptr<SaveAndPrintFlow> m_flow;
};

} // namespace velmora::tools
