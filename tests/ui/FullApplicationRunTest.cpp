#include "app/SampleInstallation.h"

#include "applications/ApplicationFiles.h"
#include "catalog/PositionLookup.h"
#include "editor/ControlName.h"
#include "platform/AppFolders.h"
#include "platform/Clock.h"
#include "platform/widgets/TabOrder.h"
#include "support/PreferenceListFixture.h"
#include "support/TempDir.h"
#include "ui/EditorFixture.h"
#include "ui/GuidedWalk.h"
#include "ui/KeyboardAccess.h"
#include "ui/LoadingWindow.h"
#include "ui/ManualViewer.h"
#include "ui/PasswordWindow.h"
#include "ui/PreviewWindow.h"
#include "ui/ProgramController.h"
#include "ui/SelectionWindow.h"
#include "ui/SignInWindow.h"
#include "ui/SigningWindow.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QAction>
#include <QButtonGroup>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QHeaderView>
#include <QLabel>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyleOptionFrame>
#include <QTabWidget>

#include <gtest/gtest.h>

namespace velmora::test {
namespace {

// The first body (its group fixed by it) offering more positions than the run asks for.
QString roomyBody(const CatalogTables& tables, int vacancies, int resultas) {
    auto bodies = tables.bodies.clone();
    for (int row = 0; row < bodies->recordCount(); ++row) {
        const QString code = bodies->textAt(row, bodies->columnIndex(u"CodCuerpo"));
        const BodyPositions* entry = findBodyPositions(tables.bodyPositions, code, true);
        if (!code.startsWith(QLatin1Char('X')) && entry && entry->vacancy &&
            entry->vacancy->recordCount() > vacancies && entry->resultas->recordCount() > resultas)
            return code;
    }
    return {};
}

// Row of `code` in the list of `box` (its current view).
int listRow(const DataComboBox* box, const QString& code) {
    for (int row = 0; row < box->listModel()->rowCount(); ++row)
        if (box->listModel()->text(row, box->keyColumn()) == code)
            return row;
    return -1;
}

// Tab enters an option group once (at its checked button, or its first); the arrow keys move
// within it and Space picks.
bool pickOption(QWidget* window, const char* name) {
    auto* wanted = control<QRadioButton>(window, QLatin1String(name));
    const auto inGroup = [wanted] {
        auto* focus = qobject_cast<QRadioButton*>(QApplication::focusWidget());
        return focus && focus->group() && focus->group() == wanted->group();
    };
    for (int i = 0; i < 150 && !inGroup(); ++i)
        pressKey(Qt::Key_Tab);
    for (int i = 0; i < 4 && inGroup() && focusName() != QLatin1String(name); ++i)
        pressKey(Qt::Key_Right);
    pressKey(Qt::Key_Space);
    return wanted->isChecked();
}

// The whole application without the mouse: every step is a key pressed where the focus is
// (the window system only hands the keyboard back to the editor when a list has closed).
TEST(FullApplicationRun, KeyboardOnlyFromSignInToThePrintout) {
    EditorFixture f;
    const QString dni = QString::fromLatin1(EditorFixture::kDni);
    ProgramController controller(f.dir.path(), f.messages, f.clock);
    controller.setOpenWithDesktop(false);
    f.whenModal(QStringLiteral("frmUsuario"), [&](QWidget* w) {
        activate(w);   // a new window takes the keyboard, as on a desktop
        typeKeys(dni); // the ninth character moves on to the accept button
        EXPECT_EQ(focusName(), "cmdAceptarDNI");
        f.whenModal(
            QStringLiteral("frmProgreso"),
            [](QWidget* w) {
                activate(w);
                EXPECT_EQ(focusName(), "cmdContinuar");
                pressKey(Qt::Key_Return);
            },
            [](QWidget* w) { return control<QWidget>(w, "cmdContinuar")->isEnabled(); });
        pressKey(Qt::Key_Return);
    });
    // A barcode picture, with an applicant's data, that a print cut short left an hour ago.
    QFile leftover(f.applicationsFile(u"2024030508000000.bmp"_s));
    ASSERT_TRUE(leftover.open(QIODevice::WriteOnly));
    ASSERT_TRUE(leftover.setFileTime(f.clock.now().addSecs(-3600), QFileDevice::FileModificationTime));
    leftover.close();
    ASSERT_TRUE(controller.start());
    EXPECT_FALSE(leftover.exists()) << "removed when the program starts";
    EditorWindow& editor = *controller.editor();
    const QString pdf = QDir(f.dir.path()).filePath(QStringLiteral("teclado.pdf"));
    editor.setPrintDestination(docengine::PrintDestination::Pdf, pdf);
    activate(&editor);

    ASSERT_EQ(focusName(), "txtApellido1");
    for (const char* text :
         {"García", "Núñez", "María José", "12031980", "954123456", "Calle Mayor, 12", "Valdeluz"}) {
        typeKeys(QString::fromUtf8(text));
        pressKey(Qt::Key_Tab); // the DNI box holds the signed-in DNI and is passed by
    }
    ASSERT_EQ(focusName(), "cboProvincia");
    pressKey(Qt::Key_Down); // the first province, and its code in the postal code
    activate(&editor);
    EXPECT_FALSE(editor.model().text(ctl::txtCP).isEmpty());
    for (const char* option : {"optDiscNo", "optVoluntario", "optPetConyugeNo"})
        ASSERT_TRUE(pickOption(&editor, option)) << option;
    ASSERT_TRUE(tabTo(ctl::cboCuerpo));
    DataComboBox* bodies = dropDown(&editor, "cboCuerpo");
    const QString body = roomyBody(controller.state().tables, 3, 1);
    ASSERT_FALSE(body.isEmpty());
    pressKey(Qt::Key_Down, Qt::AltModifier);
    pressKey(Qt::Key_Home, Qt::ControlModifier);
    for (int row = listRow(bodies, body); row > 0; --row)
        pressKey(Qt::Key_Down);
    pressKey(Qt::Key_Return);
    activate(&editor);
    ASSERT_EQ(editor.model().value(ctl::cboCuerpo), body);
    for (const char* option : {"optActivo", "OptNo"})
        ASSERT_TRUE(pickOption(&editor, option)) << option;

    // Vacancies: one by its typed code, then all the others; the arrow keys pick grid rows.
    ASSERT_TRUE(tabTo(QStringLiteral("qt_tabwidget_tabbar")));
    pressKey(Qt::Key_Right);
    pressKey(Qt::Key_Right);
    auto& lists = controller.state().tables;
    QStringList offered = listedCodes(dropDown(&editor, "cboPuestoVacante")).values();
    std::sort(offered.begin(), offered.end()); // the candidates' order
    ASSERT_TRUE(tabTo(QStringLiteral("txtCodVacante")));
    typeKeys(offered[1]);
    pressKey(Qt::Key_Tab); // the code picks its position and moves on to "Aceptar"
    EXPECT_EQ(focusName(), "cmdAceptarVacante");
    pressKey(Qt::Key_Space);
    ASSERT_TRUE(tabTo(QStringLiteral("cmdTodasVacantes"), Qt::Key_Backtab));
    pressKey(Qt::Key_Space);
    QStringList vacancies = offered;
    vacancies.move(1, 0);
    EXPECT_EQ(codesByOrder(lists.vacancyList), vacancies);
    ASSERT_TRUE(tabTo(QStringLiteral("grdVacantes"), Qt::Key_Backtab));
    auto* grid = control<DataGrid>(&editor, QStringLiteral("grdVacantes"));
    pressKey(Qt::Key_Down);
    pressKey(Qt::Key_Down);
    pressKey(Qt::Key_Up);
    EXPECT_EQ(grid->selectedRowIds(), QList<qint64>{grid->recordModel()->rowIdAt(1)});

    // A course on "Cursos".
    ASSERT_TRUE(tabTo(QStringLiteral("qt_tabwidget_tabbar"), Qt::Key_Backtab));
    pressKey(Qt::Key_Left);
    ASSERT_TRUE(tabTo(QStringLiteral("cmdAdd")));
    pressKey(Qt::Key_Space);
    for (const char* text : {"Soporte vital avanzado", "20", "2019", "Escuela de Salud"}) {
        typeKeys(QString::fromUtf8(text));
        pressKey(Qt::Key_Tab);
    }
    ASSERT_EQ(focusName(), "cmdAceptar");
    pressKey(Qt::Key_Space);
    EXPECT_EQ(lists.coursesList.recordCount(), 1);

    // Alt+G saves; a new user sets a password first. Alt+I prints.
    f.whenModal(QStringLiteral("frmCreaPwd"), [](QWidget* w) {
        activate(w);
        EXPECT_EQ(control<QLineEdit>(w, u"txtPwd(0)"_s)->echoMode(), QLineEdit::Password);
        EXPECT_TRUE(control<QLabel>(w, u"lblMotivo"_s)->text().startsWith(u"La contraseña protege sus"_s));
        typeKeys(QStringLiteral("secreto"));
        pressKey(Qt::Key_Tab);
        typeKeys(QStringLiteral("secreto"));
        pressKey(Qt::Key_Return);
    });
    pressKey(Qt::Key_G, Qt::AltModifier);
    EXPECT_TRUE(controller.users().ExisteUsuario(dni));
    const QString fileName = applicationFileName(dni, body, editor.model().value(ctl::cboGrupo));
    EXPECT_TRUE(QFile::exists(f.applicationsFile(fileName))) << fileName.toStdString();
    EXPECT_TRUE(f.messages.messages.empty()) << f.messages.texts().join(u'|').toStdString();
    activate(&editor); // the password window has closed: the editor has the keyboard again
    pressKey(Qt::Key_I, Qt::AltModifier);
    EXPECT_TRUE(QFile::exists(pdf));
    ASSERT_EQ(f.messages.messages.size(), 1u);
    EXPECT_TRUE(f.messages.messages[0].text.contains(QStringLiteral("teclado.pdf")));
}

QStringList g_qtMessages;
void keepQtMessage(QtMsgType, const QMessageLogContext&, const QString& text) {
    g_qtMessages << text;
}

// The scripted walk tells the truth in its exit status: a step that failed fails the walk.
// The exit status tells a failure from a person who chose to leave.
TEST(FullApplicationRun, ExitStatusIsNonZeroOnlyWhenAFailureEndsTheProgram) {
    for (const bool damagedStore : {true, false}) {
        SCOPED_TRACE(damagedStore ? "damaged user store" : "sign-in left");
        EditorFixture f;
        if (damagedStore)
            f.dir.write(u"usuarios.xml"_s, "<Usuarios><Usuario><DNI>");
        else
            f.whenModal(u"frmUsuario"_s, [](QWidget* w) { control<QPushButton>(w, "cmdSalir")->click(); });
        ProgramController controller(f.dir.path(), f.messages, f.clock);
        EXPECT_EQ(controller.run() != 0, damagedStore);
        EXPECT_EQ(f.messages.messages.size(), damagedStore ? 1u : 0u);
    }
}

TEST(GuidedWalk, ASaveThatFailsMakesTheWalkFail) {
    test::TempDir dir;
    ASSERT_TRUE(writeSampleInstallation(dir.path(), SampleScale::Small, 7).ok());
    // A file where the applications folder should be: every save of the walk fails.
    const QString applications = AppFolders::at(dir.path()).applications;
    ASSERT_TRUE(QDir(applications).removeRecursively());
    dir.write(QDir(dir.path()).relativeFilePath(QDir::cleanPath(applications)), "no es una carpeta");
    SystemClock clock;
    EXPECT_NE(runGuidedWalk(dir.path(), clock), 0);
}

// What the offscreen window system cannot do for a window ("This plugin does not support
// raise()") does not break up the walk's Spanish steps.
TEST(GuidedWalk, KeepsTheOffscreenPlatformsNoticesOffItsSteps) {
    test::TempDir dir;
    ASSERT_TRUE(writeSampleInstallation(dir.path(), SampleScale::Small, 7).ok());
    SystemClock clock;
    const QtMessageHandler before = qInstallMessageHandler(keepQtMessage);
    EXPECT_EQ(runGuidedWalk(dir.path(), clock), 0);
    qInstallMessageHandler(before);
    EXPECT_EQ(g_qtMessages.filter(u"This plugin does not support"_s), QStringList());
}

// Every shown caption, button and box of the page has at least the room it asks for.
void expectNothingCutOff(QWidget* page) {
    for (QWidget* widget : page->findChildren<QWidget*>()) {
        if (!widget->isVisible() || widget->objectName().isEmpty())
            continue;
        const auto* label = qobject_cast<QLabel*>(widget);
        int wanted = 0;
        if (label && !label->wordWrap())
            wanted = label->sizeHint().width();
        else if (qobject_cast<QAbstractButton*>(widget))
            wanted = widget->sizeHint().width();
        else if (qobject_cast<QLineEdit*>(widget) || qobject_cast<QComboBox*>(widget))
            wanted = widget->minimumSizeHint().width();
        EXPECT_GE(widget->width(), wanted) << widget->objectName().toStdString();
    }
    for (DataGrid* grid : page->findChildren<DataGrid*>()) {
        const QHeaderView* header = grid->horizontalHeader();
        for (int column = 0; column < header->count(); ++column) {
            const QString caption = grid->model()->headerData(column, Qt::Horizontal).toString();
            if (header->isSectionHidden(column))
                continue;
            EXPECT_GE(header->sectionSize(column), header->fontMetrics().horizontalAdvance(caption) + 6)
                << grid->objectName().toStdString() << " " << caption.toStdString();
        }
    }
}

// Escape leaves a dialog as its "Salir" (or "Cerrar") does: closed, nothing accepted.
void checkEscapeLeaves(QDialog& dialog) {
    ASSERT_TRUE(showActive(&dialog));
    pressKey(Qt::Key_Escape);
    EXPECT_FALSE(dialog.isVisible()) << qPrintable(dialog.objectName());
    EXPECT_EQ(dialog.result(), QDialog::Rejected) << qPrintable(dialog.objectName());
}

TEST(KeyboardAccess, EveryWindowIsWalkedInTheOrderSeenWithNamedWholeControls) {
    EditorFixture f;
    {
        LoadingWindow loading(f.state.folders, f.state.tables, f.messages);
        loading.show();
        ASSERT_TRUE(QTest::qWaitFor([&] { return loading.isLoaded(); }));
        checkKeyboardAccess(&loading, &loading, u"frmProgreso"_s);
    }
    SelectionWindow selection(f.state, f.messages);
    checkKeyboardAccess(&selection, &selection, u"frmSeleccion"_s);
    selection.close();
    SignInWindow signIn(f.users, f.messages, f.state);
    checkKeyboardAccess(&signIn, &signIn, u"frmUsuario"_s);
    checkEscapeLeaves(signIn);
    PasswordWindow password(f.users, f.messages);
    password.setStrDNI(QString::fromLatin1(EditorFixture::kDni));
    checkKeyboardAccess(&password, &password, u"frmCreaPwd"_s);
    checkEscapeLeaves(password);
    EXPECT_FALSE(f.users.ExisteUsuario(QString::fromLatin1(EditorFixture::kDni)));
    EXPECT_TRUE(f.messages.messages.empty()) << f.messages.texts().join(u'|').toStdString();
    ManualViewer manual(QDir(f.dir.path()).filePath(u"no-hay-manual.doc"_s), f.messages);
    checkKeyboardAccess(&manual, &manual, u"manual"_s);
    checkEscapeLeaves(manual);
    f.messages.messages.clear(); // the manual was missing
    PreviewWindow preview(nullptr);
    checkKeyboardAccess(&preview, &preview, QStringLiteral("frmVistaPrevia"));
    checkEscapeLeaves(preview);
    SigningWindow signing({f.messages, f.signing, {}, {}, {}, f.dir.file(u"sin-certificados"_s)});
    checkKeyboardAccess(&signing, &signing, u"frmFirma"_s);
    checkEscapeLeaves(signing);

    EditorWindow& editor = f.openEditor();
    ASSERT_NE(f.pickBody(), nullptr);
    press(&editor, "cmdTodasVacantes"); // a grid with rows
    auto* tabs = control<QTabWidget>(&editor, u"tabPrincipal"_s);
    for (int i = 0; i < tabs->count(); ++i) {
        tabs->setCurrentIndex(i);
        checkKeyboardAccess(&editor, &editor, tabs->tabText(i));
        expectNothingCutOff(tabs->widget(i));
    }
    EXPECT_TRUE(f.messages.messages.empty()) << f.messages.texts().join(u'|').toStdString();
}

// The width a text box (or a drop-down's box) lays its text out in.
int textRoom(QWidget* box) {
    auto* combo = qobject_cast<QComboBox*>(box);
    QLineEdit* edit = combo ? combo->lineEdit() : qobject_cast<QLineEdit*>(box);
    QStyleOptionFrame frame;
    frame.initFrom(edit);
    frame.lineWidth =
        edit->hasFrame() ? edit->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &frame, edit) : 0;
    const QMargins margins = edit->textMargins();
    constexpr int kTextMargin = 2; // QLineEdit's own, each side
    return edit->style()->subElementRect(QStyle::SE_LineEditContents, &frame, edit).width() - margins.left() -
           margins.right() - 2 * kTextMargin;
}

// An office screen of 1366×768 at 100 %, 125 % and 150 % (the window's size in the pixels the
// layout counts, less the frame): the first tab fits its width and every box shows its usual
// content whole.
TEST(ScreenFit, TheFirstTabFitsTheScreenWidthWithEveryBoxShowingItsUsualContent) {
    EditorFixture f;
    EditorWindow& editor = f.openEditor();
    control<QRadioButton>(&editor, u"OptSi"_s)->click(); // the current post's boxes shown
    QString province;                                    // the longest name
    const RecordSet& provinces = f.state.tables.provinces;
    for (int row = 0; row < provinces.recordCount(); ++row)
        if (const QString name = provinces.textAt(row, provinces.columnIndex(u"Provincia"));
            name.size() > province.size())
            province = name;
    // Each box with the text it usually holds.
    const std::pair<QString, QStringList> boxes[] = {
        {u"00/00/0000"_s, {u"txtFecNacimiento"_s, u"txtFechaIngreso"_s, u"txtFecPosesion"_s}},
        {u"12345678Z"_s, {u"txtDNI"_s}},
        {u"00000"_s, {u"txtCP"_s}},
        {u"954123456"_s, {u"txtTelefono"_s}},
        {province,
         {u"cboProvincia"_s, u"cboPrefArea"_s, u"cboPrefLocalidad"_s, u"cboPrefProvincia"_s,
          u"txtProvinciaPuesto"_s, u"txtLocalidadPuesto"_s, u"txtPuesto"_s, u"txtDemarDest"_s,
          u"cboProvinciasIxa"_s, u"cboAreaIxa"_s, u"cboZBSIxa"_s, u"cboLocalidadesIxa"_s}}};
    for (const double scale : {1.0, 1.25, 1.5}) {
        SCOPED_TRACE(scale);
        editor.resize((QSizeF(1366, 768) / scale).toSize() - QSize(16, 40));
        settle();
        EXPECT_FALSE(control<QScrollArea>(&editor, u"tabPrincipal(0)"_s)->horizontalScrollBar()->isVisible());
        for (const auto& [text, names] : boxes)
            for (const QString& name : names) {
                QWidget* box = control<QWidget>(&editor, name);
                EXPECT_TRUE(box->isVisible()) << qPrintable(name);
                EXPECT_GE(textRoom(box), box->fontMetrics().horizontalAdvance(text))
                    << qPrintable(name) << " " << qPrintable(text);
            }
    }
}

// At 150 % of 1366×768 a page is taller than the window: a control given the focus (after
// picking, by a panel) is scrolled to.
TEST(ScreenFit, TheControlTakingTheFocusIsScrolledIntoView) {
    EditorFixture f;
    EditorWindow& editor = f.openEditor();
    editor.resize((QSizeF(1366, 768) / 1.5).toSize() - QSize(16, 40));
    activate(&editor);
    control<QRadioButton>(&editor, u"OptSi"_s)->click();
    auto* page = control<QScrollArea>(&editor, u"tabPrincipal(0)"_s);
    for (const char* name : {"txtLocaDest", "txtApellido1"}) {
        QWidget* box = control<QWidget>(&editor, QString::fromLatin1(name));
        box->setFocus();
        settle();
        EXPECT_TRUE(
            page->viewport()->rect().contains(QRect(box->mapTo(page->viewport(), QPoint()), box->size())))
            << name;
    }
}

} // namespace
} // namespace velmora::test
