#include "editor/ApplicationModel.h"

#include "platform/TraceFile.h"
#include "support/TempDir.h"

#include <QSet>

#include <gtest/gtest.h>

namespace velmora {
namespace {

ControlKind kindFromPrefix(const QString& name) {
    if (name.startsWith("txt"))
        return ControlKind::TextBox;
    if (name.startsWith("cbo"))
        return ControlKind::DropDown;
    return ControlKind::OptionButton;
}

TEST(ApplicationModel, EveryDocumentFieldIsFoundThroughItsUniqueTag) {
    const ApplicationModel model;
    QSet<QString> tags;
    for (const FormControl* c : model.taggedControls()) {
        EXPECT_EQ(model.find(c->name), c) << c->name.toStdString();
        EXPECT_EQ(model.findByTag(c->tag), c) << c->tag.toStdString();
        EXPECT_EQ(c->kind, kindFromPrefix(c->name)) << c->name.toStdString();
        tags.insert(c->tag.toUpper());
    }
    EXPECT_EQ(tags.size(), qsizetype(model.taggedControls().size())) << "two controls share a field";
    for (const char* untagged : {"cboSituaciones", "OptSi", "OptNo"}) {
        ASSERT_TRUE(model.has(QString::fromLatin1(untagged))) << untagged;
        EXPECT_TRUE(model.find(QString::fromLatin1(untagged))->tag.isEmpty()) << untagged;
    }
}

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

TEST(ApplicationModelNotifications, OnlyEffectiveChangesNotify) {
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

TEST(ApplicationModelNotifications, AnOptionReportsThePartnerItClearedAfterTheChange) {
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

// An assignment reports each difference to the assigned model's listeners.
TEST(ApplicationModelNotifications, CopiesStartUnwatched) {
    ApplicationModel model;
    Recorder recorder(model);
    ApplicationModel copy = model;
    copy.setText(ctl::txtApellido1, "Pérez");
    copy.setSelected(ctl::optActivo);
    copy.setVisible(ctl::cboSituaciones, true);
    EXPECT_EQ(recorder.take(), QStringList{}) << "a copy told the original's listener";

    model = copy;
    EXPECT_EQ(recorder.take(), (QStringList{"txtApellido1", "optActivo", "cboSituaciones"}));
    model.setText(ctl::txtApellido1, "López");
    EXPECT_EQ(recorder.take(), QStringList{"txtApellido1"}) << "assignment dropped the listener";
}

} // namespace
} // namespace velmora
