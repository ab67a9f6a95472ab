#include "ui/FirstTabController.h"

#include "app/LoadedTables.h"
#include "catalog/CatalogColumns.h"
#include "editor/ApplicationModel.h"
#include "editor/DateField.h"
#include "editor/FirstTabLocationCascades.h"
#include "platform/MessageService.h"
#include "platform/widgets/DataComboBox.h"
#include "platform/widgets/DniLineEdit.h"
#include "platform/widgets/TabKey.h"
#include "ui/ControlBinder.h"
#include "ui/EditorWindow.h"
#include "ui/PersonalDataPanel.h"
#include "ui/editor/NumericKeyFilter.h"

#include <QAction>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>

namespace velmora {
namespace {

// The boxes whose whole text is selected when they get the focus.
constexpr const char* kSelectOnEntry[] = {"txtApellido1",
                                          "txtApellido2",
                                          "txtNombre",
                                          "txtDNI",
                                          "txtTelefono",
                                          "txtDomicilio",
                                          "txtLocalidad",
                                          "txtCP",
                                          "txtTipoDisc",
                                          "txtAdaptaciones",
                                          "txtConyuApellido1",
                                          "txtCOnyuApellido2",
                                          "txtConyuNombre",
                                          "txtDNIConyuge",
                                          "txtNRP",
                                          "txtPuesto",
                                          "txtLocalidadPuesto",
                                          "txtFecNacimiento",
                                          "txtFechaIngreso",
                                          "txtFechaSit",
                                          "txtFecPosesion"};
constexpr const char* kNumericBoxes[] = {"txtCP", "txtTelefono"};

bool isDigitKey(const QKeyEvent* event) {
    const QString text = event->text();
    return text.size() == 1 && text.at(0) >= QLatin1Char('0') && text.at(0) <= QLatin1Char('9');
}

// Focus moves the user makes (as opposed to a message box or a menu taking the focus).
bool userLeft(Qt::FocusReason reason) {
    return reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason ||
           reason == Qt::MouseFocusReason || reason == Qt::ShortcutFocusReason ||
           reason == Qt::OtherFocusReason;
}

} // namespace

FirstTabController::FirstTabController(PersonalDataPanel& panel, ApplicationModel& model,
                                       ControlBinder& binder, CandidateTables& candidates,
                                       EditorServices services, EditorWindow& editor)
    : m_panel(panel), m_model(model), m_binder(binder), m_services(services), m_editor(editor),
      m_rules(model), m_candidates(services.state.tables.bodyPositions, candidates),
      m_identity(model, services.state.tables, m_candidates, services.state.folders.applications,
                 services.messages) {
    connect(&binder, &ControlBinder::optionClicked, this,
            [this](const QString& name) { m_rules.optionClicked(name); });
    connect(&binder, &ControlBinder::listClosed, this, &FirstTabController::onListClosed);
    connect(&binder, &ControlBinder::choiceConfirmed, this, &FirstTabController::onChoiceConfirmed);
    wireDniBoxes();
    wireTextBoxes();
}

FirstTabController::~FirstTabController() = default;

void FirstTabController::wireDniBoxes() {
    auto* dni = m_panel.findChild<DniLineEdit*>(ctl::txtDNI);
    dni->setDiscardedCharacters(QStringLiteral("-.,"));
    connect(dni, &DniLineEdit::editingKeyReleased, this, [dni] {
        if (IdentityRules::dniComplete(dni->text()))
            sendTabKey(dni);
    });
    connect(dni, &DniLineEdit::focusLeft, this, [this, dni](Qt::FocusReason reason) {
        if (!userLeft(reason) || m_checking || !dni->isEnabled())
            return;
        m_checking = true;
        apply(m_identity.dniLeft(), ctl::txtDNI);
        m_checking = false;
    });

    auto* partner = m_panel.findChild<DniLineEdit*>(ctl::txtDNIConyuge);
    partner->setDiscardedCharacters(QStringLiteral(".,"));
    connect(partner, &DniLineEdit::focusLeft, this, [this](Qt::FocusReason reason) {
        if (!userLeft(reason) || m_checking)
            return;
        m_checking = true;
        apply(m_identity.partnerDniLeft(), ctl::txtDNIConyuge);
        m_checking = false;
    });
}

void FirstTabController::wireTextBoxes() {
    for (const char* name : kSelectOnEntry)
        if (auto* box = m_panel.findChild<QLineEdit*>(QLatin1String(name)))
            box->installEventFilter(this);
    // The same filter as the list tabs' numeric boxes, so Tab, Shift+Tab and Enter act alike.
    for (const char* name : kNumericBoxes)
        if (auto* box = m_panel.findChild<QLineEdit*>(QLatin1String(name)))
            NumericKeyFilter::install(box);
}

bool FirstTabController::eventFilter(QObject* watched, QEvent* event) {
    auto* box = qobject_cast<QLineEdit*>(watched);
    if (!box)
        return QObject::eventFilter(watched, event);
    const QString name = box->objectName();
    switch (event->type()) {
    case QEvent::FocusIn:
        // After the mouse press has placed the caret, so the selection stays.
        QTimer::singleShot(0, box, [box] { box->selectAll(); });
        break;
    case QEvent::FocusOut:
        if (DateField::isDateBox(name))
            leaveBox(box, static_cast<QFocusEvent*>(event)->reason());
        break;
    case QEvent::KeyRelease: {
        auto* key = static_cast<QKeyEvent*>(event);
        if (DateField::isDateBox(name) && isDigitKey(key)) {
            const QString text = DateField::afterKeyRelease(box->text(), true);
            if (text != box->text()) {
                m_model.setText(ControlName(name), text);
                box->end(false);
            }
        }
        break;
    }
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

void FirstTabController::leaveBox(QLineEdit* box, Qt::FocusReason reason) {
    if (!userLeft(reason) || m_checking || box->text().isEmpty())
        return;
    m_checking = true;
    const Status date = DateField::leave(m_model, ControlName(box->objectName()), m_services.clock);
    if (!date)
        m_services.messages.tell(date.error());
    m_checking = false;
    if (!date)
        focusBack(box->objectName());
}

void FirstTabController::focusBack(const QString& name) {
    QPointer<QWidget> widget = m_binder.widget(name);
    QTimer::singleShot(0, this, [widget] {
        if (widget && widget->isVisible() && widget->isEnabled())
            widget->setFocus(Qt::OtherFocusReason);
    });
}

void FirstTabController::onListClosed(const QString& name) {
    if (cascadeFirstTabLocations(ControlName(name), m_model, m_services.state.tables))
        return;
    if (name == ctl::cboCuerpo) {
        apply(m_identity.bodyListClosed(), name);
    } else if (name == ctl::cboGrupo) {
        apply(m_identity.groupListClosed(), name);
    } else if (name == ctl::cboSituaciones) {
        auto* combo = m_panel.findChild<DataComboBox*>(name);
        const bool chosen = combo->isListItem();
        m_rules.situationsListClosed(chosen ? combo->columnText(col::Situations::esOtras) : QString(),
                                     chosen ? combo->text() : QString());
    }
}

void FirstTabController::onChoiceConfirmed(const QString& name) {
    if (name == ctl::cboCuerpo)
        apply(m_identity.bodyChanged(), name);
    else if (name == ctl::cboGrupo)
        apply(m_identity.groupChanged(), name);
    else if (name == ctl::cboProvincia)
        m_rules.addressProvinceChanged();
}

void FirstTabController::apply(const IdentityOutcome& outcome, const QString& control) {
    m_services.messages.tell(outcome.failure);
    if (outcome.dniColor)
        if (auto* box = qobject_cast<DniLineEdit*>(m_binder.widget(control)))
            box->setForeColor(*outcome.dniColor);
    if (outcome.categoryCaption)
        if (auto* label = m_editor.findChild<QLabel*>(QStringLiteral("lblCat")))
            label->setText(*outcome.categoryCaption);
    if (outcome.positionsCaption)
        if (auto* label = m_editor.findChild<QLabel*>(QStringLiteral("lblPlazas")))
            label->setText(*outcome.positionsCaption);
    if (outcome.locationFilters)
        m_editor.HabilitaFiltros(*outcome.locationFilters);
    for (MenuEntry entry : kApplicationMenuEntries) {
        if (outcome.enableMenu)
            m_editor.menuEntry(entry)->setEnabled(true);
        if (outcome.disableMenu)
            m_editor.menuEntry(entry)->setEnabled(false);
    }
    if (outcome.quitProgram) {
        m_editor.quitNow();
        return;
    }
    if (outcome.focusBack)
        focusBack(control);
    else if (outcome.sendTab)
        if (QWidget* widget = m_binder.widget(control))
            sendTabKey(widget);
}

Result<LoadedApplication> FirstTabController::loadSavedApplication(const QString& folder,
                                                                   const QString& fileName,
                                                                   docengine::WordProcessor& wordProcessor,
                                                                   Progress& progress) {
    LoadedTables& t = m_services.state.tables;
    ApplicationModel saved;
    auto read = readSavedApplication(folder, fileName, wordProcessor, saved, t.lists(), progress, &t);
    // What was read before a failure stays, as the lists do.
    m_rules.fillFromSaved(saved);
    if (!read.ok())
        return read;
    m_rules.applyLoadedData(t.situations);
    showBodyPositions();
    if (auto* label = m_editor.findChild<QLabel*>(QStringLiteral("lblCat")))
        label->setText(read.value().categoryCaption);
    return read;
}

void FirstTabController::showBodyPositions() {
    const auto caption = m_candidates.SeleccionaPlazasRS(m_model);
    if (!caption)
        m_services.messages.tell(caption.error());
    else if (*caption)
        if (auto* label = m_editor.findChild<QLabel*>(QStringLiteral("lblPlazas")))
            label->setText(**caption);
}

void FirstTabController::applyRecovered(const ApplicationModel& recovered) {
    LoadedTables& t = m_services.state.tables;
    m_rules.fillFromSaved(recovered);
    m_rules.applyLoadedData(t.situations);
    for (ControlName name : {ctl::cboCuerpo, ctl::cboGrupo})
        m_model.setEnabled(name, recovered.isEnabled(name));
    showBodyPositions();
    if (auto* label = m_editor.findChild<QLabel*>(QStringLiteral("lblCat")))
        label->setText(m_model.text(ctl::cboCuerpo));
}

} // namespace velmora
