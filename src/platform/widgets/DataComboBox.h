#pragma once

#include "platform/widgets/RecordSetModel.h"

#include <QComboBox>
#include <QElapsedTimer>
#include <QHash>

class QTableView;

namespace velmora {

// The data-bound multi-column drop-down: a QComboBox whose list is a table (QTableView
// popup) over a record-set cursor. The list is as wide as its texts (never wider than the
// screen), and typing while it is open goes to the first row whose displayed name, or code,
// starts with what was typed, case and accents aside ("avila" finds "Ávila"). It keeps a text and a value of
// its own, as the program's drop-downs do: the text may be something that is not an item of the list (set in
// code, or typed where typing is allowed), and a refresh of the list never changes either.
//
// Events (signals) are raised only by the user, never by a change made in code:
// textEdited (a key typed into the box), choiceConfirmed (a row picked with the mouse or the
// keyboard: value and text are already the row's) and listClosed (the list was closed,
// after a pick or without one; told from the event loop, after choiceConfirmed). A pick with
// the arrow keys on the closed box counts as a list opened and closed at once.
class DataComboBox : public QComboBox {
    Q_OBJECT
public:
    explicit DataComboBox(QWidget* parent = nullptr);

    // Binds `set` (not owned): key column = the set's first column, displayed column = its
    // second (the first when it has only one). The list shows the set's columns (or those
    // of setColumns). Text and value are kept.
    void bind(RecordSet* set);
    void unbind();
    RecordSet* boundSet() const;
    void setColumns(const QList<ColumnBinding>& columns);
    void setColumnWidthTwips(int shownColumn, int twips);
    QString keyColumn() const { return m_keyColumn; }
    QString displayColumn() const { return m_displayColumn; }
    // Shows `column` of the chosen row in the box instead of the set's second column (set
    // after bind(); the text is looked up again).
    void setDisplayColumn(const QString& column);
    // What the box says, greyed, while its list has no row at all (the choices made
    // elsewhere leave nothing to pick), instead of a list that opens on nothing.
    void setEmptyListText(const QString& text);

    // Text: what the box shows. setText() in code chooses the first row whose displayed
    // column equals it (value = its key), or none (value empty).
    QString text() const;
    void setText(const QString& text);
    // Value: the key column of the chosen row. setValue() in code chooses the first row
    // with that key (text = its displayed column); an unknown value empties the text.
    QString value() const;
    void setValue(const QString& value);
    // Sets both without looking anything up (the chosen row is the first with `value`).
    void setChoice(const QString& value, const QString& text);
    // Empties text and value.
    void clearChoice();

    // The row the list opens on while no row is chosen (-1: its top), so that a list worked
    // through row after row opens where the work goes on.
    void setListStart(qint64 rowId) { m_listStart = rowId; }

    // Whether the text is the displayed column of a row of the list (its current view).
    bool isListItem() const;
    // A column (by name) of the chosen row; empty when no row is chosen.
    QString columnText(QStringView column) const;

    // Typed keys are discarded (a value can only be picked from the list).
    void setTypingBlocked(bool blocked);
    bool isTypingBlocked() const { return m_typingBlocked; }

    RecordSetModel* listModel() const { return m_model; }
    QTableView* listView() const { return m_view; }

    void showPopup() override;
    void hidePopup() override;

Q_SIGNALS:
    void textEdited(const QString& text);
    void choiceConfirmed();
    void listClosed();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void applyBindingRule();
    void showWhetherListIsEmpty();
    void listChanged();
    void listReset();
    void textTyped(const QString& text);
    void rowPicked(int position);
    void choose(qint64 rowId);
    void showChoice();
    void tellListClosedSoon();
    void typeAhead(const QString& typed);
    bool startsWith(int position, const QString& typed) const;
    void fitColumnsToContents();
    qint64 firstRowWith(const QHash<QString, qint64>& lookup, const QString& text) const;
    void buildLookups() const;
    QString textOfRow(qint64 rowId, const QString& column) const;

    RecordSetModel* m_model;
    QTableView* m_view;
    QString m_keyColumn;
    QString m_displayColumn;
    QString m_emptyListText;
    QString m_text;
    QString m_value;
    qint64 m_chosenRowId = -1;
    qint64 m_listStart = -1;
    bool m_typingBlocked = false;
    bool m_settingInCode = false;
    bool m_listOpen = false;
    bool m_listCloseDue = false; // listClosed is queued and not yet emitted
    bool m_endingEdit = false;   // Enter or focus leaving: QComboBox may pick by text then
    // First row (lowest position) of the current view per displayed text and per key,
    // rebuilt on demand after the list changed, so typing never walks the list.
    mutable QHash<QString, qint64> m_rowByText;
    mutable QHash<QString, qint64> m_rowByKey;
    mutable bool m_lookupsValid = false;
    bool m_widthsFitted = false; // the list's columns are as wide as their texts
    // What was typed into the open list, for a search by the start of a name or a code.
    QString m_typed;
    QElapsedTimer m_sinceTyped;
};

} // namespace velmora
