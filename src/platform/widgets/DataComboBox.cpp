#include "platform/widgets/DataComboBox.h"

#include "platform/data/SpanishCollation.h"
#include "platform/widgets/SpokenNames.h"

#include <QApplication>
#include <QEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QScopedValueRollback>
#include <QScreen>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QTableView>

#include <algorithm>
#include <functional>
#include <utility>

namespace velmora {
namespace {

// The list of a drop-down, whose typed search is the drop-down's own: QTableView's looks
// only at the start of its current column, the code.
class DropDownList : public QTableView {
public:
    explicit DropDownList(std::function<void(const QString&)> search) : m_search(std::move(search)) {}
    void keyboardSearch(const QString& typed) override { m_search(typed); }

private:
    std::function<void(const QString&)> m_search;
};

// Room beside a cell's text: its margins and the grid.
constexpr int kCellPadding = 12;

} // namespace

DataComboBox::DataComboBox(QWidget* parent)
    : QComboBox(parent), m_model(new RecordSetModel(this)),
      m_view(new DropDownList([this](const QString& typed) { typeAhead(typed); })) {
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    // Measuring every item for the size hint would walk long lists; the layout sizes the box.
    setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    setMinimumContentsLength(4);
    speakDropDownsByName();
    m_model->setRowNameColumns(2); // the code and the name
    setModel(m_model);
    setView(m_view);
    setCompleter(nullptr);

    m_view->setItemDelegate(new QStyledItemDelegate(m_view));
    m_view->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_view->setSelectionMode(QAbstractItemView::SingleSelection);
    m_view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_view->setWordWrap(false);
    m_view->setShowGrid(false);
    m_view->verticalHeader()->hide();
    m_view->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_view->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
    m_view->horizontalHeader()->show();
    m_view->horizontalHeader()->setHighlightSections(false);
    m_view->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_view->horizontalHeader()->setSectionsClickable(false);
    m_view->window()->installEventFilter(this); // the popup frame: every way it closes

    connect(lineEdit(), &QLineEdit::textEdited, this, &DataComboBox::textTyped);
    connect(this, qOverload<int>(&QComboBox::activated), this, &DataComboBox::rowPicked);

    // Connected after QComboBox's own handlers, which move its current item and rewrite
    // the line edit; these put the kept text and choice back.
    connect(m_model, &QAbstractItemModel::modelReset, this, &DataComboBox::listReset);
    connect(m_model, &QAbstractItemModel::rowsInserted, this, &DataComboBox::listChanged);
    connect(m_model, &QAbstractItemModel::rowsRemoved, this, &DataComboBox::listChanged);
    connect(m_model, &QAbstractItemModel::dataChanged, this, &DataComboBox::listChanged);
}

void DataComboBox::bind(RecordSet* set) {
    m_keyColumn.clear(); // the binding rule applies afresh to the set bound now
    m_displayColumn.clear();
    m_model->setRecordSet(set);
}

void DataComboBox::unbind() {
    m_model->setRecordSet(nullptr);
}

RecordSet* DataComboBox::boundSet() const {
    return m_model->recordSet();
}

void DataComboBox::setColumns(const QList<ColumnBinding>& columns) {
    m_model->setColumns(columns);
}

void DataComboBox::setColumnWidthTwips(int shownColumn, int twips) {
    m_model->setColumnWidthTwips(shownColumn, twips);
    applyColumnWidths(*m_view, *m_model);
    m_widthsFitted = false;
}

void DataComboBox::setDisplayColumn(const QString& column) {
    m_displayColumn = column;
    m_lookupsValid = false;
    listReset();
    if (!m_value.isEmpty())
        setValue(m_value);
}

void DataComboBox::setEmptyListText(const QString& text) {
    m_emptyListText = text;
    showWhetherListIsEmpty();
}

void DataComboBox::showWhetherListIsEmpty() {
    const bool empty = !m_emptyListText.isEmpty() && boundSet() && m_model->rowCount() == 0;
    const QString said = empty ? m_emptyListText : QString();
    if (lineEdit()->placeholderText() != said) {
        lineEdit()->setPlaceholderText(said);
        // A listener hears it too: the box has nothing to offer, and why.
        setAccessibleDescription(said);
    }
}

// Key = the first column, displayed = the second (the first when it is the only one).
// Applied on binding, and again when the set no longer has the key column: bound before
// its table was created, or rebuilt with other columns.
void DataComboBox::applyBindingRule() {
    const RecordSet* set = boundSet();
    if (!set || set->columnCount() == 0 || set->columnIndex(m_keyColumn) >= 0)
        return;
    m_keyColumn = set->column(0).name;
    m_displayColumn = set->column(set->columnCount() > 1 ? 1 : 0).name;
}

void DataComboBox::listReset() {
    applyBindingRule();
    m_lookupsValid = false;
    m_widthsFitted = false;
    // The chosen row is kept by id, and stays chosen while a filter hides it. After the
    // table was rebuilt the id may name another row, and a value set before its row was
    // listed finds it now: the choice follows the value.
    if ((m_chosenRowId >= 0 && textOfRow(m_chosenRowId, m_keyColumn) != m_value) ||
        (m_chosenRowId < 0 && !m_value.isEmpty()))
        m_chosenRowId = firstRowWith(m_rowByKey, m_value);
    const int shown = m_model->columnOf(m_displayColumn);
    {
        QScopedValueRollback<bool> guard(m_settingInCode, true);
        setModelColumn(std::max(shown, 0));
    }
    applyColumnWidths(*m_view, *m_model);
    showChoice();
    showWhetherListIsEmpty();
}

void DataComboBox::listChanged() {
    if (m_settingInCode)
        return;
    m_lookupsValid = false;
    m_widthsFitted = false;
    showChoice();
    showWhetherListIsEmpty();
}

QString DataComboBox::text() const {
    return m_text;
}

void DataComboBox::setText(const QString& text) {
    m_text = text;
    choose(firstRowWith(m_rowByText, text));
    m_value = m_chosenRowId >= 0 ? textOfRow(m_chosenRowId, m_keyColumn) : QString();
    showChoice();
}

QString DataComboBox::value() const {
    return m_value;
}

// An unknown value is kept (it may name a row the list's filter hides now): only the text
// is emptied, as there is no row to show.
void DataComboBox::setValue(const QString& value) {
    m_value = value;
    choose(firstRowWith(m_rowByKey, value));
    m_text = m_chosenRowId >= 0 ? textOfRow(m_chosenRowId, m_displayColumn) : QString();
    showChoice();
}

void DataComboBox::setChoice(const QString& value, const QString& text) {
    m_value = value;
    m_text = text;
    choose(firstRowWith(m_rowByKey, value));
    showChoice();
}

void DataComboBox::clearChoice() {
    m_value.clear();
    m_text.clear();
    choose(-1);
    showChoice();
}

bool DataComboBox::isListItem() const {
    return firstRowWith(m_rowByText, m_text) >= 0;
}

QString DataComboBox::columnText(QStringView column) const {
    qint64 rowId = m_chosenRowId;
    if (rowId < 0 && !m_value.isEmpty())
        rowId = firstRowWith(m_rowByKey, m_value); // its row was listed after the value was set
    return rowId < 0 ? QString() : textOfRow(rowId, column.toString());
}

void DataComboBox::setTypingBlocked(bool blocked) {
    m_typingBlocked = blocked;
    // A read-only line edit still lets the box take the arrow keys, F4 and Alt+Down.
    lineEdit()->setReadOnly(blocked);
}

void DataComboBox::showPopup() {
    fitColumnsToContents();
    m_typed.clear(); // a list opened afresh is searched afresh
    // Wide enough for every column, never narrower than the box, and never wider than the
    // screen (at a large scale factor the columns scroll sideways instead).
    int width = 2 * m_view->frameWidth() + m_view->verticalScrollBar()->sizeHint().width();
    for (int column = 0; column < m_model->columnCount(); ++column)
        if (!m_view->isColumnHidden(column))
            width += m_view->columnWidth(column);
    width = std::max(width, this->width());
    if (const QScreen* shown = screen())
        width = std::min(width, shown->availableGeometry().width() - 8);
    m_view->setMinimumWidth(width);
    m_listOpen = true;
    QComboBox::showPopup();
    const int row = m_model->rowOfRowId(m_chosenRowId >= 0 ? m_chosenRowId : m_listStart);
    if (row < 0)
        return;
    const QModelIndex shown = m_model->index(row, std::max(modelColumn(), 0));
    if (m_chosenRowId < 0)
        m_view->setCurrentIndex(shown); // where the work goes on, not yet a choice
    m_view->scrollTo(shown, QAbstractItemView::PositionAtCenter);
}

// Each shown column at least as wide as its caption and its longest text, once per change
// of the list: a name is never cut where the screen has room for it.
void DataComboBox::fitColumnsToContents() {
    if (m_widthsFitted)
        return;
    m_widthsFitted = true;
    const QFontMetrics text(m_view->font());
    const QFontMetrics caption(m_view->horizontalHeader()->font());
    for (int column = 0; column < m_model->columnCount(); ++column) {
        if (m_view->isColumnHidden(column))
            continue;
        int width = caption.horizontalAdvance(m_model->headerData(column, Qt::Horizontal).toString());
        for (int row = 0; row < m_model->rowCount(); ++row)
            width = std::max(width, text.horizontalAdvance(m_model->index(row, column).data().toString()));
        m_view->setColumnWidth(column, std::max(m_view->columnWidth(column), width + kCellPadding));
    }
}

// Letters typed within the keyboard's input interval add up to one search; a first letter
// looks past the current row, so that typing it again walks the rows it starts.
void DataComboBox::typeAhead(const QString& typed) {
    if (!m_sinceTyped.isValid() || m_sinceTyped.elapsed() > QApplication::keyboardInputInterval())
        m_typed.clear();
    m_sinceTyped.start();
    const bool fresh = m_typed.isEmpty();
    m_typed += typed;
    const int rows = m_model->rowCount();
    const int current = m_view->currentIndex().row();
    const int from = fresh ? current + 1 : std::max(current, 0);
    for (int i = 0; i < rows; ++i) {
        const int row = (from + i) % rows;
        if (startsWith(row, m_typed)) {
            const QModelIndex found = m_model->index(row, std::max(modelColumn(), 0));
            m_view->setCurrentIndex(found);
            m_view->scrollTo(found);
            return;
        }
    }
}

bool DataComboBox::startsWith(int position, const QString& typed) const {
    const QString wanted = spanishSortKey(typed);
    const qint64 rowId = m_model->rowIdAt(position);
    return spanishSortKey(textOfRow(rowId, m_displayColumn)).startsWith(wanted) ||
           spanishSortKey(textOfRow(rowId, m_keyColumn)).startsWith(wanted);
}

void DataComboBox::hidePopup() {
    QComboBox::hidePopup();
}

bool DataComboBox::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_view->window() && event->type() == QEvent::Hide && m_listOpen) {
        m_listOpen = false;
        // A pick is reported by the list right after it hid itself: the close is told
        // once the pick has been, from the event loop.
        tellListClosedSoon();
    }
    return QComboBox::eventFilter(watched, event);
}

