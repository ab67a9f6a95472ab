#pragma once

#include "applications/ApplicationXml.h"
#include "editor/ApplicationModel.h"
#include "platform/Result.h"

#include <QDateTime>
#include <QLockFile>
#include <QString>

namespace velmora {

// Unsaved work read back from a recovery file.
struct RecoveredWork {
    QDateTime writtenAt;         // when the work was last written down
    QString applicationFile;     // the saved application it belongs to; empty for a new one
    bool identityLocked = false; // DNI, body and group could no longer change
    ApplicationModel model;      // the first tab's controls as they were
};

// The unsaved work of one applicant, kept in the applications folder so that a crash, a
// kill or a power cut loses at most the last seconds of typing. One file per DNI, named
// "<DNI>.recuperacion": the selection window lists only documents, and no save writes it.
// It holds the first tab's controls, the four lists and the saved application the work
// belongs to. Written atomically: a kill while writing leaves the previous version.
class RecoveryFile {
public:
    // A recovery file larger than this is refused before it is read: a real one holds a few
    // hundred rows, and reading a huge one would take the memory of the whole computer.
    static constexpr qint64 kMaxBytes = 10 * 1024 * 1024;

    RecoveryFile(const QString& applicationsFolder, const QString& dni);

    const QString& path() const { return m_path; }
    bool exists() const;

    Status write(const ApplicationModel& model, ApplicationLists lists, const QString& applicationFile,
                 bool identityLocked, const QDateTime& at) const;
    // Reads the work back; the rows of `lists` (open) are replaced by the recovered ones. A
    // file that cannot be read leaves the lists untouched and says why. Work that names a
    // saved application of another DNI cannot be read.
    Result<RecoveredWork> read(ApplicationLists lists) const;
    // Reads only when the work was written and the saved application it belongs to (for
    // the question asked before loading); the model and lists of the result stay empty.
    Result<RecoveredWork> header() const;
    // Gone once the work is saved or knowingly dropped; a missing file is no error.
    Status remove() const;
    // A file that could not be read (`why`) is copied aside byte for byte, under a name no
    // save or listing uses, and only then removed, so that the next work written down does
    // not replace the only bytes left. A link standing in its place is removed itself (what
    // it points to is not touched, nor copied). Returns what to tell the applicant.
    QString setAsideDamaged(const Error& why) const;

private:
    QString m_path;
    QString m_dni;
};

// Held by a running program for as long as it keeps the recovery file of its DNI, so that a
// second copy signed in with the same DNI neither offers that live work as left by a crash
// nor deletes it. A program that was killed holds it no longer.
class RecoveryFileLock {
public:
    explicit RecoveryFileLock(const RecoveryFile& file);
    bool held() const { return m_held; }

private:
    QLockFile m_lock;
    bool m_held = false;
};

} // namespace velmora
