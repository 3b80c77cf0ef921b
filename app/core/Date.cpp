#include "app/core/Date.h"

#include "app/core/Messaggi.h"
#include "platform/text/Trim.h"

namespace quercino {
namespace {

// The number written by exactly the given digits, or -1.
int numeroDaCifre(QStringView cifre)
{
    if (cifre.isEmpty())
        return -1;
    int n = 0;
    for (QChar c : cifre) {
        if (c < u'0' || c > u'9')
            return -1;
        n = n * 10 + (c.unicode() - u'0');
    }
    return n;
}

// Two-digit years as the system reads them: 30..99 in the 1900s, 00..29 in the 2000s.
int annoDaDueCifre(int anno)
{
    return anno < 30 ? 2000 + anno : 1900 + anno;
}

} // namespace

QDate DataZero()
{
    return QDate(1899, 12, 30);
}

bool EDataZero(const QDate& data)
{
    return data == DataZero();
}

QDate TestoInData(QString& testo, bool* errore)
{
    testo = trimBlanks(testo);
    if (errore)
        *errore = false;
    const QStringView t(testo);
    if (t.first(std::min<qsizetype>(2, t.size())) == u"00")
        return DataZero();

    int giorno = 0;
    int mese = 0;
    int anno = 0;
    if (t.size() == 10 && (t.sliced(6, 2) == u"19" || t.sliced(6, 2) == u"20")) {
        giorno = numeroDaCifre(t.sliced(0, 2));
        mese = numeroDaCifre(t.sliced(3, 2));
        anno = numeroDaCifre(t.sliced(6, 4));
    } else if (t.size() == 8) {
        giorno = numeroDaCifre(t.sliced(0, 2));
        mese = numeroDaCifre(t.sliced(3, 2));
        anno = numeroDaCifre(t.sliced(6, 2));
        if (anno >= 0)
            anno = annoDaDueCifre(anno);
    } else {
        return DataZero();
    }

    const QDate data(anno, mese, giorno);
    if (giorno > 0 && mese > 0 && anno > 0 && data.isValid())
        return data;
    if (errore)
        *errore = true;
    else
        MsgBox(MessaggioErroreData, Pulsanti::Ok, Icona::Critica, QStringLiteral("Attenzione"));
    return DataZero();
}

QDate TestoInData(const QString& testo, bool* errore)
{
    QString copia = testo;
    return TestoInData(copia, errore);
}

QString InvertiData(const QString& testo)
{
    const QString t = trimBlanks(testo);
    if (t.isEmpty() || t.startsWith(QStringLiteral("00")))
        return {};
    // Characters are taken as they stand; a short text gives what it has.
    const auto parte = [&t](qsizetype da, qsizetype quanti) { return t.mid(da, quanti); };
    if (t.size() >= 3 && t[2] == u'/')
        return parte(6, 4) + parte(3, 2) + parte(0, 2);
    return parte(6, 2) + u'/' + parte(4, 2) + u'/' + parte(0, 4);
}

QString DataItaliana(const QDate& data)
{
    if (!data.isValid())
        return {};
    return QStringLiteral("%1/%2/%3")
        .arg(data.day(), 2, 10, QChar(u'0'))
        .arg(data.month(), 2, 10, QChar(u'0'))
        .arg(data.year(), 4, 10, QChar(u'0'));
}

} // namespace quercino
