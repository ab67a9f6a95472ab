#include "ui/editor/PositionPanel.h"

#include "applications/ApplicationColumns.h"
#include "catalog/CatalogColumns.h"
#include "platform/MessageService.h"
#include "platform/data/Filter.h"
#include "platform/data/RecordSet.h"
#include "platform/widgets/DataComboBox.h"
#include "platform/widgets/DataGrid.h"
#include "platform/widgets/TabKey.h"
#include "platform/widgets/TabOrder.h"
#include "ui/editor/NumericKeyFilter.h"
#include "ui/editor/PanelParts.h"

#include <QApplication>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSet>
#include <QTableView>
#include <QVBoxLayout>

namespace velmora {
namespace {

// Columns of a location drop-down: the code, the name and the helper columns the filters
// read, which stay out of sight in the list.
void bindLocation(DataComboBox* box, RecordSet& table, const QList<ColumnBinding>& columns) {
    box->bind(&table);
    box->setColumns(columns);
    for (int column = 2; column < columns.size(); ++column)
        box->listView()->setColumnHidden(column, true);
}

// Focus lost to a message box, a drop-down list or another window is no leaving of a box.
bool leavesTheBox(QEvent* event) {
    const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
    return reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason;
}

} // namespace

PositionPanel::PositionPanel(const PositionTabTables& tables, MessageService& messages, const Names& names,
                             QWidget* parent)
    : QWidget(parent), m_tables(tables), m_messages(messages), m_names(names),
      m_editor(tables.list, names.choiceTitle) {}

void PositionPanel::addHeader(QVBoxLayout& page) {
    page.addWidget(m_gridLabel);
}

void PositionPanel::build(const ExtraFields& extraFields) {
    const Names& n = m_names;
    m_gridLabel = makeGridLabel(n.tabIndex, this);
    m_grid = makeGrid(n.grid, n.section, m_tables.list, n.gridColumns, n.hiddenGridColumns, this);

    QPushButton* add = makeButton(n.add, QStringLiteral("Añadir"), this);
    QPushButton* insertAll = makeButton(n.insertAll, QStringLiteral("Insertar Todas"), this);
    QPushButton* remove = makeButton(n.remove, QStringLiteral("Borrar"), this);
    QPushButton* modify = makeButton(n.modify, QStringLiteral("Modificar"), this);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    for (QPushButton* button : {add, insertAll, remove, modify})
        buttons->addWidget(button);

    m_frame = new QGroupBox(QStringLiteral("Plaza solicitada"), this);
    m_frame->setObjectName(n.frame);
    auto* form = new QGridLayout(m_frame);
    const auto locationBox = [&](const QString& name) { return makeComboBox(name, m_frame); };
    m_province = locationBox(n.province);
    m_institution = locationBox(n.institution);
    m_locality = locationBox(n.locality);
    m_area = locationBox(n.area);
    m_zone = locationBox(n.zone);
    bindLocation(m_province, m_tables.provinces,
                 {{col::Provinces::CodProvincia, QStringLiteral("Código"), 700},
                  {col::Provinces::Provincia, QStringLiteral("Provincia"), 2400}});
    bindLocation(m_institution, m_tables.departments,
                 {{col::Departments::CodConsejeria, QStringLiteral("Código"), 700},
                  {col::Departments::Consejeria, QStringLiteral("Institución"), 4200},
                  {col::Departments::CodArea, col::Departments::CodArea, 0}});
    bindLocation(m_locality, m_tables.localities,
                 {{col::Localities::CodLocalidad, QStringLiteral("Código"), 1100},
                  {col::Localities::Localidad, QStringLiteral("Localidad"), 3600},
                  {col::Localities::CodProvincia, col::Localities::CodProvincia, 0}});
    bindLocation(m_area, m_tables.areas,
                 {{col::Areas::CodArea, QStringLiteral("Código"), 1100},
                  {col::Areas::Area, QStringLiteral("Área"), 3600},
                  {col::Areas::CodProvincia, col::Areas::CodProvincia, 0}});
    bindLocation(m_zone, m_tables.zones, n.zoneColumns);
    addField(*form, 0, 0,
             makeLabel(n.province + QStringLiteral("Label"), QStringLiteral("Provincia"), m_frame),
             m_province);
    addField(*form, 0, 2,
             makeLabel(n.institution + QStringLiteral("Label"), QStringLiteral("Institución"), m_frame),
             m_institution);
    addField(*form, 0, 4,
             makeLabel(n.locality + QStringLiteral("Label"), QStringLiteral("Localidad"), m_frame),
             m_locality);
    addField(*form, 1, 0, makeLabel(n.area + QStringLiteral("Label"), QStringLiteral("Área"), m_frame),
             m_area);
    addField(*form, 1, 2, makeLabel(n.zone + QStringLiteral("Label"), QStringLiteral("Zona Básica"), m_frame),
             m_zone);

    m_code = makeLineEdit(n.code, m_frame, 5);
    NumericKeyFilter::install(m_code);
    m_code->setMaximumWidth(fontMetrics().horizontalAdvance(QStringLiteral("000000")) + 16);
    m_description = makeLineEdit(n.description, m_frame);
    m_description->setVisible(false);
    m_description->setAccessibleName(QStringLiteral("Denominación"));
    m_position = makeComboBox(n.position, m_frame);
    m_position->bind(&m_tables.candidates);
    m_position->setColumns(n.positionColumns);
    for (int column = 0; column < n.positionColumns.size(); ++column)
        m_position->listView()->setColumnHidden(
            column, n.hiddenPositionColumns.contains(n.positionColumns[column].column, Qt::CaseInsensitive));
    m_order = makeLineEdit(n.order, m_frame, 5);
    NumericKeyFilter::install(m_order);
    m_order->setMaximumWidth(fontMetrics().horizontalAdvance(QStringLiteral("000000")) + 16);
    m_id = makeLineEdit(n.id, m_frame);
    m_id->setVisible(false);
    m_id->setFocusPolicy(Qt::NoFocus);

    auto* codeRow = new QHBoxLayout;
    codeRow->addWidget(m_code);
    codeRow->addWidget(m_description, 1);
    codeRow->addStretch(0);
    QLabel* codeLabel = makeLabel(n.code + QStringLiteral("Label"), QStringLiteral("Código"), m_frame);
    codeLabel->setBuddy(m_code);
    codeLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    form->addWidget(codeLabel, 2, 0);
    form->addLayout(codeRow, 2, 1, 1, 5);
    addField(*form, 3, 0, makeLabel(n.position + QStringLiteral("Label"), QStringLiteral("Puesto"), m_frame),
             m_position, 5);
    auto* orderRow = new QHBoxLayout;
    orderRow->addWidget(m_order);
    orderRow->addStretch();
    QLabel* orderLabel = makeLabel(n.order + QStringLiteral("Label"), QStringLiteral("Orden"), m_frame);
    orderLabel->setBuddy(m_order);
    orderLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    form->addWidget(orderLabel, 4, 0);
    form->addLayout(orderRow, 4, 1);
    const QList<QWidget*> extra = extraFields ? extraFields(*form, 4) : QList<QWidget*>();
    for (int column : {1, 3, 5})
        form->setColumnStretch(column, 1);

    m_accept = makeButton(n.accept, QStringLiteral("Aceptar"), m_frame);
    m_cancel = makeButton(n.cancel, QStringLiteral("Cancelar"), m_frame);
    auto* frameButtons = new QHBoxLayout;
    frameButtons->addStretch();
    frameButtons->addWidget(m_accept);
    frameButtons->addWidget(m_cancel);
    form->addLayout(frameButtons, 5, 0, 1, 6);

    auto* page = new QVBoxLayout(this);
    addHeader(*page);
    page->addWidget(m_grid, 1);
    page->addLayout(buttons);
    page->addWidget(m_frame);

    declareTabOrder(this, QList<QWidget*>{m_grid, add, insertAll, remove, modify, m_province, m_institution,
                                          m_locality, m_area, m_zone, m_code, m_position, m_order}
                              << extra << m_accept << m_cancel);
    connect(add, &QPushButton::clicked, this, &PositionPanel::add);
    connect(insertAll, &QPushButton::clicked, this, &PositionPanel::insertAll);
    connect(remove, &QPushButton::clicked, this, &PositionPanel::remove);
    connect(modify, &QPushButton::clicked, this, &PositionPanel::modify);
    connect(m_accept, &QPushButton::clicked, this, &PositionPanel::accept);
    connect(m_cancel, &QPushButton::clicked, this, &PositionPanel::cancel);
    connect(m_position, &DataComboBox::choiceConfirmed, this, [this] { m_choicePicked = true; });
    connect(m_position, &DataComboBox::listClosed, this, [this] {
        if (std::exchange(m_choicePicked, false))
            m_accept->setFocus();
    });
    for (QWidget* watched :
         {static_cast<QWidget*>(m_code), static_cast<QWidget*>(m_order), static_cast<QWidget*>(m_accept)})
        watched->installEventFilter(this);
}

bool PositionPanel::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_code && event->type() == QEvent::FocusOut && leavesTheBox(event)) {
        lookUpCode();
    } else if (watched == m_order && event->type() == QEvent::FocusIn) {
        // After the click that gave the focus has placed the caret.
        QMetaObject::invokeMethod(m_order, &QLineEdit::selectAll, Qt::QueuedConnection);
    } else if (watched == m_order && event->type() == QEvent::FocusOut && leavesTheBox(event)) {
        if (!m_order->text().isEmpty() && !orderOfText(m_order->text()))
            m_order->clear();
    } else if (watched == m_accept && event->type() == QEvent::FocusIn) {
        if (m_position->isListItem())
            m_code->setText(m_position->columnText(col::Positions::CodConvocatoria));
    }
    return QWidget::eventFilter(watched, event);
}

