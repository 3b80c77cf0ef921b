#include "platform/sheets/XlsxCellText.h"

#include <QDate>

#include <chrono>

#include <cstdint>
#include <string>

namespace quercino::sheets {

namespace {

// The value as sign, significant digits and the power of ten of the last digit.
struct Decimale {
    bool Negativo = false;
    std::string Cifre;        // without leading zeros; empty means zero
    std::int64_t Esponente = 0;
};

bool Analizza(std::string_view v, Decimale& d)
{
    std::size_t i = 0;
    while (i < v.size() && (v[i] == ' ' || v[i] == '\t'))
        ++i;
    while (!v.empty() && (v.back() == ' ' || v.back() == '\t'))
        v.remove_suffix(1);
    if (i < v.size() && (v[i] == '-' || v[i] == '+'))
        d.Negativo = v[i++] == '-';
    bool cifraVista = false;
    bool punto = false;
    for (; i < v.size(); ++i) {
        const char c = v[i];
        if (c >= '0' && c <= '9') {
            cifraVista = true;
            if (!(d.Cifre.empty() && c == '0'))
                d.Cifre += c;
            if (punto)
                --d.Esponente;
        } else if (c == '.' && !punto) {
            punto = true;
        } else {
            break;
        }
    }
    if (!cifraVista)
        return false;
    if (i < v.size()) {
        if (v[i] != 'e' && v[i] != 'E')
            return false;
        ++i;
        bool negativo = false;
        if (i < v.size() && (v[i] == '-' || v[i] == '+'))
            negativo = v[i++] == '-';
        if (i >= v.size())
            return false;
        std::int64_t e = 0;
        for (; i < v.size(); ++i) {
            if (v[i] < '0' || v[i] > '9')
                return false;
            if (e < 100000)
                e = e * 10 + (v[i] - '0');
        }
        d.Esponente += negativo ? -e : e;
    }
    // Leading zeros after the point were dropped from the digits but counted in the exponent.
    return true;
}

// Rounds half away from zero to at most 15 significant digits, as the spreadsheet shows.
void Arrotonda(Decimale& d)
{
    constexpr std::size_t Massimo = 15;
    if (d.Cifre.size() <= Massimo)
        return;
    const bool sopra = d.Cifre[Massimo] >= '5';
    d.Esponente += static_cast<std::int64_t>(d.Cifre.size() - Massimo);
    d.Cifre.resize(Massimo);
    if (sopra) {
        std::size_t k = d.Cifre.size();
        while (k > 0) {
            --k;
            if (d.Cifre[k] == '9') {
                d.Cifre[k] = '0';
            } else {
                ++d.Cifre[k];
                break;
            }
            if (k == 0) {
                d.Cifre.insert(d.Cifre.begin(), '1');
                break;
            }
        }
    }
}

} // namespace

namespace {

// Plain numbers of at most 15 digits (most cells): "123", "-1234.5", "0.25". Empty when
// the text needs the general rules (exponent, more digits, anything else).
QString TestoNumeroSemplice(std::string_view v)
{
    if (v.empty() || v.size() > 17)
        return {};
    char uscita[24];
    std::size_t n = 0;
    std::size_t i = 0;
    if (v[0] == '-')
        uscita[n++] = v[i++];
    const std::size_t inizioCifre = i;
    while (i < v.size() && v[i] >= '0' && v[i] <= '9')
        uscita[n++] = v[i++];
    const std::size_t intere = i - inizioCifre;
    if (intere == 0 || (intere > 1 && v[inizioCifre] == '0'))
        return {};
    std::size_t cifre = intere;
    if (i < v.size()) {
        if (v[i] != '.' || i + 1 == v.size())
            return {};
        uscita[n++] = ',';
        ++i;
        while (i < v.size() && v[i] >= '0' && v[i] <= '9') {
            uscita[n++] = v[i++];
            ++cifre;
        }
        if (i < v.size())
            return {};
        while (uscita[n - 1] == '0')
            --n;
        if (uscita[n - 1] == ',')
            --n;
    }
    // Leading zeros of "0.05" are not significant; the general rules count them right.
    if (cifre > 15 || (intere == 1 && v[inizioCifre] == '0' && cifre > 1))
        return {};
    if (n == 2 && uscita[0] == '-' && uscita[1] == '0')
        return QStringLiteral("0");
    return QString::fromLatin1(uscita, static_cast<qsizetype>(n));
}

} // namespace

QString TestoNumero(std::string_view valore)
{
    if (QString semplice = TestoNumeroSemplice(valore); !semplice.isEmpty())
        return semplice;
    Decimale d;
    if (!Analizza(valore, d))
        return {};
    Arrotonda(d);
    while (!d.Cifre.empty() && d.Cifre.back() == '0') {
        d.Cifre.pop_back();
        ++d.Esponente;
    }
    if (d.Cifre.empty())
        return QStringLiteral("0");
    // Past the range of a sheet's numbers the text would be absurdly long: no such cell exists.
    if (d.Esponente > 400 || d.Esponente < -400)
        return {};
    std::string s;
    if (d.Negativo)
        s += '-';
    const auto n = static_cast<std::int64_t>(d.Cifre.size());
    if (d.Esponente >= 0) {
        s += d.Cifre;
        s.append(static_cast<std::size_t>(d.Esponente), '0');
    } else if (-d.Esponente < n) {
        s.append(d.Cifre, 0, static_cast<std::size_t>(n + d.Esponente));
        s += ',';
        s.append(d.Cifre, static_cast<std::size_t>(n + d.Esponente), std::string::npos);
    } else {
        s += "0,";
        s.append(static_cast<std::size_t>(-d.Esponente - n), '0');
        s += d.Cifre;
    }
    return QString::fromLatin1(s.data(), static_cast<qsizetype>(s.size()));
}

QString TestoData(std::string_view valore, bool sistema1904)
{
    Decimale d;
    if (!Analizza(valore, d) || d.Negativo)
        return {};
    // Whole days: drop the fraction (the time of day).
    std::int64_t giorni = 0;
    const auto n = static_cast<std::int64_t>(d.Cifre.size());
    const std::int64_t interi = n + d.Esponente;
    if (interi > 7)
        return {};
    for (std::int64_t k = 0; k < interi; ++k)
        giorni = giorni * 10 + (k < n ? d.Cifre[static_cast<std::size_t>(k)] - '0' : 0);
    // The proleptic Gregorian calendar of QDate, without its text formatting.
    using namespace std::chrono;
    sys_days giorno;
    if (sistema1904) {
        giorno = sys_days(year(1904) / 1 / 1) + days(giorni);
    } else if (giorni == 60) {
        // The 1900 system counts a 29 February 1900 that never was; its text is kept.
        return QStringLiteral("29/02/1900");
    } else if (giorni > 60) {
        giorno = sys_days(year(1899) / 12 / 30) + days(giorni);
    } else {
        giorno = sys_days(year(1899) / 12 / 31) + days(giorni);
    }
    const year_month_day data(giorno);
    const int anno = static_cast<int>(data.year());
    if (anno < 1 || anno > 9999)
        return {};
    const auto mese = static_cast<unsigned>(data.month());
    const auto giornoMese = static_cast<unsigned>(data.day());
    const char testo[10] = {char('0' + giornoMese / 10), char('0' + giornoMese % 10), '/',
                            char('0' + mese / 10),       char('0' + mese % 10),       '/',
                            char('0' + anno / 1000),     char('0' + anno / 100 % 10), char('0' + anno / 10 % 10),
                            char('0' + anno % 10)};
    return QString::fromLatin1(testo, 10);
}

QString TestoDataIso(std::string_view valore)
{
    const QDate data = QDate::fromString(QString::fromLatin1(valore.substr(0, 10).data(), static_cast<qsizetype>(std::min<std::size_t>(valore.size(), 10))),
                                         QStringLiteral("yyyy-MM-dd"));
    if (!data.isValid())
        return {};
    return QStringLiteral("%1/%2/%3")
        .arg(data.day(), 2, 10, QLatin1Char('0'))
        .arg(data.month(), 2, 10, QLatin1Char('0'))
        .arg(data.year(), 4, 10, QLatin1Char('0'));
}

} // namespace quercino::sheets
