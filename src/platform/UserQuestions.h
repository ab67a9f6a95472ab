#pragma once

#include "platform/MessageTypes.h"
#include "platform/Result.h"

#include <QString>

namespace velmora {

// The user, as a routine below the windows must ask them something mid-way (a question with
// buttons) before it can go on. A routine that takes one asks; every other routine returns its
// failures as values (Result, Status) and leaves telling them to the window or tool that called.
class UserQuestions {
public:
    virtual ~UserQuestions() = default;
    virtual MessageAnswer ask(const QString& text, const QString& title, MessageIcon icon,
                              QuestionButtons buttons) = 0;
    // Tells the failure that leads to the next question (a draft offered because the data is
    // incomplete), for a routine that goes on asking: its other failures it returns.
    virtual void tell(const Error& error) = 0;
};

} // namespace velmora