QString PositionPanel::defaultCandidateFilter() const {
    const QString code = m_code->text();
    return code.isEmpty() ? QStringLiteral("0")
                          : Filter::equals(col::Positions::CodConvocatoria, code).text();
}

void PositionPanel::applyCandidateFilter() {
    const QString filter = m_filterBuilder ? m_filterBuilder() : defaultCandidateFilter();
    if (filter == QLatin1String("0"))
        m_tables.candidates.clearFilter();
    else
        (void)m_tables.candidates.setFilter(filter); // a filter that does not parse keeps the last one
}

PositionChoice PositionPanel::currentChoice() const {
    PositionChoice choice;
    choice.isListItem = m_position->isListItem();
    choice.code = m_position->columnText(col::Positions::CodConvocatoria);
    choice.name = m_position->columnText(col::Positions::NomConvocatoria);
    choice.institution = m_position->columnText(col::Positions::Consejeria);
    choice.locality = m_position->columnText(col::Positions::Localidad);
    choice.areaCode = m_position->columnText(col::Positions::CodArea);
    choice.zoneCode = m_position->columnText(col::Positions::CodZona);
    return choice;
}

void PositionPanel::lock(bool modifying) {
    for (QWidget* control : {static_cast<QWidget*>(m_institution), static_cast<QWidget*>(m_locality),
                             static_cast<QWidget*>(m_province), static_cast<QWidget*>(m_position),
                             static_cast<QWidget*>(m_code), static_cast<QWidget*>(m_description)})
        control->setEnabled(!modifying);
}

