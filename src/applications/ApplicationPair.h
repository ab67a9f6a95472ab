#pragma once

#include "applications/ApplicationXml.h"
#include "platform/Result.h"
#include "platform/data/InstanceLock.h"

#include <QByteArray>
#include <QString>

namespace velmora {

// The file operations of a save, one at a time, so that a test can stop a save between any
// two of them as a kill would.
class FileSteps {
public:
    virtual ~FileSteps() = default;
    virtual Status write(const QString& path, const QByteArray& bytes);
    virtual Status rename(const QString& from, const QString& to);
    virtual void remove(const QString& path);
};

// The files of one saved application in the applications folder.
struct ApplicationPairFiles {
    ApplicationPairFiles(const QString& folder, const QString& documentName);

    QString folder;
    QString document;    // the document
    QString lists;       // its lists file
    QString newDocument; // a save's complete new document, before it replaces the old one
    QString newLists;    // the same for the lists file
    QString lock;        // held while the pair is saved or read
};

// The right to save or read one application among the instances of the program that share
// the applications folder (a lock file beside the pair; one left by a killed instance is
// taken over).
class ApplicationPairLock {
public:
    explicit ApplicationPairLock(const ApplicationPairFiles& files);
    // Waits for another instance's save to end. A folder where no lock file can be made
    // (read-only) holds no save to wait for, and is no error.
    Status acquire();

private:
    InstanceLock m_lock;
};

// Settles a save that was cut short (the program killed, the machine stopped): once the new
// document has replaced the old one, the new lists file follows it; before that, the new
// files are dropped. Either way the folder then holds one whole pair, old or new. Called
// with the lock held.
void settleInterruptedSave(const ApplicationPairFiles& files, FileSteps& steps);

// Saves an application as one unit: the document `documentBytes` and the lists file (which
// names the document's digest) are first both written complete, then renamed over the old
// pair, document first. A save that fails or is cut short leaves the old pair or, once
// settled, the new one, never one file of each. A link at either name is refused, never
// written through; a copy of the document whose name differs only in case is removed, so
// that one application has one document. Every failure names the application and its cause,
// and says which pair the folder holds, in words for the user.
Status saveApplicationPair(const QString& folder, const QString& documentName,
                           const QByteArray& documentBytes, ApplicationLists lists,
                           const QString& programFolder, FileSteps* steps = nullptr);

} // namespace velmora
