#pragma once

#include "platform/Clock.h"
#include "ui/editor/HandListPanel.h"

namespace velmora {

// The "Cursos" tab: the applicant's training courses (grdCursos over the courses list) and
// their edit panel Frame4. Hours and year are whole numbers, checked when their box is left.
class CoursesPanel : public HandListPanel {
    Q_OBJECT
public:
    CoursesPanel(RecordSet& courses, MessageService& messages, QWidget* parent = nullptr);

    // The year check accepts years up to the clock's current one (the system clock by default).
    void setClock(const Clock& clock) { m_clock = &clock; }

protected:
    bool checkFields() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool checkNumberBox(QLineEdit* box);

    SystemClock m_systemClock;
    const Clock* m_clock = &m_systemClock;
    QLineEdit* m_hours;
    QLineEdit* m_year;
    bool m_checking = false;
};

} // namespace velmora
