#include "ui/SignInWindow.h"

#include "app/LoadedTables.h"
#include "app/RunState.h"
#include "applications/ApplicationFiles.h"
#include "catalog/CatalogLoader.h"
#include "editor/ControlName.h"
#include "platform/widgets/DataComboBox.h"
#include "support/ContestFixture.h"
#include "support/FakeMessageService.h"
#include "support/TempDir.h"
#include "ui/GeneralProgressWindow.h"
#include "ui/LoadingWindow.h"
#include "ui/SelectionWindow.h"
#include "ui/WindowDriver.h"
#include "users/UserStore.h"

#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>

#include <gtest/gtest.h>

#include <limits>

namespace velmora {
namespace {

using test::control;
using test::focusName;
using test::settle;

const QString kKnownDni = u"12345678Z"_s;

// The sign-in window over a store that knows one DNI, whose password is "SECRETO1".
class SignInWindowTest : public ::testing::Test {
protected:
    SignInWindowTest() {
        UserStore setUp(dir.path());
        EXPECT_TRUE(setUp.AbreUsuarios());
        EXPECT_TRUE(setUp.AltaUsuario(kKnownDni, u"SECRETO1"_s));
        window = std::make_unique<SignInWindow>(store, messages, state);
        EXPECT_TRUE(window->isUsable());
        EXPECT_TRUE(test::showActive(window.get()));
        dni = control<QLineEdit>(window.get(), "txtDNI");
        pwd = control<QLineEdit>(window.get(), "txtPwd");
        acceptDni = control<QPushButton>(window.get(), "cmdAceptarDNI");
        dni->setFocus();
    }

    test::TempDir dir;
    test::FakeMessageService messages;
    UserStore store{dir.path()};
    RunState state;
    std::unique_ptr<SignInWindow> window;
    QLineEdit* dni = nullptr;
    QLineEdit* pwd = nullptr;
    QPushButton* acceptDni = nullptr;
};

// The ninth character moving on and Enter signing a new user in are the keyboard walk's
// (FullApplicationRun.KeyboardOnlyFromSignInToThePrintout); separators kept out are DniLineEdit's.
TEST_F(SignInWindowTest, AnInvalidDniIsReportedWhereverItIsConfirmed) {
    // Press and release come apart, as from a real mouse: whatever the focus change queued
    // runs in between, and must not eat the click.
    QTest::keyClicks(dni, u"1234"_s);
    QTest::mousePress(acceptDni, Qt::LeftButton);
    EXPECT_EQ(focusName(), u"cmdAceptarDNI"_s);
    settle();
    QTest::mouseRelease(acceptDni, Qt::LeftButton);
    settle();
    EXPECT_EQ(messages.texts(), (QStringList{"DNI no válido", "El DNI introducido no es válido"}));
    EXPECT_EQ(dni->text(), u"000001234"_s);

    // Nine wrong characters: checked once as the focus leaves, then emptied with the focus
    // back in the box; nothing more happens until the user acts.
    messages.messages.clear();
    dni->selectAll();
    QTest::keyClicks(dni, u"12345678A"_s);
    settle();
    settle();
    EXPECT_EQ(messages.texts(), QStringList{"DNI no válido"});
    EXPECT_EQ(dni->text(), QString());
    EXPECT_EQ(focusName(), ctl::txtDNI);

    // An empty box can be left for "Salir" without a word; leaving does not sign in.
    QTest::mouseClick(control<QPushButton>(window.get(), "cmdSalir"), Qt::LeftButton);
    settle();
    EXPECT_EQ(messages.messages.size(), 1u);
    EXPECT_FALSE(window->isVisible());
    EXPECT_FALSE(state.signedIn);
}

TEST_F(SignInWindowTest, KnownUserSignsInWithThePasswordInAnyCase) {
    QTest::keyClicks(dni, kKnownDni);
    settle();
    QTest::mouseClick(acceptDni, Qt::LeftButton);
    EXPECT_TRUE(pwd->isVisible() && control<QLabel>(window.get(), "lblPwd")->isVisible());
    EXPECT_EQ(pwd->echoMode(), QLineEdit::Password);
    EXPECT_FALSE(dni->isEnabled());
    EXPECT_EQ(focusName(), u"txtPwd"_s);
    EXPECT_TRUE(state.hasPassword);

    QTest::keyClick(pwd, Qt::Key_Return); // empty: the default button is now cmdAceptarPwd
    QTest::keyClicks(pwd, u"otra"_s);
    QTest::keyClick(pwd, Qt::Key_Return);
    EXPECT_EQ(messages.messages.size(), 2u) << "which messages is SignInFlowTest's";
    EXPECT_EQ(pwd->text(), u"otra"_s) << "the password box keeps its text";
    EXPECT_FALSE(state.signedIn);

    pwd->clear();
    QTest::keyClicks(pwd, u"Secreto1"_s);
    QTest::mouseClick(control<QPushButton>(window.get(), "cmdAceptarPwd"), Qt::LeftButton);
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(state.signedIn);
    EXPECT_EQ(state.signedInDni, kKnownDni);
}

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
    const QDateTime saved = QFileInfo(dir.file("ficheros/temp/" + kSecond)).lastModified();
    EXPECT_EQ(combo->lineEdit()->text(), "12345678Z · 54321 · " + saved.toString("dd/MM/yyyy HH:mm"));
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

TEST_F(SelectionWindowTest, DeletingAsksFirstThenListsWhatIsLeft) {
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

class LoadingWindowTest : public ::testing::Test {
protected:
    LoadingWindowTest() {
        CatalogLoader loader(contest.folders().data);
        EXPECT_TRUE(loader.buildBodies(tables.bodies));
        QObject::connect(&window, &LoadingWindow::loadingFinished, [this] { finished = true; });
    }

    test::ContestFixture contest;
    LoadedTables tables;
    test::FakeMessageService messages;
    LoadingWindow window{contest.folders(), tables, messages};
    bool finished = false;
};

TEST_F(LoadingWindowTest, LoadingRunsToAFullBarWithoutBeingClosed) {
    auto* bar = control<QProgressBar>(&window, "prg");
    auto* next = control<QPushButton>(&window, "cmdContinuar");
    EXPECT_FALSE(next->isEnabled());

    // Once the caption is set the sequence runs; the user's attempts to close are handled at
    // its next pause, while it still loads.
    bool closed = true, visible = false, enabled = true;
    int barValue = -1;
    QObject::connect(&window, &QWidget::windowTitleChanged, &window, [&] {
        QMetaObject::invokeMethod(
            &window,
            [&] {
                closed = window.close();
                QTest::keyClick(&window, Qt::Key_Escape);
                visible = window.isVisible();
                enabled = next->isEnabled();
                barValue = bar->value();
            },
            Qt::QueuedConnection);
    });
    window.show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return finished; }, 20000));
    EXPECT_FALSE(closed);
    EXPECT_TRUE(visible);
    EXPECT_FALSE(enabled);
    EXPECT_GT(barValue, 0) << "the bar moves while loading";

