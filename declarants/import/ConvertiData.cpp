#include "declarants/import/ConvertiData.h"

#include "platform/text/Trim.h"

#include <QStringList>

namespace quercino::importazione {

namespace {

bool Cifre(QStringView testo)
{
    if (testo.isEmpty())
        return false;
    for (const QChar c : testo)
        if (c < u'0' || c > u'9')
            return false;
    return true;
}

int Numero(QStringView testo)
{
    int n = 0;
    for (const QChar c : testo)
        n = n * 10 + (c.unicode() - u'0');
    return n;
}

DataLetta Esito(const QDate& data)
{
    if (!data.isValid() || data < QDate(1970, 1, 1))
        return {DataLetta::Esito::NonValida, {}};
    return {DataLetta::Esito::Valida, data};
}

} // namespace

DataLetta ConvertiData(const QString& testo)
{
    // dd/mm/yyyy, the form of every date cell of a workbook, read at once.
    if (testo.size() == 10 && testo[2] == u'/' && testo[5] == u'/' && Cifre(QStringView(testo).mid(0, 2))
        && Cifre(QStringView(testo).mid(3, 2)) && Cifre(QStringView(testo).mid(6, 4)))
        return Esito(QDate(Numero(QStringView(testo).mid(6, 4)), Numero(QStringView(testo).mid(3, 2)), Numero(QStringView(testo).mid(0, 2))));
    QString t = trimBlanks(testo);
    if (t.isEmpty())
        return {};
    if (t.size() >= 8 && t.at(4) == u'-' && t.at(7) == u'-')
        t.remove(u'-');
    if (!t.contains(u'/')) {
        if (t.size() != 8 || !Cifre(t))
            return {DataLetta::Esito::NonValida, {}};
        const QDate annoPrima(Numero(QStringView(t).mid(0, 4)), Numero(QStringView(t).mid(4, 2)), Numero(QStringView(t).mid(6, 2)));
        if (annoPrima.isValid() && annoPrima.year() >= 1970 && annoPrima.year() <= 2099)
            return Esito(annoPrima);
        return Esito(QDate(Numero(QStringView(t).mid(4, 4)), Numero(QStringView(t).mid(2, 2)), Numero(QStringView(t).mid(0, 2))));
    }
    const qsizetype blank = t.indexOf(u' ');
    if (blank >= 0)
        t.truncate(blank);
    const QStringList parti = t.split(u'/');
    if (parti.size() != 3 || !Cifre(parti[0]) || !Cifre(parti[1]) || !Cifre(parti[2]) || parti[0].size() > 2
        || parti[1].size() > 2 || (parti[2].size() != 4 && parti[2].size() != 2))
        return {DataLetta::Esito::NonValida, {}};
    int anno = Numero(parti[2]);
    if (parti[2].size() == 2)
        anno += anno < 30 ? 2000 : 1900;
    return Esito(QDate(anno, Numero(parti[1]), Numero(parti[0])));
}

} // namespace quercino::importazione
