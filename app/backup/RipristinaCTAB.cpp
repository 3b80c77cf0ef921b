#include "app/backup/RipristinaCTAB.h"

#include "platform/db/Database.h"

namespace quercino {

namespace {

// Characters `da` to `a` (from 1) of the text, padded with blanks to `larghezza`.
QString Tratto(const QString& testo, int da, int a, int larghezza)
{
    return testo.mid(da - 1, a - da + 1).leftJustified(larghezza, u' ');
}

} // namespace

QString RiformaDescrizioneITT(const QString& descrizione)
{
    QString des = descrizione;
    if (des.size() >= 16 && des[15] == u'/') {
        const QChar singolo = des.size() >= 13 ? des[12] : QChar(u' ');
        des = Tratto(des, 1, 11, 16) + QString(5, u' ') + singolo + Tratto(des, 14, 23, 10);
    }
    if (des.size() >= 15 && des[14] == u'/') {
        des = Tratto(des, 1, 11, 16) + QString(5, u' ') + des[11] + Tratto(des, 13, 22, 10);
    }
    return des;
}

void RipristinaCTAB(Database& db, const QString& tipo, const QString& cod, const QString& des)
{
    const QString descrizione = tipo == QLatin1String("ITT") ? RiformaDescrizioneITT(des) : des;
    const auto esiste = db.scalar(QStringLiteral("SELECT COUNT(*) FROM CTAB WHERE TIPO = ? AND COD = ?"),
                                  {tipo, cod}, ColumnType::Integer);
    if (esiste && esiste->toInt() > 0)
        db.exec(QStringLiteral("UPDATE CTAB SET DES = ? WHERE TIPO = ? AND COD = ?"),
                {descrizione, tipo, cod});
    else
        db.exec(QStringLiteral("INSERT INTO CTAB (TIPO, COD, DES) VALUES (?, ?, ?)"),
                {tipo, cod, descrizione});
}

} // namespace quercino
