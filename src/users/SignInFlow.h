#pragma once

#include "platform/Result.h"

#include <QString>

namespace velmora {

class DniTextBox;
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
// step it is told, and tells the failures it is given.
class SignInFlow {
public:
    enum class Step { Dni, Password, SignedIn };
    enum class DniAnswer {
        Ignored,        // empty box: nothing happens
        PasswordNeeded, // a known user: on to the password step
        SignedIn,       // a new user, let in without a password
    };

    explicit SignInFlow(UserStore& store);

    // Opens the installation's user store. A store that exists but cannot be read is a
    // failure naming the file (told under the program's title) that ends the program: the
    // window closes.
    Status openStore();

    // The DNI box lost the focus: checks it as typed. An invalid DNI is the check's failure
    // and empties the box, so the window puts the focus back. An empty box is left alone:
    // there is nothing to check, and a user who has typed nothing must be able to move on to
    // "Salir".
    Status checkDniOnLeave(DniTextBox& box);

    // "Aceptar" of the DNI step. An invalid DNI is a failure told after the check's own
    // ("El DNI introducido no es válido"); the window stays on the DNI step.
    Result<DniAnswer> acceptDni(DniTextBox& box);
    // "Aceptar" of the password step, with the texts of the DNI box and the password box:
    // succeeds when the user is let in; a missing text or a wrong password is a failure.
    Status acceptPassword(const QString& dni, const QString& password);

    Step step() const { return m_step; }
    const SignInOutcome& outcome() const { return m_outcome; }

private:
    UserStore& m_store;
    Step m_step = Step::Dni;
    SignInOutcome m_outcome;
};

} // namespace velmora
