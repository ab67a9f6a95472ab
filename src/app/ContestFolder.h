#pragma once

#include "platform/Result.h"

#include <QString>

#include <optional>

class QSettings;

namespace velmora {

// Whether `folder` holds a contest's installation (conf.xml and the ficheros folder); the
// error says in Spanish what is missing.
Status checkContestFolder(const QString& folder);

// Whether files can be written where the program writes them: the contest folder (user store)
// and ficheros/temp (saved applications, created when the installation lacks it). A file is
// really written, so read-only media and full disks are caught as well as permissions.
Status checkContestFolderWritable(const QString& folder);

// Both checks above, in that order.
Status checkContestFolderUsable(const QString& folder);

// The contest folder used last, kept in the user's settings between runs.
class RememberedContestFolder {
public:
    explicit RememberedContestFolder(QSettings& settings) : m_settings(settings) {}
    QString folder() const;
    void remember(const QString& folder);

private:
    QSettings& m_settings;
};

// The user, as the picker asks them for a contest folder: first told why one is asked for,
// when there is a why (a folder that cannot be used, the one of the last run gone), then
// shown the folder dialog.
class ContestFolderQuestion {
public:
    virtual ~ContestFolderQuestion() = default;
    // The chosen folder, or empty when the user gives up.
    virtual QString chooseFolder(const QString& title, const QString& startFolder,
                                 const std::optional<Error>& why) = 0;
};

// Finds the contest folder the program runs on when it is started without one, as from the
// desktop menu: the program's own folder when it holds a contest, else the folder used last,
// else the one the user chooses. Every folder is checked before it is used; what is wrong is
// said in Spanish and the user may choose again.
class ContestFolderPicker {
public:
    ContestFolderPicker(RememberedContestFolder& memory, ContestFolderQuestion& question)
        : m_memory(memory), m_question(question) {}

    // The folder to run on, remembered for the next run; empty when the user gave up.
    QString pick(const QString& programFolder);
    // A folder named on the command line: checked and remembered; the failure to tell when it
    // cannot be used.
    Result<QString> useGiven(const QString& folder);

    static QString chooserTitle();

private:
    QString askUntilUsable(const QString& startFolder, std::optional<Error> why);
    // The folder, absolute, once checked and remembered.
    Result<QString> usable(const QString& folder);

    RememberedContestFolder& m_memory;
    ContestFolderQuestion& m_question;
};

} // namespace velmora
