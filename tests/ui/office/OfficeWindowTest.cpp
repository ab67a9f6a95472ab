#include "ui/office/OfficeWindow.h"

#include "catalog/CatalogTables.h"
#include "office/ContestRules.h"
#include "office/PrintRecordFields.h"
#include "support/FakeMessageService.h"
#include "support/TempDir.h"
#include "ui/KeyboardAccess.h"
#include "ui/WindowDriver.h"
#include "ui/office/OfficeApplicationsModel.h"
#include "ui/office/OfficeFileChooser.h"
#include "ui/office/OfficeTexts.h"

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
#include <chrono>
#include <thread>

namespace velmora {
namespace {

// A reading that reports three of four pages, then waits until the test lets it finish or it
// is cancelled.
struct GatedReading : OfficeReading {
    struct Shared {
        std::atomic<bool> released = false, cancelled = false;
        std::thread::id thread;
        QStringList files;
        const ContestRules* contest = nullptr;
        OfficeReadOutcome outcome;
    };
    explicit GatedReading(Shared& shared) : shared(shared) {}

    OfficeReadOutcome read(const QStringList& files, const ProgressHandler& progress) override {
        shared.thread = std::this_thread::get_id();
        shared.files = files;
        for (int page = 1; page <= 3; ++page)
            progress(page, 4);
        while (!shared.released && !shared.cancelled)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        OfficeReadOutcome outcome = shared.outcome;
        outcome.cancelled = shared.cancelled;
        return outcome;
    }
    void cancel() override { shared.cancelled = true; }

    Shared& shared;
};

struct FakeChooser : OfficeFileChooser {
    QStringList scanFiles() override { return scans; }
    QString exportFolder() override { return exportTo; }
    QString installationFolder() override { return installation; }
    QString trustFolder() override { return {}; }

    QStringList scans;
    QString exportTo;
    QString installation;
};

OfficeApplication applicationOf(const QString& dni, const QString& body, const QString& group) {
    OfficeApplication application;
    application.id = dni + u'_' + body + u'_' + group;
    application.dni = dni;
    application.body = body;
    application.group = group;
    return application;
}

OfficeApplication readApplication() {
    OfficeApplication application = applicationOf(u"12345678Z"_s, u"00123"_s, u"A1"_s);
    application.hasFirstPage = true;
    for (int i = 0; i < kPrintRecordFieldCount; ++i)
        application.fields << QString();
    application.fields[record::Surname1 - 1] = u"Núñez"_s;
    application.fields[record::Surname1] = u"Pérez"_s;
    application.fields[record::Name - 1] = u"María José"_s;
    application.vacancies = {{1, u"V001"_s, 3}, {2, u"V007"_s, 3}};
    application.resultas = {{1, u"R010"_s, 4}};
    return application;
}

OfficeApplication applicationWithoutFirstPage() {
    OfficeApplication application = applicationOf(u"87654321X"_s, u"00200"_s, u"C2"_s);
    application.vacancies = {{1, u"V003"_s, 3}};
    application.problems = {{application.id, u"Falta la primera página"_s, u"página 1"_s}};
    return application;
}

OfficeReadOutcome batch() {
    OfficeReadOutcome outcome;
    outcome.applications = {readApplication(), applicationWithoutFirstPage()};
    outcome.fileProblems = {{u"lote.pdf, página 7"_s, u"Página sin código de barras"_s, {}}};
    outcome.files = 2;
    outcome.pages = 9;
    outcome.pagesWithoutBarcode = 1;
    return outcome;
}

QStringList rowTexts(const QAbstractItemModel& model, int row) {
    QStringList texts;
    for (int column = 0; column < model.columnCount(); ++column)
        texts << model.data(model.index(row, column)).toString();
    return texts;
}

class OfficeWindowTest : public ::testing::Test {
protected:
    OfficeWindowTest() {
        shared.outcome = batch();
        window = std::make_unique<OfficeWindow>(services());
        window->show();
    }

    ~OfficeWindowTest() override { shared.released = true; }

    OfficeWindowServices services() {
        return {messages, chooser,
                [this](const ContestRules* contest, const SignatureTrust*) {
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
                    return contestLoads ? std::make_shared<CatalogContestRules>(CatalogTables()) : nullptr;
                }};
    }

    template <typename T> T* control(const char* name) { return test::control<T>(window.get(), name); }

    void click(const char* name) { QTest::mouseClick(control<QPushButton>(name), Qt::LeftButton); }

