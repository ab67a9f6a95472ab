#pragma once

#include "app/RunState.h"

namespace velmora {

class Clock;
class MessageService;
class PrintingWordProcessor;
class SigningDialogs;
class UserStore;

// What the windows of one run share besides the run state: the message boxes, the clock,
// the user store and the program-wide word processor of printing.
struct EditorServices {
    RunState& state;
    MessageService& messages;
    const Clock& clock;
    UserStore& users;
    PrintingWordProcessor& printing;
    // Printed PDFs and the manual are opened with the desktop's applications; scripted and
    // test runs turn it off.
    bool openWithDesktop = true;
    // The file dialogs and password prompts of "Firmar solicitud"; none: Qt's own (tests
    // answer them).
    SigningDialogs* signingDialogs = nullptr;
};

} // namespace velmora
