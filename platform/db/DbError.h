#pragma once
// The one exception of the data-access layer. `number` is the driver's native error code
// when it is numeric (0 otherwise); `description` is the driver's text, or our own Italian
// text for failures detected before the driver is reached.

#include <QString>

#include <stdexcept>

namespace quercino {

class DbError : public std::runtime_error {
public:
    DbError(int number, const QString& description);

    int number() const { return number_; }
    const QString& description() const { return description_; }

private:
    int number_;
    QString description_;
};

} // namespace quercino