    void readBatch() {
        window->addFiles({dir.write(u"a.pdf"_s, "%PDF"), dir.write(u"b.png"_s, "x")});
        click("cmdLeer");
        ASSERT_TRUE(
            QTest::qWaitFor([&] { return control<QLabel>("lblProgreso")->text() == "Página 3 de 4"; }));
        shared.released = true;
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

TEST_F(OfficeWindowTest, ReadsABatchOffTheInterfaceThread) {
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
    EXPECT_EQ(control<QLabel>("lblProgreso")->text(), u"Página 9 de 9"_s);
    EXPECT_TRUE(control<QPushButton>("cmdExportar")->isEnabled());
    EXPECT_FALSE(control<QPushButton>("cmdCancelar")->isEnabled());

    // Nothing selected: the files' problems.
    EXPECT_EQ(label->text(), u"Incidencias de los ficheros (1)"_s);
    EXPECT_EQ(problems->model()->index(0, 0).data().toString(), u"lote.pdf, página 7"_s);
    grid->selectRow(1);
    EXPECT_EQ(label->text(), u"Incidencias de la solicitud 87654321X_00200_C2"_s);
    ASSERT_EQ(problems->model()->rowCount(), 1);
    EXPECT_EQ(problems->model()->index(0, 1).data().toString(), u"Falta la primera página"_s);
    grid->selectRow(0);
    EXPECT_EQ(label->text(), u"La solicitud 12345678Z_00123_A1 está completa."_s);
    EXPECT_EQ(problems->model()->rowCount(), 0);
    click("cmdIncidenciasFicheros");
    EXPECT_EQ(label->text(), u"Incidencias de los ficheros (1)"_s);

    // The batch goes to the folder chosen, and the window says how it went.
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

// Tab leaves the tables for the buttons after them, as in the editor.
TEST_F(OfficeWindowTest, IsWalkedWithTabInTheOrderSeenWithEveryControlNamed) {
    readBatch();
    test::checkKeyboardAccess(window.get(), window.get(), u"frmOficina"_s);
}

TEST_F(OfficeWindowTest, KeepsAnsweringWhileReading) {
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

TEST_F(OfficeWindowTest, ClosingWhileReadingAsksFirst) {
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

TEST(OfficeTables, SumUpTheBatchApplicationByApplication) {
    OfficeApplicationsModel model;
    model.setApplications(batch().applications);
    ASSERT_EQ(model.rowCount(), 2);
    EXPECT_EQ(rowTexts(model, 0), (QStringList{"12345678Z_00123_A1", "12345678Z", "Núñez Pérez, María José",
                                               "00123", "A1", "2", "1", "Completa", "Sin firma"}));
    // Without the first page there is no name to show, but the key's pieces still are.
    EXPECT_EQ(rowTexts(model, 1), (QStringList{"87654321X_00200_C2", "87654321X", "", "00200", "C2", "1", "0",
                                               "Con incidencias", "Sin firma"}));
    EXPECT_TRUE(model.data(model.index(1, OfficeApplicationsModel::Status), Qt::ForegroundRole).isValid());
    EXPECT_FALSE(model.data(model.index(0, OfficeApplicationsModel::Status), Qt::ForegroundRole).isValid());
    EXPECT_EQ(model.application(2), nullptr);

    OfficeProblemsModel problems;
    problems.setProblems(batch().applications[1].problems);
    EXPECT_EQ(rowTexts(problems, 0),
              (QStringList{"87654321X_00200_C2", "Falta la primera página", "página 1"}));

    OfficeReadOutcome outcome = batch();
    EXPECT_EQ(officeSummaryText(outcome),
              QStringLiteral("2 solicitudes leídas: 1 completa, 1 con incidencias. "
                             "9 páginas de 2 ficheros, 1 sin código de barras."));
    OfficeReadOutcome one = outcome; // the first application is the complete one
    one.applications.resize(1);
    one.pages = 1;
    one.files = 1;
    EXPECT_EQ(officeSummaryText(one), QStringLiteral("1 solicitud leída: 1 completa, 0 con incidencias. "
                                                     "1 página de 1 fichero, 1 sin código de barras."));
    outcome.cancelled = true;
    EXPECT_TRUE(officeSummaryText(outcome).endsWith(u" Lectura cancelada: faltan páginas por leer."_s));
    EXPECT_EQ(officeProgressText(3, 40), u"Página 3 de 40"_s);
}

} // namespace
} // namespace velmora
