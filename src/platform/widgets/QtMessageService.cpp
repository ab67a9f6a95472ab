#include "platform/widgets/QtMessageService.h"

#include <QApplication>
#include <QMessageBox>

namespace velmora {
namespace {

QMessageBox::Icon qtIcon(MessageIcon icon) {
    switch (icon) {
    case MessageIcon::Critical:
        return QMessageBox::Critical;
    case MessageIcon::Question:
        return QMessageBox::Question;
    case MessageIcon::Exclamation:
        return QMessageBox::Warning;
    case MessageIcon::Information:
        return QMessageBox::Information;
    case MessageIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons qtButtons(MessageButtons buttons) {
    switch (buttons) {
    case MessageButtons::Ok:
        return QMessageBox::Ok;
    case MessageButtons::OkCancel:
        return QMessageBox::Ok | QMessageBox::Cancel;
    case MessageButtons::YesNo:
        return QMessageBox::Yes | QMessageBox::No;
    case MessageButtons::YesNoCancel:
        return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case MessageButtons::RetryCancel:
        return QMessageBox::Retry | QMessageBox::Cancel;
    }
    return QMessageBox::Ok;
}

MessageAnswer answerOf(int button) {
    switch (button) {
    case QMessageBox::Yes:
        return MessageAnswer::Yes;
    case QMessageBox::No:
        return MessageAnswer::No;
    case QMessageBox::Retry:
        return MessageAnswer::Retry;
    case QMessageBox::Cancel:
        return MessageAnswer::Cancel;
    default:
        return MessageAnswer::Ok;
    }
}

} // namespace

MessageAnswer QtMessageService::show(const QString& text, const QString& title, MessageIcon icon,
                                     MessageButtons buttons) {
    QWidget* parent = m_parent ? m_parent : QApplication::activeWindow();
    QMessageBox box(qtIcon(icon), title.isEmpty() ? programTitle() : title, text, qtButtons(buttons), parent);
    box.setObjectName(QStringLiteral("velmoraMessage"));
    // The first button is the default, as in the boxes the program was designed around;
    // Escape answers Cancel or No where those exist.
    if (buttons == MessageButtons::YesNo || buttons == MessageButtons::YesNoCancel)
        box.setDefaultButton(QMessageBox::Yes);
    return answerOf(box.exec());
}

} // namespace velmora
