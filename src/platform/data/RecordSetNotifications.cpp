#include "platform/data/RecordSet.h"

#include "platform/data/RecordTable.h"

namespace velmora {

void RecordSet::addListener(RecordSetListener* listener) {
    auto& listeners = m_view->listeners;
    if (!listener || std::find(listeners.begin(), listeners.end(), listener) != listeners.end())
        return;
    listeners.push_back(listener);
    startListening();
}

void RecordSet::removeListener(RecordSetListener* listener) {
    auto& listeners = m_view->listeners;
    listeners.erase(std::remove(listeners.begin(), listeners.end(), listener), listeners.end());
    if (listeners.empty())
        stopListening();
}

void RecordSet::startListening() {
    if (!m_table->isListened(this))
        m_table->listened.push_back(this);
    refresh(); // watched cursors stay caught up, so each event finds its row at once
}

void RecordSet::stopListening() {
    auto& listened = m_table->listened;
    listened.erase(std::remove(listened.begin(), listened.end(), this), listened.end());
}

// Listeners may add or remove listeners while they are told: work on a copy and skip
// those that left meanwhile.
void RecordSet::tellListeners(const std::function<void(RecordSetListener&)>& tell) {
    const std::vector<RecordSetListener*> listeners = m_view->listeners;
    for (RecordSetListener* listener : listeners) {
        const auto& now = m_view->listeners;
        if (std::find(now.begin(), now.end(), listener) != now.end())
            tell(*listener);
    }
}

void RecordSet::announceReset() {
    if (!m_view->listeners.empty())
        tellListeners([](RecordSetListener& l) { l.viewReset(); });
}

void RecordSet::announceRowAdded(int row) {
    const std::shared_ptr<RecordTable> table = m_table;
    for (RecordSet* cursor : std::vector<RecordSet*>(table->listened)) {
        if (!table->isListened(cursor) || !cursor->isOpen())
            continue;
        cursor->refresh(); // joins the row where the cursor's filter takes it
        const std::vector<int>& rows = cursor->m_view->rows;
        if (!rows.empty() && rows.back() == row)
            cursor->tellListeners([row](RecordSetListener& l) { l.rowAdded(row); });
    }
}

void RecordSet::announceWrite(int row, int column) {
    const std::shared_ptr<RecordTable> table = m_table;
    for (RecordSet* cursor : std::vector<RecordSet*>(table->listened)) {
        if (!table->isListened(cursor) || !cursor->isOpen())
            continue;
        cursor->refresh();
        if (cursor->locate(row) >= 0)
            cursor->tellListeners([row, column](RecordSetListener& l) { l.rowChanged(row, column); });
        else if (cursor->joinNewestRow(row))
            cursor->tellListeners([row](RecordSetListener& l) { l.rowAdded(row); });
    }
}

// A row added through another cursor is judged against this cursor's filter while it is
// still empty; its values come just after. While it is the table's newest row it is
// judged again at each write, so a watched view does not miss a row it would show.
bool RecordSet::joinNewestRow(int row) {
    View& v = *m_view;
    const RecordTable& t = *m_table;
    if (!v.filter || row != t.rowLimit() - 1 || row < v.builtLimit || !t.alive[size_t(row)] ||
        !t.matches(*v.filter, row))
        return false;
    v.append(row);
    return true;
}

} // namespace velmora
