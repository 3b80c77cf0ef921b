#include "app/core/Zeri.h"

#include "platform/text/Trim.h"

#include <algorithm>

namespace quercino {
namespace {

bool soloCifre(QStringView testo)
{
    if (testo.isEmpty())
        return false;
    for (QChar c : testo) {
        if (c < u'0' || c > u'9')
            return false;
    }
    return true;
}

// The decimal text of the number the text stands for, truncated toward zero: an optional
// sign, digits, and optionally a decimal separator ("," or ".") with more digits. "0" for
// a text that is not such a number. Digits are kept as text, so no length overflows.
QString interoTroncato(const QString& testo)
{
    QStringView resto(testo);
    bool negativo = false;
    if (!resto.isEmpty() && (resto.front() == u'-' || resto.front() == u'+')) {
        negativo = resto.front() == u'-';
        resto = resto.sliced(1);
    }
    qsizetype separatore = resto.indexOf(u',');
    if (separatore < 0)
        separatore = resto.indexOf(u'.');
    QStringView intera = separatore < 0 ? resto : resto.first(separatore);
    const QStringView decimali = separatore < 0 ? QStringView() : resto.sliced(separatore + 1);
    if ((intera.isEmpty() && decimali.isEmpty()) || (!intera.isEmpty() && !soloCifre(intera))
        || (!decimali.isEmpty() && !soloCifre(decimali)))
        return QStringLiteral("0");
    while (intera.size() > 1 && intera.front() == u'0')
        intera = intera.sliced(1);
    if (intera.isEmpty() || intera == u"0")
        return QStringLiteral("0");
    return (negativo ? QStringLiteral("-") : QString()) + intera.toString();
}

} // namespace

QString Zeri(QString& valore, int& larghezza)
{
    if (larghezza == 0)
        larghezza = 6;
    valore = trimBlanks(valore);
    if (valore.size() >= larghezza)
        return valore;
    if (!valore.isEmpty())
        valore = interoTroncato(valore);
    const QChar riempimento = valore.startsWith(u'-') ? u' ' : u'0';
    return QString(std::max<qsizetype>(0, larghezza - valore.size()), riempimento) + valore;
}

QString Zeri(QString& valore, int&& larghezza)
{
    int l = larghezza;
    return Zeri(valore, l);
}

QString Zeri(const QString& valore, int larghezza)
{
    QString v = valore;
    return Zeri(v, larghezza);
}

QString Zeri(std::int64_t valore, int larghezza)
{
    QString v = QString::number(valore);
    return Zeri(v, larghezza);
}

QString NormalizzaPIVA(QString& valore)
{
    valore = trimBlanks(valore);
    // Only a number is filled: a code with letters would otherwise become all zeros.
    if (valore.size() >= 2 && valore.size() <= 10 && soloCifre(valore))
        return Zeri(std::as_const(valore), 11);
    return valore;
}

QString NormalizzaPIVA(const QString& valore)
{
    QString v = valore;
    return NormalizzaPIVA(v);
}

} // namespace quercino
