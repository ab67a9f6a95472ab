#include "app/UnsavedWorkKeeper.h"

#include "platform/Clock.h"

namespace velmora {

UnsavedWorkKeeper::UnsavedWorkKeeper(RecoveryFile file, ApplicationModel& model, ApplicationLists lists,
                                     const Clock& clock, QObject* parent)
    : QObject(parent), m_file(std::move(file)), m_model(model), m_lists(lists), m_clock(clock) {
    m_timer.setSingleShot(true);
    m_timer.setInterval(kDelayMs);
    connect(&m_timer, &QTimer::timeout, this, [this] { (void)writeNow(); });
    m_model.addListener(this);
    for (RecordSet* list : {&m_lists.vacancies, &m_lists.resultas, &m_lists.courses, &m_lists.documents})
        list->addListener(this);
}

UnsavedWorkKeeper::~UnsavedWorkKeeper() {
    m_model.removeListener(this);
    for (RecordSet* list : {&m_lists.vacancies, &m_lists.resultas, &m_lists.courses, &m_lists.documents})
        list->removeListener(this);
}

void UnsavedWorkKeeper::start() {
    m_seen.clear();
    for (const FormControl& c : m_model.controls())
        m_seen[c.name] = {c.text, c.value, c.selected};
    m_started = true;
}

void UnsavedWorkKeeper::controlChanged(const FormControl& control) {
    ControlState now{control.text, control.value, control.selected};
    ControlState& seen = m_seen[control.name];
    if (seen == now)
        return;
    seen = std::move(now);
    changed();
}

void UnsavedWorkKeeper::changed() {
    if (!m_started)
        return;
    m_unsaved = true;
    m_written = false;
    if (!m_timer.isActive())
        m_timer.start();
}

Status UnsavedWorkKeeper::writeNow() {
    m_timer.stop();
    if (!m_unsaved || m_written)
        return {};
    VELMORA_TRY(m_file.write(m_model, m_lists, m_applicationFile, m_identityLocked, m_clock.now()));
    m_written = true;
    return {};
}

Status UnsavedWorkKeeper::discard() {
    m_timer.stop();
    m_unsaved = false;
    m_written = false;
    start();
    return m_file.remove();
}

} // namespace velmora
