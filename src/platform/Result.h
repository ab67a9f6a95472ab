#pragma once

#include "platform/MessageTypes.h"

#include <QString>

#include <iterator>
#include <optional>
#include <utility>
#include <variant>
#include <vector>

namespace velmora {

// A failure, as a value, until a window or a tool tells it to the user: a number and a Spanish
// description, and how it is told. A plain error is told as the program has always told one
// ("Se ha producido el siguiente error N-descripción", critical, under the program's title); a
// failure told in its own words shows its description as is, under its title and icon. The
// number says what kind of failure it is, for the callers and tests that tell kinds apart.
struct Error {
    int number = 0;
    QString description;
    // Set where the failure leaves the program unable to go on: the caller ends it.
    bool endsProgram = false;

    struct Telling {
        QString title;
        MessageIcon icon = MessageIcon::Critical;
    };
    // Unset: told as a numbered error.
    std::optional<Telling> telling;
    // Failures told before this one, in order: what went wrong on the way, in its own box,
    // before what it meant for the work at hand (a catalogue that cannot be decoded, then the
    // load it stopped).
    std::vector<Error> toldBefore;

    static Error make(int number, QString description) {
        Error error;
        error.number = number;
        error.description = std::move(description);
        return error;
    }
    // A failure told as `text`, under `title`, with `icon`.
    static Error told(int number, QString text, QString title, MessageIcon icon = MessageIcon::Critical) {
        Error error = make(number, std::move(text));
        error.telling = Telling{std::move(title), icon};
        return error;
    }
    // This failure, told after `earlier` (and whatever is told before that).
    Error after(Error earlier) && {
        std::vector<Error> first = std::move(earlier.toldBefore);
        earlier.toldBefore.clear();
        first.push_back(std::move(earlier));
        first.insert(first.end(), std::make_move_iterator(toldBefore.begin()),
                     std::make_move_iterator(toldBefore.end()));
        toldBefore = std::move(first);
        return std::move(*this);
    }
    // This failure told in other words (a step naming what failed, its text folded in), still
    // after what it says is told before it.
    Error retold(QString text, QString title, MessageIcon icon) const {
        Error other = told(number, std::move(text), std::move(title), icon);
        other.toldBefore = toldBefore;
        return other;
    }
    // The user chose not to go on: nothing is told.
    static Error cancelled();
    bool isCancellation() const;
};

// Well-known error numbers, so that messages show stable figures.
namespace ErrorCode {
inline constexpr int FileNotFound = 53;
inline constexpr int FileAccess = 75;
inline constexpr int InvalidProcedureCall = 5;
inline constexpr int Overflow = 6;
inline constexpr int TypeMismatch = 13;
inline constexpr int ObjectMissing = 91;
inline constexpr int NoCurrentRecord = 3021;
inline constexpr int ItemNotFound = 3265;
inline constexpr int BadCriteria = 3001;
inline constexpr int ObjectClosed = 3704;
inline constexpr int BadXml = 1001;
// Input or data the user must mend (a rule not met): told in its own words.
inline constexpr int InvalidValue = 380;
// The user cancelled: not a failure to tell.
inline constexpr int Cancelled = 32755;
} // namespace ErrorCode

// The one error style at boundaries: a value or an Error, never an exception.
inline Error Error::cancelled() {
    return Error::make(ErrorCode::Cancelled, QString());
}
inline bool Error::isCancellation() const {
    return number == ErrorCode::Cancelled;
}

template <typename T> class [[nodiscard]] Result {
public:
    Result(T value) : m_state(std::move(value)) {}
    Result(Error error) : m_state(std::move(error)) {}

    bool ok() const { return std::holds_alternative<T>(m_state); }
    explicit operator bool() const { return ok(); }

    const T& value() const& { return std::get<T>(m_state); }
    T& value() & { return std::get<T>(m_state); }
    T&& value() && { return std::get<T>(std::move(m_state)); }
    const T& operator*() const& { return value(); }
    const T* operator->() const { return &value(); }

    T valueOr(T fallback) const { return ok() ? value() : std::move(fallback); }
    const Error& error() const { return std::get<Error>(m_state); }

private:
    std::variant<T, Error> m_state;
};

template <> class [[nodiscard]] Result<void> {
public:
    Result() = default;
    Result(Error error) : m_error(std::move(error)) {}

    bool ok() const { return !m_error.has_value(); }
    explicit operator bool() const { return ok(); }
    const Error& error() const { return *m_error; }

private:
    std::optional<Error> m_error;
};

using Status = Result<void>;

} // namespace velmora

// Returns the error of a failed Result from the enclosing function.
#define VELMORA_TRY(expr)                                                                                    \
    do {                                                                                                     \
        auto&& velmora_try_result_ = (expr);                                                                 \
        if (!velmora_try_result_.ok())                                                                       \
            return velmora_try_result_.error();                                                              \
    } while (false)
