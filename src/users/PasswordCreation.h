#pragma once

#include "platform/Result.h"

#include <QString>

namespace velmora {

class UserStore;

// The accept rule of the password window (frmCreaPwd): a password of at least six
// characters, typed the same twice, replaces the DNI's entry in the user store.
class PasswordCreation {
public:
    static constexpr int kMinimumLength = 6;

    explicit PasswordCreation(UserStore& store);

    // The two texts are compared as typed (letter case counts); the password is stored
    // upper-cased, so signing in does not depend on the case it is typed in. Succeeds once
    // stored (the window closes). Two texts too short or not the same are an
    // ErrorCode::InvalidValue (the window empties both boxes); any other failure is the
    // store's, which keeps the previous password (the window stays).
    Status accept(const QString& dni, const QString& password, const QString& repeated);

private:
    UserStore& m_store;
};

} // namespace velmora
