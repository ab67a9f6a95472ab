#pragma once

#include <QString>

namespace velmora {

class MessageService;
class UserStore;

// The accept rule of the password window (frmCreaPwd): a password of at least six
// characters, typed the same twice, replaces the DNI's entry in the user store.
class PasswordCreation {
public:
    static constexpr int kMinimumLength = 6;

    enum class Answer {
        TooShort,   // reported; the window empties both boxes
        Different,  // reported; the window empties both boxes
        Stored,     // saved; the window closes
        SaveFailed, // reported by the store, which keeps the previous password; the window stays
    };

    PasswordCreation(UserStore& store, MessageService& messages);

    // The two texts are compared as typed (letter case counts); the password is stored
    // upper-cased, so signing in does not depend on the case it is typed in.
    Answer accept(const QString& dni, const QString& password, const QString& repeated);

private:
    UserStore& m_store;
    MessageService& m_messages;
};

} // namespace velmora
