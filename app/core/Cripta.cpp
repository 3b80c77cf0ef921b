#include "app/core/Cripta.h"

#include "platform/text/Trim.h"
#include "platform/text/Windows1252.h"

#include <QStringList>

namespace quercino {
namespace {

inline const QChar SeparatoreCampi = QChar(0x00A6);  // "¦"

enum class Verso { Nessuno, Avanti, Indietro };

Verso versoDi(const QString& modo)
{
    if (modo == ModoScrivi)
        return Verso::Avanti;
    if (modo == ModoLeggi)
        return Verso::Indietro;
    return Verso::Nessuno;
}

// The shifted code of the character at position `posizione` (from 1), or -1 when the
// character stays as it is.
int codiceSpostato(QChar carattere, int posizione, Verso verso, std::int16_t chiave)
{
    const int codice = windows1252Code(carattere.unicode());
    if (codice < 0)
        return -1;
    const int spostamento = chiave + posizione;
    const int nuovo = verso == Verso::Avanti ? codice + spostamento : codice - spostamento;
    return nuovo >= 0 && nuovo <= 255 ? nuovo : -1;
}

} // namespace

QString Cripta(const QString& testo, const QString& modo, std::int16_t chiave)
{
    const Verso verso = versoDi(modo);
    QString lavoro = testo;
    if (verso == Verso::Nessuno)
        return lavoro;
    const qsizetype n = trimBlanks(testo).size();
    for (qsizetype i = 0; i < n && i < lavoro.size(); ++i) {
        const int nuovo = codiceSpostato(lavoro[i], static_cast<int>(i + 1), verso, chiave);
        if (nuovo >= 0)
            lavoro[i] = QChar(windows1252Char(static_cast<std::uint8_t>(nuovo)));
    }
    return lavoro;
}

QString CriptaCampi(const QString& riga, const QString& modo, std::int16_t chiave)
{
    if (riga.isEmpty())
        return {};
    const QStringList campi = riga.split(riga.front());
    QStringList risultato;
    risultato.reserve(campi.size());
    risultato.append(campi.front());
    for (qsizetype i = 1; i < campi.size(); ++i)
        risultato.append(Cripta(campi[i], modo, chiave));
    return risultato.join(SeparatoreCampi);
}

bool CriptaReversibile(const QString& testo, std::int16_t chiave)
{
    const qsizetype n = trimBlanks(testo).size();
    for (qsizetype i = 0; i < n; ++i) {
        if (codiceSpostato(testo[i], static_cast<int>(i + 1), Verso::Avanti, chiave) < 0)
            return false;
    }
    const QString criptato = Cripta(testo, ModoScrivi, chiave);
    return !criptato.contains(SeparatoreCampi) && Cripta(criptato, ModoLeggi, chiave) == testo;
}

} // namespace quercino
