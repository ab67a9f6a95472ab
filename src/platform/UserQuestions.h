#pragma once

#include "platform/MessageTypes.h"

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
};

} // namespace velmora
