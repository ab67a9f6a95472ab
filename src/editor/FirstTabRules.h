#pragma once

#include "editor/ControlName.h"

#include <QString>
#include <QStringView>

namespace velmora {

class ApplicationModel;
class RecordSet;

// Whether a situations table row's esOtras column marks the "other" situation, whose text
// the applicant types. The first tab and the print record decide by this one rule.
bool isOtherSituationFlag(const QString& esOtras);
// Whether the row of `situations` (CodSituacion, Situacion, esOtras) with code `code` is the
// "other" situation; false for no such row.
bool isOtherSituation(const RecordSet& situations, const QString& code);

// The rules by which a choice on the editor's first tab shows, hides, enables or clears
// other fields, over the application's model. The window calls them after mirroring the
// user's action into the model (an option button selected, a list closed, a value picked);
// the model tells the window what changed.
class FirstTabRules {
public:
    explicit FirstTabRules(ApplicationModel& model) : m_model(model) {}

    // Runs the rule of the option pair `name` belongs to, after the model has recorded the
    // click. False for a name that is no option button with a rule (optVoluntario's click
    // changes nothing and answers true).
    bool optionClicked(QStringView name);

    // One rule per option pair.
    void disabilityClicked();      // optDiscSi / optDiscNo
    void participationClicked();   // optVoluntario / optForzoso
    void familyConditionClicked(); // optPetConyugeSi / optPetConyugeNo
    void situationClicked();       // optActivo / optOtras
    void currentPostClicked();     // OptSi / OptNo
    void postNatureClicked();      // optDefinitivo / optTemporal
    void healthServiceClicked();   // optSSTarvo / optSSOtros

    // The situations list was closed. `esOtras` and `shownText` are the chosen row's esOtras
    // column and displayed text (both empty when no row is chosen): for the "other" situation
    // txtSitAdm is shown, empty, for typing; for any other it is hidden and holds the text.
    void situationsListClosed(const QString& esOtras, const QString& shownText);

    // cboProvincia's value changed: a province's code starts the postal code.
    void addressProvinceChanged();

    // Loading a saved application: the values of `saved` (read from the document) are put
    // in, option buttons first with their rules run as their clicks would, then text boxes,
    // then drop-downs (whose events do not run). So a field an option clears keeps the
    // value saved for it. Date texts come in as "DD/MM/YYYY".
    void fillFromSaved(const ApplicationModel& saved);

    // What the editor does once a saved application is in the model: shows the blocks its
    // options call for, puts its situation in cboSituaciones through the `situations`
    // table (CodSituacion, Situacion, esOtras), and locks DNI, body and group. The candidate
    // positions are CandidateSelection's.
    void applyLoadedData(const RecordSet& situations);

private:
    void show(ControlName name, bool visible);

    ApplicationModel& m_model;
    bool m_loading = false; // no focus moves while a saved application is put in
};

} // namespace velmora