void DataComboBox::textTyped(const QString& text) {
    m_text = text;
    choose(firstRowWith(m_rowByText, text));
    m_value = m_chosenRowId >= 0 ? textOfRow(m_chosenRowId, m_keyColumn) : QString();
    showChoice();
    Q_EMIT textEdited(text);
}

// QComboBox picks the first item with the box's text when editing ends (Enter, focus
// leaving); that is no pick of the user's and may name another row than the chosen one.
void DataComboBox::keyPressEvent(QKeyEvent* event) {
    const bool endsEditing = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    QScopedValueRollback<bool> guard(m_endingEdit, m_endingEdit || endsEditing);
    QComboBox::keyPressEvent(event);
}

void DataComboBox::focusOutEvent(QFocusEvent* event) {
    QScopedValueRollback<bool> guard(m_endingEdit, true);
    QComboBox::focusOutEvent(event);
}

void DataComboBox::rowPicked(int position) {
    if (m_settingInCode)
        return;
    if (m_endingEdit) {
        showChoice();
        return;
    }
    const qint64 rowId = m_model->rowIdAt(position);
    if (rowId < 0)
        return;
    m_chosenRowId = rowId;
    m_value = textOfRow(rowId, m_keyColumn);
    m_text = textOfRow(rowId, m_displayColumn);
    showChoice();
    Q_EMIT choiceConfirmed();
    // A row chosen with the arrow keys (or the wheel) on the closed box is a pick from a list
    // opened and closed at once: what follows a closed list must follow it too, or a
    // keyboard user would never get what a mouse pick brings.
    if (!m_listOpen)
        tellListClosedSoon(); // once only when the pick came from a list that just closed
}

