#include "editor/ApplicationModel.h"
#include "platform/TraceFile.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

// Records every notification and, for option buttons, how many of the frame were selected then.
class Recorder : public ApplicationModelListener {
public:
    explicit Recorder(ApplicationModel& model) : m_model(model) { model.addListener(this); }

    void controlChanged(const FormControl& control) override {
        changed << control.name;
        if (control.kind != ControlKind::OptionButton)
            return;
        int selected = 0;
        for (const FormControl& c : m_model.controls())
            selected += c.group == control.group && c.selected;
        selectedSeen.push_back(selected);
    }
    void focusRequested(QStringView name) override { changed << "focus:" + name.toString(); }
    QStringList take() { return std::exchange(changed, {}); }

    QStringList changed;
    std::vector<int> selectedSeen;

private:
    ApplicationModel& m_model;
};

TEST(ApplicationModelNotifications, OncePerEffectiveChangeAndNeverForANoOp) {
    ApplicationModel model;
    Recorder recorder(model);
    model.addListener(&recorder); // registering twice does not double the calls

    model.setText(ctl::txtNombre, "Ana");
    model.setText(ctl::txtNombre, "Ana");
    model.setChoice(ctl::cboCuerpo, "01000", "Enfermero/a"); // value, text and flag: one call
    model.setChoice(ctl::cboCuerpo, "01000", "Enfermero/a");
    model.setValue(ctl::cboCuerpo, "01000");
    model.setListItem(ctl::cboCuerpo, false);
    model.clearChoice(ctl::cboCuerpo);
    model.clearChoice(ctl::cboCuerpo);
    model.setEnabled(ctl::fraReingreso, false);
    model.setEnabled(ctl::fraReingreso, false);
    model.setVisible(ctl::txtSS, false); // starts hidden
    model.requestFocus(ctl::txtSS);
    EXPECT_EQ(recorder.take(), (QStringList{"txtNombre", "cboCuerpo", "cboCuerpo", "cboCuerpo",
                                            "fraReingreso", "focus:txtSS"}));

    // Writes the model ignores are no changes either.
    model.setValue(ctl::txtNombre, "x");
    model.setSelected(ctl::txtNombre);
    EXPECT_EQ(recorder.take(), QStringList{});
#ifdef QT_NO_DEBUG // a debug build stops at an unknown name
    // A name the model does not hold is a programming error: it changes nothing and the
    // trace file says so, instead of passing as an empty text.
    test::TempDir dir;
    setTraceFolder(dir.path());
    model.setText(ControlName(u"noExiste"), "x");
    EXPECT_EQ(model.text(ControlName(u"noExiste")), QString());
    setTraceFolder(QString());
    EXPECT_EQ(recorder.take(), QStringList{});
    EXPECT_EQ(QString::fromUtf8(dir.read(u"traza.txt"_s)).count(u"Control desconocido: noExiste"), 2);
#endif

    model.removeListener(&recorder);
    model.setText(ctl::txtNombre, "Eva");
    EXPECT_EQ(recorder.take(), QStringList{});
}

TEST(ApplicationModelNotifications, SelectingAnOptionReportsThePartnerItClearedAfterTheWholeChange) {
    ApplicationModel model;
    Recorder recorder(model);
    model.setSelected(ctl::optDiscSi);
    model.setSelected(ctl::optDiscNo);
    model.setSelected(ctl::optDiscNo);
    EXPECT_EQ(recorder.take(), (QStringList{"optDiscSi", "optDiscSi", "optDiscNo"}));
    EXPECT_EQ(recorder.selectedSeen, (std::vector<int>{1, 1, 1})) << "a listener saw the exclusion half done";
    model.setSelected(ctl::optDiscNo, false);
    EXPECT_EQ(recorder.take(), QStringList{"optDiscNo"});
}

TEST(ApplicationModelNotifications, CopiesStartUnwatchedAndAssignmentReportsEachDifference) {
    ApplicationModel watched;
    Recorder recorder(watched);
    ApplicationModel copy = watched;
    copy.setText(ctl::txtApellido1, "Pérez");
    copy.setSelected(ctl::optActivo);
    copy.setVisible(ctl::cboSituaciones, true);
    EXPECT_EQ(recorder.take(), QStringList{}) << "a copy told the original's listener";

    watched = copy;
    EXPECT_EQ(recorder.take(), (QStringList{"txtApellido1", "optActivo", "cboSituaciones"}));
    watched.setText(ctl::txtApellido1, "López");
    EXPECT_EQ(recorder.take(), QStringList{"txtApellido1"}) << "assignment dropped the listener";
}

} // namespace
} // namespace velmora
