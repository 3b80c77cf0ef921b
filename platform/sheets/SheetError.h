#pragma once
// The one failure of the sheet readers: a file that cannot be read as the kind it claims
// to be. The message is Italian and ready to show to the user.

#include <QString>

#include <stdexcept>

namespace quercino::sheets {

class SheetError : public std::runtime_error {
public:
    explicit SheetError(const QString& messaggio)
        : std::runtime_error(messaggio.toStdString()), Messaggio(messaggio) {}

    QString Messaggio;
};

} // namespace quercino::sheets
