#include "ui/SelectionWindow.h"

#include "app/RunState.h"
#include "applications/ApplicationFiles.h"
#include "platform/widgets/DataComboBox.h"
#include "support/FakeMessageService.h"
#include "support/TempDir.h"
#include "ui/WindowDriver.h"

#include <QPushButton>
#include <QSignalSpy>

#include <gtest/gtest.h>

namespace velmora {
namespace {

using test::control;

const QString kFirst = u"12345678Z_12345B1.doc"_s;
const QString kSecond = u"12345678Z_54321C1.doc"_s;

// Two saved applications of the signed-in user, listed as start-up lists them.
class SelectionWindowTest : public ::testing::Test {
protected:
    SelectionWindowTest() {
        state.folders = AppFolders::at(dir.path());
        EXPECT_TRUE(createTable(state.tables.bodies, {{"CodCuerpo", ColumnType::Text, 5}}));
        for (const QString& name : {kFirst, kSecond}) {
            dir.write("ficheros/temp/" + name, "doc");
            dir.write("ficheros/temp/" + sidecarFileName(name), "xml");
        }
        EXPECT_EQ(listApplications(state.folders.applications, u"12345678Z"_s, state.tables.bodies,
                                   state.applicationFiles)
                      .valueOr(-1),
                  2);
        window = std::make_unique<SelectionWindow>(state, messages);
        EXPECT_TRUE(test::showActive(window.get()));
        combo = control<DataComboBox>(window.get(), "cboSolicitudes");
    }

    void click(const char* button) {
        QTest::mouseClick(control<QPushButton>(window.get(), button), Qt::LeftButton);
    }
    bool enabled(const char* button) { return control<QPushButton>(window.get(), button)->isEnabled(); }

    test::TempDir dir;
    RunState state;
    test::FakeMessageService messages;
    std::unique_ptr<SelectionWindow> window;
    DataComboBox* combo = nullptr;
};

TEST_F(SelectionWindowTest, LoadingAsksForAChoiceThenNamesTheChosenFile) {
    EXPECT_EQ(combo->listModel()->rowCount(), 2);

    QSignalSpy requested(window.get(), &SelectionWindow::applicationRequested);
    click("cmdCargar");
    EXPECT_EQ(requested.count(), 0);
    combo->setValue(kSecond);
    click("cmdCargar");
    ASSERT_EQ(requested.count(), 1);
    EXPECT_EQ(requested.at(0).at(0).toString(), kSecond);
    EXPECT_EQ(state.selectedApplicationFile, kSecond);
    EXPECT_TRUE(state.loadExisting);
    EXPECT_EQ(messages.only(u"Solicitudes"_s, MessageIcon::Exclamation), u"Seleccione una Solicitud"_s);

    // Closing by the close box after a choice is no end of the program; before one it is.
    QSignalSpy closed(window.get(), &SelectionWindow::closedWithoutChoice);
    window->close();
    EXPECT_EQ(closed.count(), 0);
    SelectionWindow other(state, messages);
    QSignalSpy otherClosed(&other, &SelectionWindow::closedWithoutChoice);
    other.show();
    other.close();
    EXPECT_EQ(otherClosed.count(), 1);
}

TEST_F(SelectionWindowTest, DeletingAsksListsAgainAndDisablesWhenNoneIsLeft) {
    combo->setValue(kFirst);
    messages.queueAnswer(MessageAnswer::No);
    click("cmdBorrar");
    EXPECT_TRUE(QFileInfo::exists(dir.file("ficheros/temp/" + kFirst)));
    messages.queueAnswer(MessageAnswer::Yes);
    click("cmdBorrar");
    EXPECT_FALSE(QFileInfo::exists(dir.file("ficheros/temp/" + kFirst)));
    EXPECT_EQ(combo->listModel()->rowCount(), 1);
    EXPECT_EQ(combo->text(), QString());
    EXPECT_TRUE(enabled("cmdCargar"));

    // The last one (a sidecar gone already is DeleteApplication's).
    combo->setValue(kSecond);
    messages.queueAnswer(MessageAnswer::Yes);
    click("cmdBorrar");
    EXPECT_TRUE(QDir(state.folders.applications).entryList(QDir::Files).isEmpty());
    EXPECT_FALSE(enabled("cmdCargar"));
    EXPECT_FALSE(enabled("cmdBorrar"));
    EXPECT_FALSE(combo->isEnabled());
    EXPECT_EQ(messages.messages, std::vector(3, test::FakeMessageService::Message{
                                                    u"¿Desea borrar esta solicitud?"_s, u"Borrar"_s,
                                                    MessageIcon::Question, MessageButtons::YesNo}));

    // Only a new application is left.
    QSignalSpy fresh(window.get(), &SelectionWindow::newApplicationRequested);
    state.loadExisting = true;
    click("cmdNueva");
    EXPECT_EQ(fresh.count(), 1);
    EXPECT_FALSE(state.loadExisting);
}

} // namespace
} // namespace velmora
