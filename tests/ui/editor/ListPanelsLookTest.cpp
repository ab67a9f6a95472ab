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
    tabs.addTab(new QWidget, u" Datos Personales"_s);
    tabs.addTab(courses, u"Cursos"_s);
    tabs.addTab(vacancies, u"Plazas Vacantes"_s);
    tabs.addTab(resultas, u"Plazas Resultas"_s);
    tabs.addTab(documents, u"Cursos Realizados"_s);
    courses->gridLabel()->setText(u"CURSOS DE FORMACIÓN DE FUNCIONARIOS (Base tercera 4.)"_s);
    vacancies->gridLabel()->setText(u"PUESTOS DE TRABAJO SOLICITADOS PLAZAS VACANTES"_s);
    resultas->gridLabel()->setText(u"PUESTOS DE TRABAJO SOLICITADOS PLAZAS RESULTAS"_s);
    documents->gridLabel()->setText(u"DOCUMENTACIÓN QUE APORTA"_s);
    vacancies->categoryLabel()->setText(u"Cuerpo: "_s + body->bodyCode);
    vacancies->updateCandidateCount();

    vacancies->insertAll();
    resultas->insertAll();
    courses->findChild<QLineEdit*>("txtCurso")->setText(u"Soporte vital avanzado"_s);
    courses->findChild<QLineEdit*>("txtHoras")->setText(u"40"_s);
    courses->findChild<QLineEdit*>("txtAno")->setText(u"2019"_s);
    courses->findChild<QLineEdit*>("txtCentro")->setText(u"Escuela de Salud Pública"_s);
    courses->accept();
    documents->findChild<QLineEdit*>("txtDoc")->setText(u"Certificado de servicios prestados"_s);
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
}

} // namespace
} // namespace velmora
