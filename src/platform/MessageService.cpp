#include "platform/MessageService.h"

#include <cstdio>

namespace velmora {

QString programTitle() { return QStringLiteral("Velmora"); }

MessageAnswer ConsoleMessageService::show(const QString& text, const QString& title, MessageIcon,
                                          MessageButtons buttons) {
    std::fprintf(stderr, "[%s] %s\n", qUtf8Printable(title), qUtf8Printable(text));
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

} // namespace velmora
