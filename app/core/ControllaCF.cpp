#include "app/core/ControllaCF.h"

#include "app/core/Comuni.h"
#include "app/core/Globals.h"
#include "platform/text/UpperCase.h"

#include <algorithm>
#include <string_view>

namespace quercino {
namespace {

// Values of a character at an odd position (1, 3, ..., 15): the character standing at
// index v has the value v.
constexpr char16_t DispariCifre[] = u"10   2 3 4   5 6 7 8 9    ";
constexpr char16_t DispariLettere[] = u"BAKPLCQDREVOSFTGUHMINJWZYX";

// The omocodia letters stand for the digits 0 to 9.
constexpr char16_t LettereOmocodia[] = u"LMNPQRSTUV";

bool eCifra(QChar c) { return c >= u'0' && c <= u'9'; }
bool eLettera(QChar c) { return c >= u'A' && c <= u'Z'; }
bool eOmocodia(QChar c)
{
    return std::u16string_view(LettereOmocodia).find(c.unicode()) != std::u16string_view::npos;
}

int indiceIn(const char16_t* tabella, QChar c)
{
    for (int i = 0; tabella[i] != 0; ++i) {
        if (tabella[i] == c.unicode())
            return i;
    }
    return -1;
}

// What the character at position `posizione` (from 1) adds to the sum: its value plus
// one; nothing for anything but A-Z and 0-9.
int apporto(QChar c, int posizione)
{
    if (posizione % 2 == 0) {
        if (eCifra(c)) return c.unicode() - u'0' + 1;
        if (eLettera(c)) return c.unicode() - u'A' + 1;
        return 0;
    }
    if (eCifra(c)) return indiceIn(DispariCifre, c) + 1;
    if (eLettera(c)) return indiceIn(DispariLettere, c) + 1;
    return 0;
}

// Letters at positions 1-6, 9, 12 and 16; digits (or the letters that replace them in an
// omocodic code) everywhere else.
bool struttura16Valida(const QString& codice)
{
    for (int i = 0; i < 16; ++i) {
        const QChar c = codice[i];
        const int posizione = i + 1;
        const bool lettera = posizione <= 6 || posizione == 9 || posizione == 12 || posizione == 16;
        if (lettera ? !eLettera(c) : !(eCifra(c) || eOmocodia(c)))
            return false;
    }
    return true;
}

} // namespace

std::int16_t ControllaCF(const QString& codice, const CercaCodiceLuogo& cerca)
{
    if (codice.size() == 11) {
        // A company's code is eleven digits.
        for (QChar c : codice) {
            if (!eCifra(c))
                return CFErrato;
        }
        return CFValido;
    }

    const QString cf = upperOneToOne(codice).leftJustified(16, u' ', true);
    int somma = 0;
    for (int posizione = 1; posizione <= 15; ++posizione)
        somma += apporto(cf[posizione - 1], posizione);
    // Blanks and other characters add nothing; the check then goes by the sum less 15,
    // remainder keeping the sign of the dividend, as the check always did.
    const int controllo = (somma - 15) % 26 + 65;
    if (cf[15].unicode() != controllo)
        return static_cast<std::int16_t>(controllo);

    if (!struttura16Valida(cf))
        return CFErrato;
    const QString luogo = cf.sliced(11, 4);
    if (cerca && (cerca(luogo) || CercaOmocodia(luogo, cerca)))
        return CFValido;
    return CFErrato;
}

std::int16_t ControllaCF(const QString& codice)
{
    if (codice.size() != 11 && !ComuniAperto)
        CaricaComuni();
    return ControllaCF(codice, [](const QString& luogo) { return ComuniCF().contiene(luogo); });
}

bool CercaOmocodia(const QString& luogo, const CercaCodiceLuogo& cerca)
{
    if (!cerca)
        return false;
    QString codice = luogo;
    for (qsizetype posizione = std::min<qsizetype>(4, codice.size()); posizione >= 1; --posizione) {
        for (int cifra = 0; cifra < 10; ++cifra) {
            if (codice[posizione - 1] != QChar(LettereOmocodia[cifra]))
                continue;
            codice[posizione - 1] = QChar(char16_t(u'0' + cifra));
            if (cerca(codice))
                return true;
        }
    }
    return false;
}

} // namespace quercino