void PositionPanel::setFiltersEnabled(bool enabled) {
    if (enabled && mode() == PanelMode::Modifying)
        return;
    m_institution->setEnabled(enabled);
    m_province->setEnabled(enabled);
    m_locality->setEnabled(enabled);
    filtersEnablingChanged();
}

void PositionPanel::resetPanel() {
    m_editor.setMode(PanelMode::Adding);
    for (QLineEdit* box : {m_order, m_description, m_id, m_code})
        box->clear();
    m_description->setVisible(false);
    m_position->setEnabled(true);
    lock(false);
    m_position->clearChoice();
    // A panel on a tab out of sight leaves the focus where the user has it.
    if (isVisible())
        m_position->setFocus();
    applyCandidateFilter();
    panelCleared();
    setFiltersEnabled(true);
}

void PositionPanel::add() {
    m_order->setFocus();
    // With a body or a group chosen every reset has already left the panel adding; a row
    // being modified stays loaded.
    if (!m_bodyOrGroupChosen || m_bodyOrGroupChosen())
        return;
    m_editor.setMode(PanelMode::Adding);
    if (enablesFiltersFirst()) {
        setFiltersEnabled(true);
        lock(false);
    } else {
        lock(false);
        setFiltersEnabled(true);
    }
    m_description->setVisible(false);
    resetPanel();
}

