#include "ui/office/OfficeWindow.h"

#include "office/ContestRules.h"
#include "ui/office/OfficeFileChooser.h"

#include "support/FakeMessageService.h"
#include "support/TempDir.h"
#include "ui/WindowDriver.h"

#include <QLabel>
#include <QListWidget>
#include <QMimeData>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>
#include <QUrl>

#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace velmora {
namespace {

// A reading that reports its pages, then waits until the test lets it finish or it is cancelled.
class GatedReading : public OfficeReading {
public:
    struct Shared {
        std::mutex mutex;
        std::condition_variable wake;
        bool released = false;
        bool cancelled = false;
        std::thread::id thread;
        QStringList files;
        const ContestRules* contest = nullptr;
        OfficeReadOutcome outcome;
        int pages = 3;

        void release() {
            std::lock_guard lock(mutex);
            released = true;
            wake.notify_all();
        }
    };

    explicit GatedReading(Shared& shared) : m_shared(shared) {}

    OfficeReadOutcome read(const QStringList& files, const ProgressHandler& progress) override {
        m_shared.thread = std::this_thread::get_id();
        m_shared.files = files;
        for (int page = 1; page <= m_shared.pages; ++page)
            progress(page, m_shared.pages + 1);
        std::unique_lock lock(m_shared.mutex);
        m_shared.wake.wait(lock, [&] { return m_shared.released || m_shared.cancelled; });
        OfficeReadOutcome outcome = m_shared.outcome;
        outcome.cancelled = m_shared.cancelled;
        return outcome;
    }

    void cancel() override {
        std::lock_guard lock(m_shared.mutex);
        m_shared.cancelled = true;
        m_shared.wake.notify_all();
    }

private:
    Shared& m_shared;
};

class FakeChooser : public OfficeFileChooser {
public:
    QStringList scanFiles() override { return scans; }
    QString exportFolder() override { return exportTo; }
    QString installationFolder() override { return installation; }

    QStringList scans;
    QString exportTo;
    QString installation;
};

class NoRules : public ContestRules {
public:
    bool knowsBody(const QString&) const override { return false; }
    bool knowsGroup(const QString&) const override { return false; }
    bool offersVacancy(const QString&, const QString&) const override { return false; }
    bool offersResultas(const QString&, const QString&) const override { return false; }
};

OfficeApplication application(const QString& id, std::vector<OfficeProblem> problems = {}) {
    OfficeApplication read;
    read.id = id;
    read.dni = id.left(9);
    read.problems = std::move(problems);
    return read;
}

class OfficeWindowTest : public ::testing::Test {
protected:
    OfficeWindowTest() {
        shared.outcome.applications = {
            application(u"12345678Z_00123_A1"_s),
            application(u"87654321X_00200_C2"_s,
                        {{u"87654321X_00200_C2"_s, u"Página repetida"_s, u"página 4"_s}})};
        shared.outcome.fileProblems = {{u"b.png, página 1"_s, u"Página sin código de barras"_s, {}}};
        shared.outcome.files = 2;
        shared.outcome.pages = 4;
        shared.outcome.pagesWithoutBarcode = 1;
        window = std::make_unique<OfficeWindow>(services());
        window->show();
    }

    ~OfficeWindowTest() override { shared.release(); }

    OfficeWindowServices services() {
        return {messages, chooser,
                [this](const ContestRules* contest) {
                    shared.contest = contest;
                    return std::make_unique<GatedReading>(shared);
                },
                [this](const OfficeReadOutcome& outcome, const QString& folder) -> Status {
                    exported << folder;
                    exportedApplications = int(outcome.applications.size());
                    return exportResult;
                },
                [this](const QString& folder, MessageService&) -> std::shared_ptr<const ContestRules> {
                    loadedFolders << folder;
                    return contestLoads ? std::make_shared<NoRules>() : nullptr;
                }};
    }

    template <typename T> T* control(const char* name) { return test::control<T>(window.get(), name); }

    void click(const char* name) { QTest::mouseClick(control<QPushButton>(name), Qt::LeftButton); }

    void readBatch() {
        window->addFiles({dir.write(u"a.pdf"_s, "%PDF"), dir.write(u"b.png"_s, "x")});
        click("cmdLeer");
        ASSERT_TRUE(
            QTest::qWaitFor([&] { return control<QLabel>("lblProgreso")->text() == "Página 3 de 4"; }));
        shared.release();
        ASSERT_TRUE(QTest::qWaitFor([&] { return !window->reading(); }));
    }

