#pragma once

#include "platform/Result.h"

#include <QString>
#include <QStringList>

namespace velmora {

enum class MessageIcon { None, Critical, Question, Exclamation, Information };
enum class MessageButtons { Ok, OkCancel, YesNo, YesNoCancel, RetryCancel };
enum class MessageAnswer { Ok, Cancel, Yes, No, Retry };

// Title shown by boxes that name no title of their own.
QString programTitle();

// The one way the program talks to the user in a modal box. The windows use a
// QMessageBox implementation, the tools print, and tests script the answers.
class MessageService {
public:
    virtual ~MessageService() = default;
    virtual MessageAnswer show(const QString& text, const QString& title, MessageIcon icon,
                               MessageButtons buttons) = 0;

    // A box with only an OK button.
    void inform(const QString& text, const QString& title, MessageIcon icon) {
        show(text, title, icon, MessageButtons::Ok);
    }
    // A failure the routine at hand cannot deal with, as the program has always told one:
    // "Se ha producido el siguiente error N-descripción", critical, under the program's title.
    void reportError(const Error& error);
};

// Writes every message to standard error and answers with the default button
// (OK, Yes, Retry): for the command-line tools and headless runs.
class ConsoleMessageService : public MessageService {
public:
    MessageAnswer show(const QString& text, const QString& title, MessageIcon icon,
                       MessageButtons buttons) override;
};

// Answers every message with its default button and shows nothing: for benchmarks and
// other runs where nobody reads the messages.
class SilentMessageService : public MessageService {
public:
    MessageAnswer show(const QString& text, const QString& title, MessageIcon icon,
                       MessageButtons buttons) override;
};

} // namespace velmora
