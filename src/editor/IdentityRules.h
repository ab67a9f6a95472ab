#pragma once

#include "platform/Result.h"
#include "users/DniValidator.h"
#include <QChar>
#include <QColor>
#include <QString>

#include <optional>

namespace velmora {

class ApplicationModel;
class CandidateSelection;
class UserQuestions;
struct CatalogTables;

// What the window must do after an identity rule ran; the model already holds the rest.
struct IdentityOutcome {
    bool quitProgram = false;     // an application with this identity exists and the applicant chose to quit
    bool sendTab = false;         // move the focus on, as a Tab key would
    std::optional<Error> failure; // told by the window before it applies the rest
    bool focusBack = false;       // the focus goes back to the control just left
    std::optional<bool> locationFilters;     // HabilitaFiltros with this value
    bool enableMenu = false;                 // enable mnuP(1000), mnuP(2000) and mnuP(2500)
    bool disableMenu = false;                // disable the same three entries
    std::optional<QString> categoryCaption;  // new caption of lblCat (the body's description)
    std::optional<QString> positionsCaption; // new caption of lblPlazas
    std::optional<QColor> dniColor;          // the colour the DNI check gives the box's text
};

// The rules of the application's identity on the first tab: the applicant's DNI, the body
// and the group. They decide the application's file name, so each change checks for an
// application saved under the same identity (asking the applicant what to do when there is
// one); the body also chooses the candidate positions.
class IdentityRules {
public:
    IdentityRules(ApplicationModel& model, const CatalogTables& catalogs, CandidateSelection& candidates,
                  QString applicationsFolder, UserQuestions& questions);

    // Key presses: txtDNI discards "-", "." and ","; txtDNIConyuge discards "." and ",".
    static bool acceptsDniKey(QChar key);
    static bool acceptsPartnerDniKey(QChar key);
    // txtDNI after a key release: a complete DNI moves the focus on.
    static bool dniComplete(const QString& text) { return text.size() == kDniLength; }

    // txtDNI left: checked and normalised; an invalid DNI is cleared, the focus goes back and
    // printing, saving and loading another application are disabled. A valid one runs the
    // existing-application check.
    IdentityOutcome dniLeft();
    // txtDNIConyuge left: a non-empty DNI is checked; when invalid the focus goes back.
    IdentityOutcome partnerDniLeft();

    // cboCuerpo's value changed (a row was picked).
    IdentityOutcome bodyChanged();
    // cboCuerpo's list was closed.
    IdentityOutcome bodyListClosed();
    // cboGrupo's value changed.
    IdentityOutcome groupChanged();
    // cboGrupo's list was closed.
    IdentityOutcome groupListClosed();

    // Whether DNI, body and group all have values: printing, saving and loading another
    // application may be enabled.
    bool menuEntriesAllowed() const;

private:
    struct Body {
        QString description;
        QString group;
    };
    std::optional<Body> chosenBody() const;
    // Puts `group` in cboGrupo as setting its text in code does: the first group row that
    // shows it is chosen, or none.
    void setGroup(const QString& group);
    // Runs the existing-application check; true when the rule must stop there.
    bool stopsAtExistingApplication(IdentityOutcome& outcome);
    void offerBodyPositions(IdentityOutcome& outcome, const Body& body);

    ApplicationModel& m_model;
    const CatalogTables& m_catalogs;
    CandidateSelection& m_candidates;
    QString m_applicationsFolder;
    UserQuestions& m_questions;
};

} // namespace velmora
