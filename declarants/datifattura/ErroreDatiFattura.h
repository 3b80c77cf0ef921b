#pragma once
// The one error of the DatiFattura writer: a file could not be written, or the data given
// to it would make a file that the Agency refuses. The text is Italian and meant for the user.

#include <QString>

#include <stdexcept>

namespace quercino::datifattura {

class ErroreDatiFattura : public std::runtime_error {
public:
    explicit ErroreDatiFattura(const QString& messaggio)
        : std::runtime_error(messaggio.toStdString()), messaggio_(messaggio) {}
    const QString& Messaggio() const { return messaggio_; }

private:
    QString messaggio_;
};

} // namespace quercino::datifattura
