#pragma once

#include "app/RecoveryFile.h"
#include "editor/ApplicationModel.h"
#include "platform/data/RecordSet.h"

#include <QObject>
#include <QTimer>

#include <map>
#include <tuple>

namespace velmora {

class Clock;

// Keeps the editor's unsaved work in its recovery file. A change of the first tab's data or
// of a list starts a short timer; when it runs out the whole work is written down, so at
// most a few seconds of typing are lost when the program is killed or the power goes. A
// save, or the applicant choosing to drop the changes, removes the file.
class UnsavedWorkKeeper : public QObject, private ApplicationModelListener, private RecordSetListener {
    Q_OBJECT
public:
    // Written this long after the first change not yet written down.
    static constexpr int kDelayMs = 3000;

    UnsavedWorkKeeper(RecoveryFile file, ApplicationModel& model, ApplicationLists lists, const Clock& clock,
                      QObject* parent = nullptr);
    ~UnsavedWorkKeeper() override;

    // Changes count from now on (what the editor was opened with is not unsaved work).
    void start();
    // The saved application the work belongs to, and whether its identity is locked.
    void setApplicationFile(const QString& fileName) { m_applicationFile = fileName; }
    void setIdentityLocked(bool locked) { m_identityLocked = locked; }
    bool hasUnsavedWork() const { return m_unsaved; }
    // Writes the work down now, when there is any not yet written.
    Status writeNow();
    // The work was saved (or knowingly dropped): nothing is unsaved, the file goes.
    Status discard();
    const RecoveryFile& file() const { return m_file; }

private:
    using ControlState = std::tuple<QString, QString, bool>;

    void changed();
    void controlChanged(const FormControl& control) override;
    void rowAdded(qint64) override { changed(); }
    void rowChanged(qint64, int) override { changed(); }
    void rowRemoved(qint64) override { changed(); }

    RecoveryFile m_file;
    ApplicationModel& m_model;
    ApplicationLists m_lists;
    const Clock& m_clock;
    QTimer m_timer;
    // The data each control had when last seen: a change of only its look is no change of work.
    std::map<QString, ControlState> m_seen;
    QString m_applicationFile;
    bool m_identityLocked = false;
    bool m_started = false;
    bool m_unsaved = false;
    bool m_written = false; // the file holds the latest work
};

} // namespace velmora
