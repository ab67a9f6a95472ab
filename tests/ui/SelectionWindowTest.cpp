#include "ui/SelectionWindow.h"

#include "app/RunState.h"
#include "applications/ApplicationFiles.h"
#include "platform/widgets/DataComboBox.h"
#include "support/FakeMessageService.h"
#include "support/TempDir.h"
#include "ui/WindowDriver.h"

#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>

#include <gtest/gtest.h>

namespace velmora {
namespace {

using test::control;
using test::FakeMessageService;
using test::TempDir;

const QString kFirst = QStringLiteral("12345678Z_12345B1.doc");
const QString kSecond = QStringLiteral("12345678Z__1234C1.doc");

// Two saved applications of the signed-in user, listed as start-up lists them.
class SelectionWindowTest : public ::testing::Test {
protected:
    SelectionWindowTest() {
        state.folders = AppFolders::at(dir.path());
        state.signedInDni = QStringLiteral("12345678Z");
        RecordSet& bodies = state.tables.bodies;
        EXPECT_TRUE(
            createTable(bodies, {{"CodCuerpo", ColumnType::Text, 5}, {"DescCuerpo", ColumnType::Text, 60}}));
        for (const QString& row : {QStringLiteral("12345|Enfermero/a"), QStringLiteral("1234|Celador/a")}) {
            EXPECT_TRUE(bodies.addNew());
            EXPECT_TRUE(bodies.setValue(u"CodCuerpo", row.section('|', 0, 0)));
            EXPECT_TRUE(bodies.setValue(u"DescCuerpo", row.section('|', 1, 1)));
        }
        for (const QString& name : {kFirst, kSecond}) {
            dir.write("ficheros/temp/" + name, "doc");
            dir.write("ficheros/temp/" + sidecarFileName(name), "xml");
        }
        EXPECT_EQ(
            listApplications(state.folders.applications, state.signedInDni, bodies, state.applicationFiles)
                .valueOr(-1),
            2);
        window = std::make_unique<SelectionWindow>(state, messages);
        EXPECT_TRUE(test::showActive(window.get()));
        combo = control<DataComboBox>(window.get(), "cboSolicitudes");
    }

    QPushButton* button(const char* name) { return control<QPushButton>(window.get(), name); }
    bool exists(const QString& name) const { return QFileInfo::exists(dir.file("ficheros/temp/" + name)); }

    TempDir dir;
    RunState state;
    FakeMessageService messages;
    std::unique_ptr<SelectionWindow> window;
    DataComboBox* combo = nullptr;
};

TEST_F(SelectionWindowTest, ListsTheApplicationsWithTheirColumns) {
    EXPECT_EQ(window->objectName(), QStringLiteral("frmSeleccion"));
    EXPECT_EQ(window->windowTitle(), QStringLiteral("CargarSolicitud"));
    EXPECT_EQ(control<QLabel>(window.get(), "Label1")->text(), QStringLiteral("Ficheros de Solicitudes"));
    EXPECT_EQ(button("cmdNueva")->text(), QStringLiteral("Solicitud Nueva"));
    EXPECT_EQ(button("cmdCargar")->text(), QStringLiteral("Cargar Solicitud"));
    EXPECT_EQ(button("cmdBorrar")->text(), QStringLiteral("Borrar Solicitud"));
    EXPECT_NE(window->findChild<QWidget*>("Frame1"), nullptr);

    EXPECT_EQ(combo->boundSet(), &state.applicationFiles);
    EXPECT_EQ(combo->keyColumn(), QStringLiteral("Fichero"));
    QStringList captions;
    for (const ColumnBinding& c : combo->listModel()->columns())
        captions << c.caption;
    EXPECT_EQ(captions, (QStringList{"DNI", "Categoría", "Grupo", "Fichero", "Descripción"}));
    EXPECT_EQ(combo->listModel()->rowCount(), 2);

    window->hideNewButton();
    EXPECT_FALSE(button("cmdNueva")->isVisible());
}

TEST_F(SelectionWindowTest, LoadingAsksForAChoiceThenNamesTheChosenFile) {
    QSignalSpy requested(window.get(), &SelectionWindow::applicationRequested);
    QTest::mouseClick(button("cmdCargar"), Qt::LeftButton);
    EXPECT_EQ(requested.count(), 0);
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0].text, QStringLiteral("Seleccione una Solicitud"));
    EXPECT_EQ(messages.messages[0].title, QStringLiteral("Solicitudes"));
    EXPECT_EQ(messages.messages[0].icon, MessageIcon::Exclamation);
    EXPECT_EQ(messages.messages[0].buttons, MessageButtons::Ok);

