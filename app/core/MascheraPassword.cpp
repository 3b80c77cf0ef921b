#include "app/core/MascheraPassword.h"

#include <QRegularExpression>

namespace quercino {

QString MascheraPassword(const QString& connessione)
{
    // name = {value with }} inside} or name = value up to the next ";".
    static const QRegularExpression attributo(
        QStringLiteral(R"re(((?:^|;)\s*(?:PWD|PASSWORD)\s*=)(\s*\{(?:[^}]|\}\})*\}?|[^;]*))re"),
        QRegularExpression::CaseInsensitiveOption);
    QString risultato = connessione;
    risultato.replace(attributo, QStringLiteral("\\1****"));
    return risultato;
}

} // namespace quercino
