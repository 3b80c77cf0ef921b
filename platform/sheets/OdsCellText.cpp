#include "platform/sheets/OdsCellText.h"

#include "platform/sheets/XlsxCellText.h"
#include "platform/sheets/XlsxSharedStrings.h"

#include <charconv>
#include <cstdint>
#include <string>
#include <utility>

namespace quercino::sheets {

namespace {

bool Cifra(char c) { return c >= '0' && c <= '9'; }

// Digits from v[i] on, at most `massimo` of them; false when there are none or more.
bool Numero(std::string_view v, std::size_t& i, int massimo, std::uint64_t& n)
{
    const std::size_t inizio = i;
    n = 0;
    while (i < v.size() && Cifra(v[i])) {
        if (static_cast<int>(i - inizio) == massimo)
            return false;
        n = n * 10 + static_cast<std::uint64_t>(v[i++] - '0');
    }
    return i > inizio;
}

bool Uguali(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const char c = a[i] >= 'a' && a[i] <= 'z' ? static_cast<char>(a[i] - 32) : a[i];
        if (c != b[i])
            return false;
    }
    return true;
}

} // namespace

QString TestoDurata(std::string_view v)
{
    // [-]P[nD][T[nH][nM][n[.n]S]]: years and months have no fixed length in days.
    std::size_t i = 0;
    const bool negativa = i < v.size() && v[i] == '-';
    if (negativa)
        ++i;
    if (i >= v.size() || v[i++] != 'P')
        return {};
    constexpr int Cifre = 12;
    constexpr std::uint64_t Unita = 1'000'000'000'000'000'000;
    unsigned __int128 secondi = 0;      // in units of 10^-18 seconds
    bool tempo = false;
    bool qualcosa = false;
    char ultima = 0;                    // the last designator read, to keep their order
    const std::string_view ordine = "DHMS";
    while (i < v.size()) {
        if (v[i] == 'T') {
            if (tempo)
                return {};
            tempo = true;
            ++i;
            continue;
        }
        std::uint64_t n = 0;
        if (!Numero(v, i, Cifre, n))
            return {};
        std::uint64_t frazione = 0;
        if (i < v.size() && (v[i] == '.' || v[i] == ',')) {
            ++i;
            std::uint64_t scala = Unita;
            const std::size_t inizio = i;
            while (i < v.size() && Cifra(v[i])) {
                if (scala > 1) {
                    scala /= 10;
                    frazione += static_cast<std::uint64_t>(v[i] - '0') * scala;
                }
                ++i;
            }
            if (i == inizio || i >= v.size() || v[i] != 'S')
                return {};
        }
        if (i >= v.size())
            return {};
        const char designatore = v[i++];
        if ((designatore == 'D') == tempo || ordine.find(designatore) == std::string_view::npos
            || (ultima && ordine.find(designatore) <= ordine.find(ultima)))
            return {};
        ultima = designatore;
        const std::uint64_t perUnita = designatore == 'D' ? 86400 : designatore == 'H' ? 3600 : designatore == 'M' ? 60 : 1;
        secondi += static_cast<unsigned __int128>(n) * perUnita * Unita + frazione;
        qualcosa = true;
    }
    if (!qualcosa || (tempo && ultima == 'D'))
        return {};
    // The days, exactly, to more digits than a sheet shows; TestoNumero rounds them to 15.
    constexpr unsigned __int128 Giorno = static_cast<unsigned __int128>(86400) * Unita;
    unsigned __int128 intera = secondi / Giorno;
    unsigned __int128 resto = secondi % Giorno;
    std::string cifre;
    do {
        cifre.insert(cifre.begin(), static_cast<char>('0' + static_cast<int>(intera % 10)));
        intera /= 10;
    } while (intera > 0);
    std::string testo = (negativa ? "-" : "") + cifre + '.';
    for (int k = 0; k < 24; ++k) {
        resto *= 10;
        testo += static_cast<char>('0' + static_cast<int>(resto / Giorno));
        resto %= Giorno;
    }
    return TestoNumero(testo);
}

std::optional<bool> ValoreBooleano(std::string_view v)
{
    if (v == "true")
        return true;
    if (v == "false")
        return false;
    double numero = 0;
    const auto [fine, errore] = std::from_chars(v.data(), v.data() + v.size(), numero);
    if (v.empty() || errore != std::errc() || fine != v.data() + v.size())
        return std::nullopt;
    return numero != 0;
}

std::optional<bool> TestoBooleano(std::string_view testo)
{
    if (Uguali(testo, "TRUE") || Uguali(testo, "VERO"))
        return true;
    if (Uguali(testo, "FALSE") || Uguali(testo, "FALSO"))
        return false;
    return std::nullopt;
}

std::optional<QString> ErroreMostrato(std::string_view testo)
{
    // Each error's English form, then the Italian one an Italian spreadsheet program shows.
    static constexpr std::pair<std::string_view, std::string_view> Errori[] = {
        {"#NULL!", "#NULLO!"}, {"#DIV/0!", "#DIV/0!"}, {"#VALUE!", "#VALORE!"}, {"#REF!", "#RIF!"},
        {"#NAME?", "#NOME?"},  {"#NUM!", "#NUM!"},     {"#N/A", "#N/D"},        {"#GETTING_DATA", "#GETTING_DATA"}};
    for (const auto& [inglese, italiano] : Errori)
        if (testo == inglese || testo == italiano)
            return QString::fromLatin1(inglese.data(), static_cast<qsizetype>(inglese.size()));
    return std::nullopt;
}

std::optional<bool> FormulaBooleana(std::string_view formula)
{
    // The namespace prefix of the formula's syntax («of:», «oooc:», «msoxl:») comes first.
    const auto uguale = formula.find(":=");
    std::string_view espressione = uguale == std::string_view::npos ? formula : formula.substr(uguale + 1);
    if (!espressione.starts_with('='))
        return std::nullopt;
    espressione.remove_prefix(1);
    if (Uguali(espressione, "TRUE()"))
        return true;
    if (Uguali(espressione, "FALSE()"))
        return false;
    return std::nullopt;
}

QString TestoCellaOds(std::string_view utf8)
{
    QString testo = QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
    testo.truncate(MassimoCaratteriCella);
    return testo;
}

} // namespace quercino::sheets
