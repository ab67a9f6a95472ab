#include "app/RecoveryFile.h"
#include "catalog/SampleContest.h"
#include "editor/ControlName.h"
#include "platform/Clock.h"
#include "support/FakeMessageService.h"
#include "support/TempDir.h"
#include "ui/EditorFixture.h"
#include "ui/ListDriving.h"
#include "ui/ProgramController.h"

#include <QAbstractButton>
#include <QProcess>

#include <gtest/gtest.h>

namespace velmora::test {
namespace {

constexpr auto kChildFolder = "VELMORA_RECOVERY_CHILD";

// Signs in as a new applicant and goes through the loading window, as a person does, while
// `start` runs the program's first windows.
bool startSignedIn(ProgramController& controller) {
    EditorFixture::whenModal(u"frmUsuario"_s, [](QWidget* signIn) {
        control<QLineEdit>(signIn, ctl::txtDNI)->setText(QString::fromLatin1(EditorFixture::kDni));
        control<QPushButton>(signIn, u"cmdAceptarDNI"_s)->click();
    });
    EditorFixture::whenModal(
        u"frmProgreso"_s, [](QWidget* w) { control<QPushButton>(w, u"cmdContinuar"_s)->click(); },
        [](QWidget* w) { return control<QPushButton>(w, u"cmdContinuar"_s)->isEnabled(); });
    return controller.start();
}

// The child: edits until the parent kills it.
TEST(UnsavedWork, ChildEditsUntilKilled) {
    const QString folder = qEnvironmentVariable(kChildFolder);
    if (folder.isEmpty())
        GTEST_SKIP() << "runs only as the child process of the recovery test";
    FakeMessageService messages;
    SystemClock clock;
    ProgramController controller(folder, messages, clock);
    controller.setOpenWithDesktop(false);
    ASSERT_TRUE(startSignedIn(controller));
    EditorWindow* editor = controller.editor();
    ASSERT_NE(editor, nullptr);
    typeInto(editor, "txtApellido1", u"Recuperada"_s);
    typeInto(editor, "txtNombre", u"Ana"_s);
    ASSERT_TRUE(addSampleCourse(controller.state().tables.coursesList));
    QTest::qWait(120000);
    FAIL() << "the parent never killed this process";
}

TEST(UnsavedWork, KilledWhileEditingTheWorkComesBackAtTheNextSignIn) {
    TempDir dir;
    ASSERT_TRUE(writeSampleContest(dir.path(), SampleScale::Small, 7).ok());
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QLatin1String(kChildFolder), dir.path());
    child.setProcessEnvironment(environment);
    child.start(QCoreApplication::applicationFilePath(),
                {u"--gtest_filter=UnsavedWork.ChildEditsUntilKilled"_s});
    ASSERT_TRUE(child.waitForStarted());
    const RecoveryFile recovery(AppFolders::at(dir.path()).applications,
                                QString::fromLatin1(EditorFixture::kDni));
    for (int waited = 0; waited < 600 && !recovery.exists(); ++waited)
        QTest::qWait(100);
    child.kill(); // SIGKILL: nothing of the program runs after it
    child.waitForFinished();
    ASSERT_TRUE(recovery.exists()) << child.readAll().toStdString();

    FakeMessageService messages;
    FixedClock clock(QDateTime(QDate(2026, 3, 5), QTime(10, 0, 0)));
    ProgramController controller(dir.path(), messages, clock);
    controller.setOpenWithDesktop(false);
    ASSERT_TRUE(startSignedIn(controller));
    ASSERT_FALSE(messages.messages.empty());
    const auto& question = messages.messages.front();
    EXPECT_TRUE(question.text.startsWith(u"Se han encontrado cambios sin guardar de la solicitud del "_s))
        << question.text.toStdString();
    EXPECT_EQ(question.buttons, MessageButtons::YesNo);
    EditorWindow* editor = controller.editor();
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(control<QLineEdit>(editor, ctl::txtApellido1)->text(), u"Recuperada"_s);
    EXPECT_EQ(editor->model().text(ctl::txtNombre), u"Ana"_s);
    EXPECT_EQ(controller.state().tables.coursesList.recordCount(), 1);
    EXPECT_TRUE(recovery.exists()) << "kept until the work is saved or dropped";

    // Dropped at the close prompt: the file goes.
    messages.queueAnswer(MessageAnswer::No);
    editor->close();
    EXPECT_FALSE(recovery.exists());
}

} // namespace
} // namespace velmora::test