void PositionPanel::insertAll() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const AreaZoneNames names(m_tables.areas, m_tables.zones);
    const auto inserted =
        m_editor.insertAll(m_tables.candidates, names, [this](int) { window()->repaint(); });
    QApplication::restoreOverrideCursor();
    if (!inserted) {
        m_messages.reportError(inserted.error());
        return;
    }
    if (m_tables.candidates.recordCount() > 0)
        Q_EMIT positionsAdded();
    window()->repaint();
}

void PositionPanel::remove() {
    const qint64 row = singleSelectedRow(*m_grid);
    if (row >= 0) {
        const auto deleted = m_editor.confirmAndDelete(row, m_messages);
        if (!deleted)
            m_messages.reportError(deleted.error());
        else if (*deleted)
            Q_EMIT positionDeleted();
    }
    resetPanel();
}

void PositionPanel::modify() {
    const qint64 row = singleSelectedRow(*m_grid);
    if (row < 0)
        return;
    cancel();
    const auto loaded = m_editor.beginModify(row);
    if (!loaded)
        return;
    lock(true);
    m_id->setText(QString::number(loaded->id));
    m_order->setText(QString::number(loaded->order));
    m_code->setText(loaded->code);
    m_description->setVisible(true);
    m_position->setChoice(loaded->code, loaded->name);
    m_description->setText(loaded->name);
    showLoaded(*loaded);
    m_order->setFocus();
}

QList<ColumnBinding> PositionPanel::hiddenListColumns() {
    QList<ColumnBinding> columns;
    for (const QString& name : hiddenListColumnNames())
        columns.append({name, name, 0});
    return columns;
}

QStringList PositionPanel::hiddenListColumnNames() {
    namespace pl = col::PreferenceList;
    namespace pos = col::Positions;
    return {pl::IdSolicitud,   pos::CodConsejeria, pos::CodLocalidad,
            pos::CodProvincia, pl::CodArea,        pl::CodZona};
}

void PositionPanel::accept() {
    if (m_editor.mode() == PanelMode::Adding) {
        const AreaZoneNames names(m_tables.areas, m_tables.zones);
        const PositionChoice choice = currentChoice();
        const Status added = m_editor.add(choice, m_order->text(), demarcation().value_or(QString()), names);
        if (!added) {
            m_messages.tell(added.error());
        } else {
            openListAfter(choice.code);
            showListedRow(Filter::equals(col::PreferenceList::CodConvocatoria, choice.code));
            Q_EMIT positionsAdded();
        }
    } else {
        const auto modified = m_editor.modify(m_id->text(), m_order->text(), demarcation());
        if (!modified) {
            m_messages.tell(modified.error());
            if (modified.error().number == ErrorCode::InvalidValue)
                return; // no order: the panel keeps what it holds
        } else {
            m_order->setText(QString::number(*modified));
            showListedRow(
                Filter::equals(col::PreferenceList::IdSolicitud, m_id->text().trimmed().toLongLong()));
            modificationDone();
        }
    }
    resetPanel();
}

// A row added or moved out of sight would leave the applicant wondering where it went: the
// grid shows it, as its current row.
void PositionPanel::showListedRow(const Filter& criteria) {
    auto row = m_tables.list.clone();
    if (row->find(criteria).ok() && !row->isEOF())
        m_grid->selectRowId(row->currentRowId());
}

void PositionPanel::openListAfter(const QString& code) {
    const RecordSet& candidates = m_tables.candidates;
    const int candidateCode = candidates.columnIndex(col::Positions::CodConvocatoria);
    const int listedCode = m_tables.list.columnIndex(col::PreferenceList::CodConvocatoria);
    QSet<QString> listed;
    for (int row = 0; row < m_tables.list.recordCount(); ++row)
        listed.insert(m_tables.list.textAt(row, listedCode));
    int row = 0;
    while (row < candidates.recordCount() && candidates.textAt(row, candidateCode) != code)
        ++row;
    qint64 next = -1;
    for (++row; row < candidates.recordCount() && next < 0; ++row)
        if (!listed.contains(candidates.textAt(row, candidateCode)))
            next = candidates.rowIdAt(row);
    m_position->setListStart(next);
}

void PositionPanel::cancel() {
    resetPanel();
    m_editor.setMode(PanelMode::Adding);
    clearLocationFilters();
}

void PositionPanel::clearLocationFilters() {
    LocationState state = locationState();
    m_locationFilters->clear(state);
    showLocationState(state);
    candidatesRefreshed();
}

