#pragma once
// The one exception of the data-access layer. `number` is the driver's native error code
// when it is numeric (0 otherwise); `description` is the driver's text, or our own Italian
// text for failures detected before the driver is reached and for locks (the drivers then
// speak English, and of their statement).

#include <QString>

#include <stdexcept>

namespace quercino {

class DbError : public std::runtime_error {
public:
    // Most failures are the statement's own. A lock that another connection holds and that
    // did not come free within one attempt (Locked) is retried by Database itself; it gives
    // up (LockWaitOver) only past its limit.
    enum class Kind { Statement, Locked, LockWaitOver };

    DbError(int number, const QString& description, Kind kind = Kind::Statement);

    int number() const { return number_; }
    const QString& description() const { return description_; }
    Kind kind() const { return kind_; }

private:
    int number_;
    QString description_;
    Kind kind_;
};

} // namespace quercino
