#pragma once

#include <QString>

namespace velmora {

class DniTextBox;
class MessageService;
class UserStore;

// What sign-in leaves for the rest of the run.
struct SignInOutcome {
    QString dni; // as it stands in the DNI box once accepted: upper case, 9 characters
    bool signedIn = false;
    bool hasPassword = false; // the DNI has an entry in the user store
};

// The two steps of the sign-in window, without the window: the DNI step lets a new user in
// at once and sends a known one on to the password step; the password step lets the user in
// when the password matches. The window turns its events into these calls and shows the
// step it is told.
class SignInFlow {
public:
    enum class Step { Dni, Password, SignedIn };
    enum class DniAnswer {
        Ignored,        // empty box: nothing happens
        Invalid,        // reported; the window stays on the DNI step
        PasswordNeeded, // a known user: on to the password step
        SignedIn,       // a new user, let in without a password
    };
    enum class PasswordAnswer { Missing, Wrong, SignedIn };

    SignInFlow(UserStore& store, MessageService& messages);

    // Opens the installation's user store. A store that exists but cannot be read is
    // reported (the message names the file) and the answer is false: the window closes
    // and the program ends.
    bool openStore();

    // The DNI box lost the focus: checks it as typed. An invalid DNI has been reported by the
    // check; the box is emptied and the answer is false, so the window puts the focus back.
    // An empty box is left alone: there is nothing to check, and a user who has typed
    // nothing must be able to move on to "Salir".
    bool checkDniOnLeave(DniTextBox& box);

    // "Aceptar" of the DNI step.
    DniAnswer acceptDni(DniTextBox& box);
    // "Aceptar" of the password step, with the texts of the DNI box and the password box.
    PasswordAnswer acceptPassword(const QString& dni, const QString& password);

    Step step() const { return m_step; }
    const SignInOutcome& outcome() const { return m_outcome; }

private:
    void warn(const QString& text);

    UserStore& m_store;
    MessageService& m_messages;
    Step m_step = Step::Dni;
    SignInOutcome m_outcome;
};

} // namespace velmora
