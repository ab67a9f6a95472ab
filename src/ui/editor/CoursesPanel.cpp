#include "ui/editor/CoursesPanel.h"

#include "applications/ApplicationColumns.h"
#include "editor/HandListChecks.h"
#include "platform/MessageService.h"

#include <QEvent>
#include <QFocusEvent>
#include <QLineEdit>
#include <QScopedValueRollback>

namespace velmora {
namespace {

HandListPanel::Layout coursesLayout() {
    HandListPanel::Layout layout;
    layout.tabIndex = 1;
    layout.grid = QStringLiteral("grdCursos");
    layout.section = QStringLiteral("Cursos de formación");
    layout.gridCaption = QStringLiteral("Cursos de Formación de Funcionarios");
    layout.gridColumns = {{col::Courses::Curso, QStringLiteral("Curso"), 5200},
                          {col::Courses::NHoras, QStringLiteral("Horas"), 900},
                          {col::Courses::Ano, QStringLiteral("Año"), 900},
                          {col::Courses::Centro, QStringLiteral("Centro"), 4200},
                          {col::Courses::IdCurso, col::Courses::IdCurso, 900}};
    layout.hiddenColumns = {col::Courses::IdCurso};
    layout.frame = QStringLiteral("Frame4");
    layout.frameTitle = QStringLiteral("Datos del curso");
    layout.add = QStringLiteral("cmdAdd");
    layout.remove = QStringLiteral("cmdDel");
    layout.modify = QStringLiteral("cmdUpdate");
    layout.accept = QStringLiteral("cmdAceptar");
    layout.cancel = QStringLiteral("cmdCancelar");
    layout.idColumn = col::Courses::IdCurso;
    layout.idBox = QStringLiteral("txtIdCurso");
    layout.fields = {
        {col::Courses::Curso, QStringLiteral("txtCurso"), QStringLiteral("Curso"), 100, false},
        {col::Courses::NHoras, QStringLiteral("txtHoras"), QStringLiteral("Nº de Horas"), 6, true},
        {col::Courses::Ano, QStringLiteral("txtAno"), QStringLiteral("Año"), 4, true},
        {col::Courses::Centro, QStringLiteral("txtCentro"), QStringLiteral("Centro"), 100, false}};
    return layout;
}

} // namespace

CoursesPanel::CoursesPanel(RecordSet& courses, MessageService& messages, QWidget* parent)
    : HandListPanel(courses, messages, coursesLayout(), parent), m_hours(box(QStringLiteral("txtHoras"))),
      m_year(box(QStringLiteral("txtAno"))) {
    m_hours->installEventFilter(this);
    m_year->installEventFilter(this);
}

bool CoursesPanel::checkNumberBox(QLineEdit* numberBox) {
    const Status ok = numberBox == m_hours ? checkCourseHours(numberBox->text())
                                           : checkCourseYear(numberBox->text(), m_clock->now().date().year());
    if (!ok) {
        messages().tell(ok.error());
        numberBox->clear();
        numberBox->setFocus();
    }
    return ok.ok();
}

bool CoursesPanel::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusOut && !m_checking) {
        // Focus lost to a message box or a menu is no leaving of the box: checking then would
        // show the message again and again.
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) {
            m_checking = true;
            checkNumberBox(static_cast<QLineEdit*>(watched));
            m_checking = false;
        }
    }
    return HandListPanel::eventFilter(watched, event);
}

bool CoursesPanel::checkFields() {
    const CourseFields fields{fieldText(0), fieldText(1), fieldText(2), fieldText(3)};
    if (const Status complete = ValidaCurso(fields); !complete) {
        messages().tell(complete.error());
        return false;
    }
    // The boxes are checked when left; a click on "Aceptar" while one still holds a number
    // the column cannot take must not store it.
    QScopedValueRollback guard(m_checking, true);
    return checkNumberBox(m_hours) && checkNumberBox(m_year);
}

} // namespace velmora