    test::TempDir dir;
    test::FakeMessageService messages;
    FakeChooser chooser;
    GatedReading::Shared shared;
    QStringList exported;
    int exportedApplications = -1;
    Status exportResult;
    QStringList loadedFolders;
    bool contestLoads = true;
    std::unique_ptr<OfficeWindow> window;
};

TEST_F(OfficeWindowTest, CollectsFilesChosenOrDroppedOnceEach) {
    EXPECT_FALSE(control<QPushButton>("cmdLeer")->isEnabled());
    EXPECT_FALSE(control<QPushButton>("cmdExportar")->isEnabled());
    EXPECT_TRUE(window->acceptDrops());

    const QString a = dir.write(u"a.pdf"_s, "%PDF");
    const QString b = dir.write(u"lote/b.png"_s, "x");
    const QString c = dir.write(u"lote/c.tif"_s, "x");
    chooser.scans = {a, a};
    click("cmdAnadir");
    EXPECT_EQ(window->files(), QStringList{a});

    QMimeData text;
    text.setText(u"12345678Z"_s);
    QDragEnterEvent refused(QPoint(10, 10), Qt::CopyAction, &text, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window.get(), &refused);
    EXPECT_FALSE(refused.isAccepted()) << "only files may be dropped";

    // A dropped folder stands for the files in it; files already listed are not added again.
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(dir.file(u"lote"_s)), QUrl::fromLocalFile(a)});
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window.get(), &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window.get(), &drop);
    EXPECT_EQ(window->files(), (QStringList{a, b, c}));
    EXPECT_TRUE(control<QPushButton>("cmdLeer")->isEnabled());

    control<QListWidget>("lstFicheros")->item(1)->setSelected(true);
    click("cmdQuitar");
    EXPECT_EQ(window->files(), (QStringList{a, c}));
    EXPECT_TRUE(messages.messages.empty());
}

TEST_F(OfficeWindowTest, ReadsOffTheInterfaceThreadThenListsApplicationsAndTheirProblems) {
    readBatch();
    EXPECT_NE(shared.thread, std::this_thread::get_id());
    EXPECT_EQ(shared.files.size(), 2);
    EXPECT_EQ(shared.contest, nullptr);

    auto* grid = control<QTableView>("grdSolicitudes");
    auto* problems = control<QTableView>("grdIncidencias");
    auto* label = control<QLabel>("lblIncidencias");
    // What the rows and the summary say is OfficeTables'.
    ASSERT_EQ(grid->model()->rowCount(), 2);
    EXPECT_TRUE(control<QLabel>("lblResumen")->text().startsWith(u"2 solicitudes leídas"_s));
    EXPECT_EQ(control<QLabel>("lblProgreso")->text(), u"Página 4 de 4"_s);
    EXPECT_TRUE(control<QPushButton>("cmdExportar")->isEnabled());
    EXPECT_FALSE(control<QPushButton>("cmdCancelar")->isEnabled());

    // Nothing selected: the files' problems.
    EXPECT_EQ(label->text(), u"Incidencias de los ficheros (1)"_s);
    EXPECT_EQ(problems->model()->index(0, 0).data().toString(), u"b.png, página 1"_s);
    grid->selectRow(1);
    EXPECT_EQ(label->text(), u"Incidencias de la solicitud 87654321X_00200_C2"_s);
    ASSERT_EQ(problems->model()->rowCount(), 1);
    EXPECT_EQ(problems->model()->index(0, 1).data().toString(), u"Página repetida"_s);
    grid->selectRow(0);
    EXPECT_EQ(label->text(), u"La solicitud 12345678Z_00123_A1 está completa."_s);
    EXPECT_EQ(problems->model()->rowCount(), 0);
    click("cmdIncidenciasFicheros");
    EXPECT_EQ(label->text(), u"Incidencias de los ficheros (1)"_s);
}

