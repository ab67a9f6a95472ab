#pragma once

#include "app/LoadingSequence.h"
#include "catalog/CatalogLoader.h"
#include "catalog/PositionLookup.h"
#include "catalog/SampleContest.h"
#include "platform/Clock.h"
#include "printing/PrintingWordProcessor.h"
#include "printing/TemplateWriter.h"
#include "support/FakeMessageService.h"
#include "support/PendingAnswers.h"
#include "support/SharedTemplates.h"
#include "support/TableRows.h"
#include "support/TempDir.h"
#include "ui/EditorWindow.h"
#include "ui/ListDriving.h"
#include "ui/SigningDialogs.h"
#include "users/UserStore.h"

#include <QDir>
#include <QElapsedTimer>
#include <QPointer>
#include <QTimer>

#include <functional>
#include <memory>

namespace velmora::test {

// Answers the signing window's dialogs as a test sets them; a kept file is asked for once.
struct AnsweredSigningDialogs : SigningDialogs {
    QString file, folder, keepAs, proposed;
    std::optional<QString> filePassword;
    QString certificateFile() override { return file; }
    std::optional<QString> password(const QString&) override { return filePassword; }
    QString databaseFolder(const QString&) override { return folder; }
    QString signedFile(const QString& offered) override {
        proposed = offered;
        return std::exchange(keepAs, {});
    }
};

// A small contest installed in a scratch folder with the templates of its key, loaded as
// start-up loads it, a user signed in, and an editor over it whose messages are scripted.
class EditorFixture {
public:
    static constexpr auto kDni = "12345678Z";

    explicit EditorFixture(SampleScale scale = SampleScale::Small)
        : clock(QDateTime(QDate(2026, 3, 5), QTime(10, 0, 0))), users(dir.path()) {
        EXPECT_TRUE(writeSampleContest(dir.path(), scale, 7).ok());
        state.folders = AppFolders::at(dir.path());
        QDir().mkpath(state.folders.applications);
        EXPECT_TRUE(copySharedTemplates(state.folders.data));
        EXPECT_TRUE(loadInstallation(state.folders, state.tables).loaded);
        EXPECT_TRUE(users.AbreUsuarios());
        state.signedIn = true;
        state.signedInDni = QString::fromLatin1(kDni);
    }

    EditorWindow& openEditor() {
        editor = std::make_unique<EditorWindow>(
            EditorServices{state, messages, clock, users, printing, false, &signing});
        editor->setPrintDestination(docengine::PrintDestination::Pdf,
                                    QDir(dir.path()).filePath(u"impreso.pdf"_s));
        editor->show();
        editor->setSignedInDni(state.signedInDni);
        settle();
        return *editor;
    }

    // Picks with the Down key, in the open editor, the first body that fixes its group (its code
    // does not start with "X") and whose offered positions pass `wanted`; those, or nullptr.
    const BodyPositions* pickBody(std::function<bool(const BodyPositions&)> wanted = {}) {
        auto* body = control<DataComboBox>(editor.get(), u"cboCuerpo"_s);
        body->setFocus();
        for (int i = 0; i < 50; ++i) {
            QTest::keyClick(body, Qt::Key_Down);
            settle();
            const BodyPositions* entry = findBodyPositions(state.tables.bodyPositions, body->value(), true);
            if (!body->value().startsWith(u'X') && entry && entry->vacancy && (!wanted || wanted(*entry)))
                return entry;
        }
        return nullptr;
    }

    // Runs `act` on the modal window named `name` as soon as it is shown (before `trigger`
    // returns); `ready`, when given, must hold as well (a window whose work runs from its own
    // loop). Fails the test when it never appears, or stays open after `act` (its keys went
    // elsewhere on a loaded machine): after a minute, so that a loaded machine is waited for,
    // closing the window, so that the run never hangs.
    static void whenModal(const QString& name, std::function<void(QWidget*)> act,
                          std::function<bool(QWidget*)> ready = {}) {
        auto* timer = new QTimer(qApp);
        timer->setObjectName(kPendingAnswer + name); // dropped when the test ends (GuiTestMain)
        timer->setInterval(10);
        auto waited = std::make_shared<QElapsedTimer>();
        waited->start();
        QObject::connect(timer, &QTimer::timeout, timer, [timer, name, act, ready, waited] {
            QWidget* w = QApplication::activeModalWidget();
            const bool shown = w && w->objectName() == name && (!ready || ready(w));
            if (!shown && waited->elapsed() < 60000)
                return;
            timer->stop();
            timer->deleteLater();
            if (shown) {
                act(w);
                auto* closing = new QTimer(qApp);
                closing->setObjectName(kPendingCheck + name);
                closing->setSingleShot(true);
                QObject::connect(closing, &QTimer::timeout, closing,
                                 [closing, stillShown = QPointer<QWidget>(w), name] {
                                     closing->deleteLater();
                                     if (!stillShown || !stillShown->isVisible())
                                         return;
                                     ADD_FAILURE() << "the window " << qPrintable(name) << " stayed open";
                                     stillShown->close();
                                 });
                closing->start(60000);
                return;
            }
            ADD_FAILURE() << "the window " << qPrintable(name) << " did not appear";
            if (w)
                w->close();
        });
        timer->start();
    }

    // Types the same new password twice when the first save asks for one (and then leaves the
    // window with "Salir", for when it stays open).
    void createPasswordWhenAsked(bool thenLeave = false) {
        whenModal(u"frmCreaPwd"_s, [thenLeave](QWidget* w) {
            QTest::keyClicks(control<QLineEdit>(w, u"txtPwd(0)"_s), u"secreto"_s);
            QTest::keyClicks(control<QLineEdit>(w, u"txtPwd(1)"_s), u"secreto"_s);
            QTest::mouseClick(control<QWidget>(w, u"cmdAceptar"_s), Qt::LeftButton);
            if (thenLeave)
                QTest::mouseClick(control<QWidget>(w, u"cmdSalir"_s), Qt::LeftButton);
        });
    }

    QString applicationsFile(const QString& name) const {
        return QDir(state.folders.applications).filePath(name);
    }

    TempDir dir;
    FakeMessageService messages;
    FixedClock clock;
    RunState state;
    UserStore users;
    PrintingWordProcessor printing;
    AnsweredSigningDialogs signing;
    std::unique_ptr<EditorWindow> editor;
};

} // namespace velmora::test
