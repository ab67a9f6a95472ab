#include "ui/editor/CoursesPanel.h"
#include "ui/editor/DocumentsPanel.h"
#include "ui/editor/ResultasPanel.h"
#include "ui/editor/VacanciesPanel.h"

#include "app/LoadedTables.h"
#include "app/LoadingSequence.h"
#include "platform/MessageService.h"
#include "platform/widgets/DataComboBox.h"
#include "platform/widgets/DataGrid.h"
#include "support/ContestFixture.h"
#include "support/FakeMessageService.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

#include <gtest/gtest.h>

namespace velmora {
namespace {

// The control names of a page in the order Tab visits them.
QStringList tabOrder(QWidget* page, const QStringList& names) {
    QStringList order;
    QWidget* first = page->findChild<QWidget*>(names.first());
    QWidget* widget = first;
    do {
        if (names.contains(widget->objectName()) && !order.contains(widget->objectName()) &&
            (widget->focusPolicy() & Qt::TabFocus))
            order << widget->objectName();
        widget = widget->nextInFocusChain();
    } while (widget && widget != first);
    return order;
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

TEST(ListPanelsLook, ReadWellOnTheSampleContest) {
    test::ContestFixture contest(SampleScale::Realistic);
    LoadedTables tables;
    SilentMessageService silent;
    ASSERT_TRUE(loadInstallation(contest.folders(), tables, silent).loaded);
    const BodyPositions* body = nullptr;
    for (const BodyPositions& entry : tables.bodyPositions)
        if (entry.offeredOnly && !entry.isEmpty() && entry.vacancy->recordCount() > 0) {
            body = &entry;
            break;
        }
    ASSERT_NE(body, nullptr);
    auto areasCopy = tables.areas.clone();
    auto zonesCopy = tables.zones.clone();

    test::FakeMessageService messages;
    QTabWidget tabs;
    auto* courses = new CoursesPanel(tables.coursesList, messages);
    auto* vacancies = new VacanciesPanel({tables.vacancyList, *body->vacancy, tables.provinces,
                                          tables.localities2, tables.departments, tables.areas, tables.zones},
                                         messages);
    auto* resultas = new ResultasPanel({tables.resultasList, *body->resultas, tables.provinces,
                                        tables.localities3, tables.departments2, *areasCopy, *zonesCopy},
                                       messages);
    auto* documents = new DocumentsPanel(tables.documentsList, messages);
    tabs.addTab(new QWidget, QStringLiteral(" Datos Personales"));
    tabs.addTab(courses, QStringLiteral("Cursos"));
    tabs.addTab(vacancies, QStringLiteral("Plazas Vacantes"));
    tabs.addTab(resultas, QStringLiteral("Plazas Resultas"));
    tabs.addTab(documents, QStringLiteral("Cursos Realizados"));
    courses->gridLabel()->setText(QStringLiteral("CURSOS DE FORMACIÓN DE FUNCIONARIOS (Base tercera 4.)"));
    vacancies->gridLabel()->setText(QStringLiteral("PUESTOS DE TRABAJO SOLICITADOS PLAZAS VACANTES"));
    resultas->gridLabel()->setText(QStringLiteral("PUESTOS DE TRABAJO SOLICITADOS PLAZAS RESULTAS"));
    documents->gridLabel()->setText(QStringLiteral("DOCUMENTACIÓN QUE APORTA"));
    vacancies->categoryLabel()->setText(QStringLiteral("Cuerpo: ") + body->bodyCode);
    vacancies->updateCandidateCount();

    vacancies->insertAll();
    resultas->insertAll();
    courses->findChild<QLineEdit*>("txtCurso")->setText(QStringLiteral("Soporte vital avanzado"));
    courses->findChild<QLineEdit*>("txtHoras")->setText(QStringLiteral("40"));
    courses->findChild<QLineEdit*>("txtAno")->setText(QStringLiteral("2019"));
    courses->findChild<QLineEdit*>("txtCentro")->setText(QStringLiteral("Escuela de Salud Pública"));
    courses->accept();
    documents->findChild<QLineEdit*>("txtDoc")->setText(QStringLiteral("Certificado de servicios prestados"));
    documents->accept();
    ASSERT_TRUE(messages.messages.empty()) << messages.texts().join('|').toStdString();
    EXPECT_GT(tables.vacancyList.recordCount(), 0);

    tabs.resize(1024, 720);
    tabs.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&tabs));
    for (int index = 1; index < tabs.count(); ++index) {
        tabs.setCurrentIndex(index);
        QCoreApplication::processEvents();
        SCOPED_TRACE(tabs.tabText(index).toStdString());
        expectNothingCutOff(tabs.widget(index));
    }

    const QStringList courseOrder = {"grdCursos", "cmdAdd", "cmdDel",    "cmdUpdate",  "txtCurso",
                                     "txtHoras",  "txtAno", "txtCentro", "cmdAceptar", "cmdCancelar"};
    EXPECT_EQ(tabOrder(courses, courseOrder), courseOrder);
    const QStringList vacancyOrder = {
        "grdVacantes",      "cmdAddVacante",        "cmdTodasVacantes",      "cmdDelVacante",
        "cmdUpdateVacante", "cboProvinciaVacantes", "cboConsejeriaVacantes", "cboLocalidadVacantes",
        "cboAreasVacantes", "cboZonasVacantes",     "txtCodVacante",         "cboPuestoVacante",
        "txtOrdenVacante",  "txtDemPlaza",          "cmdAceptarVacante",     "cmdCancelarVacante"};
    EXPECT_EQ(tabOrder(vacancies, vacancyOrder), vacancyOrder);
}

} // namespace
} // namespace velmora
