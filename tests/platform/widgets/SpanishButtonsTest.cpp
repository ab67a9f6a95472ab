#include "platform/widgets/QtMessageService.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>

#include <gtest/gtest.h>

using namespace velmora;

// A real box, as the program shows it: Qt's Spanish translation gives its buttons their names.

TEST(SpanishButtons, RealMessageBoxReadsSiNoCancelar) {
    QtMessageService service;
    QStringList captions;
    QString title, text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        title = box->windowTitle();
        text = box->text();
        icon = box->icon();
        for (auto which : {QMessageBox::Yes, QMessageBox::No, QMessageBox::Cancel})
            captions << box->button(which)->text().remove(QLatin1Char('&'));
        box->button(QMessageBox::No)->click();
    });
    const MessageAnswer answer =
        service.show(u"¿Desea guardar?"_s, u"Guardar"_s, MessageIcon::Question, MessageButtons::YesNoCancel);
    EXPECT_EQ(captions, (QStringList{"Sí", "No", "Cancelar"}));
    EXPECT_EQ(title, u"Guardar"_s);
    EXPECT_EQ(text, u"¿Desea guardar?"_s);
    EXPECT_EQ(icon, QMessageBox::Question);
    EXPECT_EQ(answer, MessageAnswer::No);
}
