#include "platform/MessageService.h"

#include <cstdio>

namespace velmora {

QString programTitle() {
    return QStringLiteral("Velmora");
}

namespace {

MessageAnswer defaultAnswer(MessageButtons buttons) {
    switch (buttons) {
    case MessageButtons::YesNo:
    case MessageButtons::YesNoCancel:
        return MessageAnswer::Yes;
    case MessageButtons::RetryCancel:
        return MessageAnswer::Retry;
    default:
        return MessageAnswer::Ok;
    }
}

} // namespace

MessageAnswer MessageService::ask(const QString& text, const QString& title, MessageIcon icon,
                                  QuestionButtons buttons) {
    switch (buttons) {
    case QuestionButtons::OkCancel:
        return show(text, title, icon, MessageButtons::OkCancel);
    case QuestionButtons::YesNo:
        return show(text, title, icon, MessageButtons::YesNo);
    case QuestionButtons::YesNoCancel:
        return show(text, title, icon, MessageButtons::YesNoCancel);
    case QuestionButtons::RetryCancel:
        return show(text, title, icon, MessageButtons::RetryCancel);
    }
    return MessageAnswer::Cancel;
}

void MessageService::tell(const Error& error) {
    if (!error.telling && !error.isCancellation()) {
        reportError(error); // which tells what comes before it
        return;
    }
    for (const Error& earlier : error.toldBefore)
        tell(earlier);
    if (error.telling)
        inform(error.description, error.telling->title, error.telling->icon);
}

void MessageService::reportError(const Error& error) {
    for (const Error& earlier : error.toldBefore)
        tell(earlier);
    show(QStringLiteral("Se ha producido el siguiente error %1-%2").arg(error.number).arg(error.description),
         programTitle(), MessageIcon::Critical, MessageButtons::Ok);
}

MessageAnswer ConsoleMessageService::show(const QString& text, const QString& title, MessageIcon,
                                          MessageButtons buttons) {
    std::fprintf(stderr, "[%s] %s\n", qUtf8Printable(title), qUtf8Printable(text));
    return defaultAnswer(buttons);
}

MessageAnswer SilentMessageService::show(const QString&, const QString&, MessageIcon,
                                         MessageButtons buttons) {
    return defaultAnswer(buttons);
}

} // namespace velmora