TEST_F(OfficeWindowTest, KeepsAnsweringWhileReadingAndCancelsOnRequest) {
    EXPECT_FALSE(control<QPushButton>("cmdLeer")->isEnabled());
    window->startReading(); // as --leer does with no files given
    EXPECT_EQ(messages.only(u"Velmora - Oficina"_s, MessageIcon::Exclamation),
              u"Añada antes los ficheros que desea leer."_s);

    window->addFiles({dir.write(u"a.pdf"_s, "%PDF")});
    click("cmdLeer");
    ASSERT_TRUE(QTest::qWaitFor([&] { return control<QProgressBar>("prgLectura")->value() == 3; }));
    EXPECT_EQ(control<QProgressBar>("prgLectura")->maximum(), 4);
    EXPECT_TRUE(window->reading());
    for (const char* name : {"cmdLeer", "cmdAnadir", "cmdQuitar", "cmdConcurso", "cmdExportar"})
        EXPECT_FALSE(control<QPushButton>(name)->isEnabled()) << name;

    click("cmdCancelar");
    ASSERT_TRUE(QTest::qWaitFor([&] { return !window->reading(); }));
    EXPECT_TRUE(window->outcome().cancelled);
    EXPECT_EQ(control<QLabel>("lblProgreso")->text(), u"Cancelada"_s);
    EXPECT_TRUE(control<QPushButton>("cmdLeer")->isEnabled());
}

TEST_F(OfficeWindowTest, ClosingWhileReadingAsksAndStopsTheReading) {
    window->addFiles({dir.write(u"a.pdf"_s, "%PDF")});
    click("cmdLeer");
    ASSERT_TRUE(QTest::qWaitFor([&] { return control<QProgressBar>("prgLectura")->value() == 3; }));
    messages.queueAnswer(MessageAnswer::No);
    EXPECT_FALSE(window->close());
    EXPECT_TRUE(window->reading());
    messages.queueAnswer(MessageAnswer::Yes);
    EXPECT_TRUE(window->close());
    EXPECT_FALSE(window->reading());
    EXPECT_TRUE(shared.cancelled);
    EXPECT_EQ(messages.messages,
              std::vector(
                  2, test::FakeMessageService::Message{
                         u"Se están leyendo los ficheros. ¿Desea cancelar la lectura y cerrar la ventana?"_s,
                         u"Velmora - Oficina"_s, MessageIcon::Question, MessageButtons::YesNo}));
}

TEST_F(OfficeWindowTest, ExportsTheBatchToTheChosenFolderAndSaysHowItWent) {
    readBatch();
    chooser.exportTo.clear(); // the user gives up in the dialog
    click("cmdExportar");
    EXPECT_TRUE(exported.isEmpty());

    chooser.exportTo = dir.file(u"csv"_s);
    click("cmdExportar");
    EXPECT_EQ(exported, QStringList{chooser.exportTo});
    EXPECT_EQ(exportedApplications, 2);
    exportResult = Error::make(ErrorCode::FileAccess, u"disco lleno"_s);
    click("cmdExportar");
    ASSERT_EQ(messages.messages.size(), 2u);
    EXPECT_EQ(messages.messages[0].text, QStringLiteral("Se han escrito solicitudes.csv, vacantes.csv, "
                                                        "resultas.csv e incidencias.csv en %1.")
                                             .arg(QDir::toNativeSeparators(chooser.exportTo)));
    EXPECT_EQ(messages.messages[0].icon, MessageIcon::Information);
    EXPECT_EQ(messages.messages[1],
              (test::FakeMessageService::Message{u"No se han podido exportar las solicitudes: disco lleno"_s,
                                                 u"Velmora - Oficina"_s, MessageIcon::Critical}));
}

TEST_F(OfficeWindowTest, ChecksAgainstTheContestOnlyOnceItLoads) {
    auto* label = control<QLabel>("lblConcurso");
    QSignalSpy remembered(window.get(), &OfficeWindow::contestLoaded);
    const QString noContest = label->text();
    EXPECT_EQ(noContest, u"Sin concurso: no se comprueban el cuerpo, el grupo ni las plazas."_s);
    chooser.installation = dir.file(u"roto"_s);
    contestLoads = false;
    click("cmdConcurso");
    EXPECT_EQ(label->text(), noContest);

    chooser.installation = dir.path();
    contestLoads = true;
    click("cmdConcurso");
    EXPECT_EQ(loadedFolders, (QStringList{dir.file(u"roto"_s), dir.path()}));
    EXPECT_EQ(label->text(), u"Concurso: %1"_s.arg(QDir::toNativeSeparators(dir.path())));
    ASSERT_EQ(remembered.size(), 1) << "only a contest that loaded is kept for the next run";
    EXPECT_EQ(remembered.front().front().toString(), dir.path());
    readBatch();
    EXPECT_NE(shared.contest, nullptr) << "the reading gets the loaded contest's rules";
}

} // namespace
} // namespace velmora
