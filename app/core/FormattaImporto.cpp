#include "app/core/FormattaImporto.h"

#include "platform/text/Trim.h"

#include <QRegularExpression>

namespace quercino {
namespace {

// Thousands separators: a blank between groups of three digits, or a "." between groups
// of three digits when a decimal comma follows.
const QRegularExpression& migliaiaConBlank()
{
    static const QRegularExpression re(QStringLiteral("^[+-]?[0-9]{1,3}( [0-9]{3})+([,.][0-9]*)?$"));
    return re;
}

const QRegularExpression& migliaiaConPunto()
{
    static const QRegularExpression re(QStringLiteral("^[+-]?[0-9]{1,3}(\\.[0-9]{3})+,[0-9]*$"));
    return re;
}

const QRegularExpression& numeroItaliano()
{
    static const QRegularExpression re(QStringLiteral("^([+-]?)([0-9]*),?([0-9]*)$"));
    return re;
}

// Adds one unit to the last digit of a run of decimal digits, carrying leftwards.
QString piuUno(QString cifre)
{
    for (qsizetype i = cifre.size() - 1; i >= 0; --i) {
        if (cifre[i] != u'9') {
            cifre[i] = QChar(cifre[i].unicode() + 1);
            return cifre;
        }
        cifre[i] = u'0';
    }
    return u'1' + cifre;
}

// "-12,345" as "-12.35": exact decimal rounding, half away from zero. Empty when the text
// is not a number.
QString arrotondaADueDecimali(const QString& testo)
{
    const QRegularExpressionMatch m = numeroItaliano().match(testo);
    if (!m.hasMatch() || (m.capturedLength(2) == 0 && m.capturedLength(3) == 0))
        return {};
    QString intera = m.captured(2);
    QString decimali = m.captured(3);
    decimali.append(QStringLiteral("000"));
    const bool suPerUno = decimali[2] >= u'5';
    QString cifre = (intera.isEmpty() ? QStringLiteral("0") : intera) + decimali.first(2);
    if (suPerUno)
        cifre = piuUno(cifre);
    while (cifre.size() > 3 && cifre.front() == u'0')
        cifre.remove(0, 1);
    cifre = cifre.rightJustified(3, u'0');
    const bool zero = cifre == u"000";
    const QString segno = m.captured(1) == u"-" && !zero ? QStringLiteral("-") : QString();
    return segno + cifre.first(cifre.size() - 2) + u'.' + cifre.last(2);
}

} // namespace

QString FormattaImporto(QString& importo)
{
    importo = trimBlanks(importo);
    if (importo.isEmpty() || importo == u"0")
        return QStringLiteral("0.00");
    if (migliaiaConBlank().match(importo).hasMatch())
        importo.remove(u' ');
    if (!importo.contains(u',') && !importo.contains(u'.'))
        return importo + QStringLiteral(".00");
    if (migliaiaConPunto().match(importo).hasMatch())
        importo.remove(u'.');
    importo.replace(u'.', u',');
    const QString formattato = arrotondaADueDecimali(importo);
    if (!formattato.isEmpty())
        return formattato;
    QString risultato = importo;
    return risultato.replace(u',', u'.');
}

QString FormattaImporto(const QString& importo)
{
    QString copia = importo;
    return FormattaImporto(copia);
}

} // namespace quercino
