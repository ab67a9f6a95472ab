#include "editor/DateField.h"

#include "editor/ApplicationModel.h"
#include "platform/Clock.h"
#include "support/FakeMessageService.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

TEST(DateField, TypedDigitsGetTheSlashesAndDatesTheirFullForm) {
    QString text;
    for (const QChar digit : u"12031980"_s)
        text = DateField::afterKeyRelease(text + digit, true);
    EXPECT_EQ(text, "12/03/1980");
    EXPECT_EQ(DateField::afterKeyRelease("12", false), "12"); // Backspace, arrows, ...

    EXPECT_EQ(DateField::normalised("1/2/1990"), "01/02/1990");
    EXPECT_EQ(DateField::normalised(" 5-11-1971 "), "05/11/1971");
    for (const char* notADate : {"31/02/2000", "29/02/1900", "12/03/80", "12/03/", "1/2-1990", "hoy"})
        EXPECT_EQ(DateField::normalised(notADate), notADate);
}

class DateLeaveTest : public ::testing::Test {
protected:
    // Leaves `field` with `text`; answers the text left in the box. A message shown (always
    // "Fecha Errónea" with OK, and the focus goes back) leaves its title and icon here.
    QString leave(ControlName field, const QString& text) {
        model.setText(field, text);
        title.clear();
        icon = MessageIcon::Information;
        test::FakeMessageService messages;
        const bool focusBack = DateField::leave(model, field, clock, messages);
        EXPECT_EQ(focusBack, !messages.messages.empty());
        if (!messages.messages.empty()) {
            EXPECT_EQ(messages.texts(), QStringList{"Fecha Errónea"});
            EXPECT_EQ(messages.messages[0].buttons, MessageButtons::Ok);
            title = messages.messages[0].title;
            icon = messages.messages[0].icon;
        }
        return model.text(field);
    }

    ApplicationModel model;
    FixedClock clock{QDateTime(QDate(2024, 5, 10), QTime(9, 30))};
    QString title;
    MessageIcon icon = MessageIcon::Information;
};

TEST_F(DateLeaveTest, NotADateIsToldPerFieldAndOutOfRangeAlike) {
    EXPECT_EQ(leave(ctl::txtFecNacimiento, "31/02/2000"), "31/02/2000");
    EXPECT_EQ(title, programTitle());
    EXPECT_EQ(icon, MessageIcon::None);
    for (ControlName field : {ctl::txtFechaIngreso, ctl::txtFechaSit, ctl::txtFecPosesion}) {
        leave(field, "12/13/2000");
        EXPECT_EQ(title, "Formato de Fecha erróneo");
        EXPECT_EQ(icon, MessageIcon::Exclamation);
    }
    EXPECT_EQ(leave(ctl::txtFecNacimiento, "31/12/1899"), "31/12/1899");
    EXPECT_EQ(title, "Formato de Fecha erróneo");
    EXPECT_EQ(icon, MessageIcon::Exclamation);
    EXPECT_EQ(leave(ctl::txtFechaIngreso, "11/5/2024"), "11/05/2024"); // tomorrow
    EXPECT_EQ(title, "Formato de Fecha erróneo");
}

TEST_F(DateLeaveTest, AcceptsFrom1900ToTodayFromTheClock) {
    for (const auto& [typed, shown] :
         {std::pair{"1/1/1900", "01/01/1900"}, {"10/05/2024", "10/05/2024"}, {"", ""}}) {
        EXPECT_EQ(leave(ctl::txtFecNacimiento, typed), shown);
        EXPECT_EQ(title, "") << typed;
    }
    clock.set(QDateTime(QDate(2024, 5, 11), QTime(0, 1)));
    EXPECT_EQ(leave(ctl::txtFechaIngreso, "11/5/2024"), "11/05/2024");
    EXPECT_EQ(title, "") << "a valid date was refused";
}

} // namespace
} // namespace velmora
