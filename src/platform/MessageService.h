#pragma once

#include "platform/ProgramTitle.h"
#include "platform/Result.h"
#include "platform/UserQuestions.h"

#include <QString>
#include <QStringList>

namespace velmora {

// The one way the windows and the tools talk to the user in a modal box: they tell the failures
// the library returns and answer its questions. The windows use a QMessageBox implementation,
// the tools print, and tests script the answers.
class MessageService : public UserQuestions {
public:
    virtual MessageAnswer show(const QString& text, const QString& title, MessageIcon icon,
                               MessageButtons buttons) = 0;

    MessageAnswer ask(const QString& text, const QString& title, MessageIcon icon,
                      QuestionButtons buttons) override;

    // A box with only an OK button.
    void inform(const QString& text, const QString& title, MessageIcon icon) {
        show(text, title, icon, MessageButtons::Ok);
    }
    // Tells a failure as it says it is told, after those it says are told before it (a
    // cancellation itself is not told).
    void tell(const Error& error) override;
    // Tells the failure or notice an outcome may hold.
    void tell(const std::optional<Error>& error) {
        if (error)
            tell(*error);
    }
    // A failure the routine at hand cannot deal with, as the program has always told one:
    // "Se ha producido el siguiente error N-descripción", critical, under the program's title,
    // whatever its own telling (those told before it are told as they say).
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
