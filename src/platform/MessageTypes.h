#pragma once

#include "platform/ProgramTitle.h"

namespace velmora {

// The pieces of a modal message box, shared by the failures the library returns, the
// questions it asks and the windows and tools that show both.
enum class MessageIcon { None, Critical, Question, Exclamation, Information };
enum class MessageButtons { Ok, OkCancel, YesNo, YesNoCancel, RetryCancel };
enum class MessageAnswer { Ok, Cancel, Yes, No, Retry };

// The buttons of a question: every choice but a lone "Aceptar", which tells and asks nothing.
enum class QuestionButtons { OkCancel, YesNo, YesNoCancel, RetryCancel };

} // namespace velmora
