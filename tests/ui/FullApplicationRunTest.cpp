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
    const QString fileName = applicationFileName(dni, body, editor.model().value(ctl::cboGrupo), f.messages);
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

bool reachable(const QWidget* w) {
    return w->isVisible() && w->isEnabled() && (w->focusPolicy() & Qt::TabFocus) && !w->focusProxy();
}

// Whether `b` is seen after `a`: below it, or beside it on its right, comparing the blocks
// (frames, columns) that hold them side by side, so a frame is read through before the next.
bool seenAfter(const QWidget* a, const QWidget* b) {
    const QWidget* blockA = a;
    while (!blockA->parentWidget()->isAncestorOf(b))
        blockA = blockA->parentWidget();
    const QWidget* blockB = b;
    while (blockB->parentWidget() != blockA->parentWidget())
        blockB = blockB->parentWidget();
    const QRect ra = blockA->geometry(), rb = blockB->geometry();
    constexpr int kSlack = 4;
    const bool sameBand = rb.top() < ra.bottom() && ra.top() < rb.bottom();
    return rb.top() >= ra.bottom() - kSlack || (sameBand && rb.left() >= ra.right() - kSlack);
}

// What `owner` declares as its Tab order, walked with the Tab key in `window` as it stands:
// the reachable controls follow one another in the order they are seen, every reachable
// control is declared, Tab visits them in that order and comes round to the first, and every
// control that can take the focus, shown or not, has a name a screen reader says.
void checkKeyboardAccess(QWidget* window, QWidget* owner, const QString& where) {
    SCOPED_TRACE(where.toStdString());
    ASSERT_TRUE(showActive(window));
    settle();
    QStringList declared, unnamed, undeclared;
    QList<QWidget*> order;
    for (QWidget* w : declaredTabOrder(owner))
        if (reachable(w))
            order << w;
    ASSERT_FALSE(order.isEmpty());
    for (qsizetype i = 0; i < order.size(); ++i) {
        declared << order[i]->objectName();
        if (i > 0) {
            EXPECT_TRUE(seenAfter(order[i - 1], order[i]))
                << qPrintable(order[i]->objectName()) << " is seen before "
                << qPrintable(order[i - 1]->objectName());
        }
    }
    for (QWidget* w : window->findChildren<QWidget*>()) {
        if (!(w->focusPolicy() & Qt::TabFocus) || w->focusProxy() || w->window() != window)
            continue; // drop-down lists are windows of their own
        if (reachable(w) && !order.contains(w))
            undeclared << w->objectName();
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(w);
        if (!accessible || accessible->text(QAccessible::Name).trimmed().isEmpty())
            unnamed << w->objectName();
    }
    EXPECT_EQ(undeclared, QStringList());
    EXPECT_EQ(unnamed, QStringList());

    // Tab enters a group of exclusive option buttons once; the arrow keys move inside it.
    QStringList expected;
    for (qsizetype i = 0; i < order.size(); ++i) {
        const auto* option = qobject_cast<QRadioButton*>(order[i]);
        const auto* before = i > 0 ? qobject_cast<QRadioButton*>(order[i - 1]) : nullptr;
        if (!(option && before && option->autoExclusive() &&
              before->parentWidget() == option->parentWidget()))
            expected << order[i]->objectName();
    }
    order.first()->setFocus(Qt::TabFocusReason);
    QStringList walked;
    for (qsizetype i = 0; i <= expected.size(); ++i) {
        walked << focusName();
        pressKey(Qt::Key_Tab);
    }
    EXPECT_EQ(walked, expected + QStringList{expected.first()});
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

TEST(KeyboardAccess, EveryWindowAndTabIsWalkedInTheOrderSeenAndEveryControlIsNamedAndShownWhole) {
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
    auto* tabs = control<QTabWidget>(&editor, u"tabPrincipal"_s);
    for (int i = 0; i < tabs->count(); ++i) {
        tabs->setCurrentIndex(i);
        checkKeyboardAccess(&editor, &editor, tabs->tabText(i));
        expectNothingCutOff(tabs->widget(i));
    }
    EXPECT_TRUE(f.messages.messages.empty()) << f.messages.texts().join(u'|').toStdString();
}

} // namespace
} // namespace velmora::test