void PositionPanel::setInstitutions(RecordSet* institutions) {
    m_institutions = institutions;
    m_locationFilters =
        makeLocationFilters({m_tables.candidates, m_tables.provinces, m_tables.localities,
                             m_tables.departments, m_tables.areas, m_tables.zones, m_institutions});
}

void PositionPanel::wireLocationFilters() {
    setInstitutions(m_institutions);
    setCandidateFilterBuilder([this] { return ConstruyeFiltroPlazas(filterMode(), locationState()); });
    const std::pair<DataComboBox*, LocationBox> boxes[] = {{m_province, LocationBox::Province},
                                                           {m_institution, LocationBox::Institution},
                                                           {m_locality, LocationBox::Locality},
                                                           {m_area, LocationBox::Area},
                                                           {m_zone, LocationBox::Zone}};
    // Candidates of another body, or narrowed by a typed code: the institutions with some.
    connect(m_position->listModel(), &QAbstractItemModel::modelReset, this,
            [this] { m_locationFilters->offerInstitutionsWithPositions(locationState()); });
    m_institution->setEmptyListText(QStringLiteral("Ninguna institución con plazas"));
    m_locality->setEmptyListText(QStringLiteral("Ninguna localidad en esta provincia"));
    for (const auto& [box, which] : boxes) {
        // A pick changes the text as typing does; for the locality and the zone it also
        // ends the choice, as emptying the box does.
        connect(box, &DataComboBox::textEdited, this, [this, box = box, which = which](const QString& text) {
            reactToLocation(box, which, LocationEvent::TextChanged);
            if (text.isEmpty())
                reactToLocation(box, which, LocationEvent::ChoiceConfirmed);
        });
        connect(box, &DataComboBox::choiceConfirmed, this, [this, box = box, which = which] {
            reactToLocation(box, which, LocationEvent::TextChanged);
            reactToLocation(box, which, LocationEvent::ChoiceConfirmed);
        });
        connect(box, &DataComboBox::listClosed, this,
                [this, box = box, which = which] { reactToLocation(box, which, LocationEvent::ListClosed); });
    }
}

namespace {

LocationChoice choiceOf(const DataComboBox* box) {
    return {box->value(), box->text(), box->isListItem(), box->isEnabled()};
}

void showChoice(DataComboBox* box, const LocationChoice& choice) {
    if (choice.value.isEmpty() && !box->value().isEmpty())
        box->setChoice(QString(), choice.text);
    if (choice.text.isEmpty() && !box->text().isEmpty())
        box->clearChoice();
    box->setEnabled(choice.enabled);
}

} // namespace

LocationState PositionPanel::locationState() const {
    LocationState state;
    state.province = choiceOf(m_province);
    state.institution = choiceOf(m_institution);
    state.locality = choiceOf(m_locality);
    state.area = choiceOf(m_area);
    state.zone = choiceOf(m_zone);
    state.code = m_code->text();
    state.codeEnabled = m_code->isEnabled();
    return state;
}

void PositionPanel::showLocationState(const LocationState& state) {
    showChoice(m_province, state.province);
    showChoice(m_institution, state.institution);
    showChoice(m_locality, state.locality);
    showChoice(m_area, state.area);
    showChoice(m_zone, state.zone);
    if (m_code->text() != state.code)
        m_code->setText(state.code);
    m_code->setEnabled(state.codeEnabled);
}

void PositionPanel::reactToLocation(DataComboBox* box, LocationBox which, LocationEvent event) {
    LocationState state = locationState();
    const LocationReaction reaction = m_locationFilters->react(which, event, state);
    showLocationState(state);
    if (reaction.candidateCount)
        candidatesRefreshed();
    // The focus moves on once the reaction is over, from the box that still holds it.
    if (reaction.sendTab)
        QMetaObject::invokeMethod(
            box,
            [box] {
                if (box->hasFocus())
                    sendTabKey(box);
            },
            Qt::QueuedConnection);
}

void PositionPanel::lookUpCode() {
    applyCandidateFilter();
    const QString code = m_code->text();
    // An empty box looks nothing up: leaving it on the way to the drop-down must not jump
    // the focus to "Aceptar".
    if (code.isEmpty() || m_tables.candidates.isEOF())
        return;
    m_position->setValue(code);
    m_accept->setFocus();
}

} // namespace velmora
