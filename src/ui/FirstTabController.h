#pragma once

#include "editor/CandidateSelection.h"
#include "editor/FirstTabRules.h"
#include "editor/IdentityRules.h"
#include "editor/SavedApplicationReader.h"
#include "ui/EditorServices.h"

#include <QObject>
#include <QPointer>

class QLineEdit;

namespace velmora {

class ApplicationModel;
class ControlBinder;
class EditorWindow;
class PersonalDataPanel;
class Progress;
struct CandidateTables;
struct IdentityOutcome;

namespace docengine {
class WordProcessor;
}

// Turns the user's actions on the first tab into calls on its rules: option clicks, the
// drop-downs' picks and closed lists, the DNI, date and numeric boxes. The rules change
// the application's data; the binder shows it. What a rule asks of the window (focus,
// Tab, menu entries, location filters, the end of the program) is done here.
class FirstTabController : public QObject {
    Q_OBJECT
public:
    FirstTabController(PersonalDataPanel& panel, ApplicationModel& model, ControlBinder& binder,
                       CandidateTables& candidates, EditorServices services, EditorWindow& editor);
    ~FirstTabController() override;

    // Reads a saved application into the first tab and the lists, then applies it to the
    // dependent controls and selects the body's candidate positions.
    Result<LoadedApplication> loadSavedApplication(const QString& folder, const QString& fileName,
                                                   docengine::WordProcessor& wordProcessor,
                                                   Progress& progress);
    // Unsaved work recovered after the program was stopped: put in as a saved application
    // is, with body and group as free or as locked as `recovered` had them.
    void applyRecovered(const ApplicationModel& recovered);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void wireDniBoxes();
    void wireTextBoxes();
    void onListClosed(const QString& name);
    void onChoiceConfirmed(const QString& name);
    void apply(const IdentityOutcome& outcome, const QString& control);
    void leaveBox(QLineEdit* box, Qt::FocusReason reason);
    // Selects the positions of the body cboCuerpo names and captions lblPlazas with them.
    void showBodyPositions();
    void focusBack(const QString& name);

    PersonalDataPanel& m_panel;
    ApplicationModel& m_model;
    ControlBinder& m_binder;
    EditorServices m_services;
    EditorWindow& m_editor;
    FirstTabRules m_rules;
    CandidateSelection m_candidates;
    IdentityRules m_identity;
    // A box whose check failed has the focus back; it is checked again only when the user
    // leaves it, never because a message box took the focus.
    bool m_checking = false;
};

} // namespace velmora