void DataComboBox::tellListClosedSoon() {
    if (std::exchange(m_listCloseDue, true))
        return;
    QMetaObject::invokeMethod(
        this,
        [this] {
            m_listCloseDue = false;
            Q_EMIT listClosed();
        },
        Qt::QueuedConnection);
}

void DataComboBox::choose(qint64 rowId) {
    m_chosenRowId = rowId;
}

// Puts the kept text in the line edit and makes the chosen row the box's current item
// (so the list opens on it and the arrow keys move from it), without any signal of ours.
void DataComboBox::showChoice() {
    QScopedValueRollback<bool> guard(m_settingInCode, true);
    QLineEdit* edit = lineEdit();
    const QString before = edit->text();
    const int cursor = edit->cursorPosition();
    const int row = m_chosenRowId >= 0 ? m_model->rowOfRowId(m_chosenRowId) : -1;
    if (currentIndex() != row)
        setCurrentIndex(row);
    if (edit->text() != m_text) {
        edit->setText(m_text);
        if (before == m_text)
            edit->setCursorPosition(cursor);
    }
}

qint64 DataComboBox::firstRowWith(const QHash<QString, qint64>& lookup, const QString& text) const {
    buildLookups();
    return lookup.value(text, -1);
}

void DataComboBox::buildLookups() const {
    if (m_lookupsValid)
        return;
    m_rowByText.clear();
    m_rowByKey.clear();
    const RecordSet* set = boundSet();
    if (set) {
        const int key = set->columnIndex(m_keyColumn);
        const int shown = set->columnIndex(m_displayColumn);
        const int rows = set->recordCount();
        m_rowByText.reserve(rows);
        m_rowByKey.reserve(rows);
        // From the last row up, so the first row with a text is the one kept.
        for (int position = rows - 1; position >= 0; --position) {
            const qint64 rowId = set->rowIdAt(position);
            m_rowByText.insert(set->textAt(position, shown), rowId);
            m_rowByKey.insert(set->textAt(position, key), rowId);
        }
    }
    m_lookupsValid = true;
}

QString DataComboBox::textOfRow(qint64 rowId, const QString& column) const {
    const RecordSet* set = boundSet();
    return set ? set->textOfRowId(rowId, set->columnIndex(column)) : QString();
}

} // namespace velmora