    // The texts and the bar's steps are LoadingSequenceTest's; here the window showing them.
    EXPECT_FALSE(control<QLabel>(&window, "lblTitulo")->text().isEmpty());
    EXPECT_EQ(bar->value(), bar->maximum());
    EXPECT_TRUE(next->isEnabled());
    EXPECT_TRUE(messages.messages.empty());

    QTest::mouseClick(next, Qt::LeftButton);
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(window.result(), QDialog::Accepted);
}

TEST_F(LoadingWindowTest, ClosesItselfAfterALoadingError) {
    contest.removeCatalogue("F0015.enc");
    EXPECT_EQ(window.exec(), QDialog::Rejected);
    EXPECT_TRUE(finished);
    EXPECT_FALSE(window.isLoaded());
    EXPECT_FALSE(window.endsProgram());
    EXPECT_EQ(window.outcome().failedStep, 13);
}

TEST(GeneralProgressWindow, ShowsTheActionWithoutBlockingWithinItsBar) {
    QWidget owner;
    owner.show();
    GeneralProgressWindow window(&owner);
    auto* label = test::control<QLabel>(&window, "lblAccion");
    auto* bar = test::control<QProgressBar>(&window, "prgBar");
    EXPECT_EQ(label->text(), u"Guadando datos ..."_s);
    EXPECT_FALSE(window.isVisible()) << "shown only once an action starts";

    ProgressWindow& progress = window; // as saving drives it
    progress.showAction(u"Guardando Datos ..."_s);
    EXPECT_TRUE(window.isVisible());
    EXPECT_TRUE(window.isWindow());
    EXPECT_FALSE(window.isModal());
    EXPECT_EQ(label->text(), u"Guardando Datos ..."_s);
    progress.setMaximum(324.4f);
    progress.setValue(100.6f);
    EXPECT_EQ(bar->maximum(), 324);
    EXPECT_EQ(bar->value(), 101);
    progress.advance(1000); // past the end: a full bar, not an out-of-range value
    EXPECT_EQ(bar->value(), 324);
    progress.setValue(-5);
    EXPECT_EQ(bar->value(), 0);
    EXPECT_EQ(ProgressBarUpdater::units(std::numeric_limits<float>::quiet_NaN()), 0);
    EXPECT_EQ(ProgressBarUpdater::units(1e12f), std::numeric_limits<int>::max());
    progress.unload();
    EXPECT_FALSE(window.isVisible());
}

} // namespace
} // namespace velmora
