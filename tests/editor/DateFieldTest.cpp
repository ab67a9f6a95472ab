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

// Leaving a date box: the text kept, and the message ("Fecha Errónea", OK; the focus goes back)
// whose title is given ("" for none).
TEST(DateField, LeavingChecksTheDateFrom1900ToTodayByTheClock) {
    ApplicationModel model;
    FixedClock clock{QDateTime(QDate(2024, 5, 10), QTime(9, 30))};
    const QString wrong = u"Formato de Fecha erróneo"_s;
    const std::tuple<ControlName, const char*, const char*, QString> cases[] = {
        {ctl::txtFecNacimiento, "31/02/2000", "31/02/2000", programTitle()},
        {ctl::txtFechaIngreso, "12/13/2000", "12/13/2000", wrong},
        {ctl::txtFechaSit, "12/13/2000", "12/13/2000", wrong},
        {ctl::txtFecPosesion, "12/13/2000", "12/13/2000", wrong},
        {ctl::txtFecNacimiento, "31/12/1899", "31/12/1899", wrong},
        {ctl::txtFechaIngreso, "11/5/2024", "11/05/2024", wrong}, // tomorrow
        {ctl::txtFecNacimiento, "1/1/1900", "01/01/1900", u""_s},
        {ctl::txtFecNacimiento, "10/05/2024", "10/05/2024", u""_s},
        {ctl::txtFecNacimiento, "", "", u""_s}};
    for (const auto& [field, typed, kept, title] : cases) {
        model.setText(field, QString::fromLatin1(typed));
        test::FakeMessageService messages;
        EXPECT_EQ(DateField::leave(model, field, clock, messages), !title.isEmpty()) << typed;
        EXPECT_EQ(model.text(field), QString::fromLatin1(kept)) << typed;
        if (title.isEmpty())
            EXPECT_TRUE(messages.messages.empty()) << typed;
        else
            EXPECT_EQ(messages.only(title, title == wrong ? MessageIcon::Exclamation : MessageIcon::None),
                      u"Fecha Errónea"_s)
                << typed;
    }
    clock.set(QDateTime(QDate(2024, 5, 11), QTime(0, 1)));
    model.setText(ctl::txtFechaIngreso, "11/5/2024");
    test::FakeMessageService messages;
    EXPECT_FALSE(DateField::leave(model, ctl::txtFechaIngreso, clock, messages))
        << "a valid date was refused";
}

} // namespace
} // namespace velmora