    combo->setValue(kSecond);
    ASSERT_EQ(combo->text(), QStringLiteral("12345678Z"));
    QTest::mouseClick(button("cmdCargar"), Qt::LeftButton);
    ASSERT_EQ(requested.count(), 1);
    EXPECT_EQ(requested.at(0).at(0).toString(), kSecond);
    EXPECT_EQ(state.selectedApplicationFile, kSecond);
    EXPECT_TRUE(state.loadExisting);
    EXPECT_EQ(messages.messages.size(), 1u);
}

TEST_F(SelectionWindowTest, NewApplicationAndClosingWithoutChoice) {
    QSignalSpy fresh(window.get(), &SelectionWindow::newApplicationRequested);
    QSignalSpy closed(window.get(), &SelectionWindow::closedWithoutChoice);
    state.loadExisting = true;
    QTest::mouseClick(button("cmdNueva"), Qt::LeftButton);
    EXPECT_EQ(fresh.count(), 1);
    EXPECT_FALSE(state.loadExisting);
    EXPECT_TRUE(state.selectedApplicationFile.isEmpty());

    SelectionWindow other(state, messages);
    QSignalSpy otherClosed(&other, &SelectionWindow::closedWithoutChoice);
    other.show();
    other.close();
    EXPECT_EQ(otherClosed.count(), 1);
    EXPECT_EQ(closed.count(), 0);
}

TEST_F(SelectionWindowTest, DeletingAsksListsAgainAndDisablesWhenNoneIsLeft) {
    combo->setValue(kFirst);
    messages.queueAnswer(MessageAnswer::No);
    QTest::mouseClick(button("cmdBorrar"), Qt::LeftButton);
    EXPECT_TRUE(exists(kFirst));
    EXPECT_EQ(combo->text(), QStringLiteral("12345678Z"));

    messages.queueAnswer(MessageAnswer::Yes);
    QTest::mouseClick(button("cmdBorrar"), Qt::LeftButton);
    EXPECT_FALSE(exists(kFirst));
    EXPECT_FALSE(exists(sidecarFileName(kFirst)));
    EXPECT_EQ(combo->listModel()->rowCount(), 1);
    EXPECT_EQ(combo->text(), QString());
    EXPECT_TRUE(button("cmdCargar")->isEnabled());

    // The last one, whose sidecar is gone already: deleted without a word, and only
    // "Solicitud Nueva" is left to press.
    ASSERT_TRUE(QFile::remove(dir.file("ficheros/temp/" + sidecarFileName(kSecond))));
    combo->setValue(kSecond);
    messages.queueAnswer(MessageAnswer::Yes);
    QTest::mouseClick(button("cmdBorrar"), Qt::LeftButton);
    EXPECT_FALSE(exists(kSecond));
    EXPECT_FALSE(button("cmdCargar")->isEnabled());
    EXPECT_FALSE(button("cmdBorrar")->isEnabled());
    EXPECT_FALSE(combo->isEnabled());
    EXPECT_TRUE(button("cmdNueva")->isEnabled());
    EXPECT_TRUE(state.selectedApplicationFile.isEmpty());

    EXPECT_EQ(messages.texts(), QStringList(3, QStringLiteral("¿Desea borrar esta solicitud?")));
    for (const auto& m : messages.messages) {
        EXPECT_EQ(m.title, QStringLiteral("Borrar"));
        EXPECT_EQ(m.icon, MessageIcon::Question);
        EXPECT_EQ(m.buttons, MessageButtons::YesNo);
    }
}

} // namespace
} // namespace velmora
