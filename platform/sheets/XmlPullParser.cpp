#include "platform/sheets/XmlPullParser.h"

#include "platform/sheets/SheetError.h"

#include <QString>

#include <cstdint>
#include <cstring>

namespace quercino::sheets {

namespace {

constexpr std::size_t Blocco = 1 << 16;
constexpr std::size_t MassimoTag = 1 << 20;
// Workbooks nest a few dozen levels; the count cannot overflow on a part nested without end.
constexpr int MassimaProfondita = 1 << 20;
// The longest entity AggiungiTestoXml reads, '&' and ';' included.
constexpr std::size_t MassimaEntita = 13;

[[noreturn]] void Malformato(const char* dettaglio)
{
    throw SheetError(QStringLiteral("Il foglio contiene XML non valido (%1).").arg(QString::fromUtf8(dettaglio)));
}

void AggiungiUtf8(std::string& s, std::uint32_t c)
{
    if (c == 0 || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
        Malformato("carattere non ammesso");
    if (c < 0x80) {
        s += static_cast<char>(c);
    } else if (c < 0x800) {
        s += static_cast<char>(0xC0 | (c >> 6));
        s += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        s += static_cast<char>(0xE0 | (c >> 12));
        s += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        s += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        s += static_cast<char>(0xF0 | (c >> 18));
        s += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        s += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        s += static_cast<char>(0x80 | (c & 0x3F));
    }
}

bool Spazio(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

} // namespace

void AggiungiLimitato(std::string& destinazione, std::string_view testo)
{
    if (destinazione.size() < MassimoTestoXml)
        destinazione.append(testo.substr(0, MassimoTestoXml - destinazione.size()));
}

void AggiungiTestoXml(std::string& destinazione, std::string_view grezzo)
{
    std::size_t i = 0;
    while (i < grezzo.size()) {
        const auto amp = grezzo.find('&', i);
        if (amp == std::string_view::npos) {
            destinazione.append(grezzo.substr(i));
            return;
        }
        destinazione.append(grezzo.substr(i, amp - i));
        const auto pv = grezzo.find(';', amp);
        if (pv == std::string_view::npos || pv - amp > 12)
            Malformato("entità non chiusa");
        const std::string_view e = grezzo.substr(amp + 1, pv - amp - 1);
        if (e == "lt") destinazione += '<';
        else if (e == "gt") destinazione += '>';
        else if (e == "amp") destinazione += '&';
        else if (e == "quot") destinazione += '"';
        else if (e == "apos") destinazione += '\'';
        else if (e.size() > 1 && e[0] == '#') {
            std::uint32_t c = 0;
            const bool esa = e[1] == 'x' || e[1] == 'X';
            const std::string_view cifre = e.substr(esa ? 2 : 1);
            if (cifre.empty())
                Malformato("riferimento a carattere vuoto");
            for (char d : cifre) {
                int v;
                if (d >= '0' && d <= '9') v = d - '0';
                else if (esa && d >= 'a' && d <= 'f') v = d - 'a' + 10;
                else if (esa && d >= 'A' && d <= 'F') v = d - 'A' + 10;
                else Malformato("riferimento a carattere non valido");
                c = c * (esa ? 16 : 10) + static_cast<std::uint32_t>(v);
                if (c > 0x10FFFF)
                    Malformato("riferimento a carattere non valido");
            }
            AggiungiUtf8(destinazione, c);
        } else {
            Malformato("entità sconosciuta");
        }
        i = pv + 1;
    }
}

XmlPullParser::XmlPullParser(Sorgente sorgente) : sorgente_(std::move(sorgente)) {}

bool XmlPullParser::Riempi()
{
    if (esaurita_)
        return false;
    if (pos_ > 0) {
        std::memmove(buffer_.data(), buffer_.data() + pos_, fine_ - pos_);
        fine_ -= pos_;
        scartati_ += pos_;
        pos_ = 0;
    }
    if (buffer_.size() < fine_ + Blocco)
        buffer_.resize(fine_ + Blocco);
    const std::size_t letti = sorgente_(buffer_.data() + fine_, Blocco);
    fine_ += letti;
    if (letti == 0)
        esaurita_ = true;
    return letti > 0;
}

bool XmlPullParser::Assicura(std::size_t n)
{
    while (fine_ - pos_ < n)
        if (!Riempi())
            return false;
    return true;
}

void XmlPullParser::SaltaFinoA(std::string_view chiusura)
{
    for (;;) {
        const auto trovato = Letti().find(chiusura);
        if (trovato != std::string_view::npos) {
            pos_ += trovato + chiusura.size();
            return;
        }
        // Keep the tail that could hold the start of the closing text.
        if (fine_ - pos_ > chiusura.size())
            pos_ = fine_ - chiusura.size();
        if (!Riempi())
            Malformato("sezione non chiusa");
    }
}

XmlPullParser::Evento XmlPullParser::Prossimo()
{
    if (chiusuraPendente_) {
        chiusuraPendente_ = false;
        profondita_ = livello_--;
        return Evento::Fine;
    }
    for (;;) {
        if (!Assicura(1)) {
            if (livello_ != 0)
                Malformato("documento troncato");
            return Evento::FineDocumento;
        }
        if (buffer_[pos_] != '<') {
            LeggiTesto();
            return Evento::Testo;
        }
        if (!Assicura(2))
            Malformato("documento troncato");
        const char dopo = buffer_[pos_ + 1];
        if (dopo == '?') {
            SaltaFinoA("?>");
            continue;
        }
        if (dopo == '!') {
            Assicura(9);
            if (Letti().starts_with("<!--")) {
                pos_ += 4;
                SaltaFinoA("-->");
                continue;
            }
            if (Letti().starts_with("<![CDATA[")) {
                pos_ += 9;
                decodificato_.clear();
                for (;;) {
                    const auto fine = Letti().find("]]>");
                    if (fine != std::string_view::npos) {
                        AggiungiLimitato(decodificato_, Letti().substr(0, fine));
                        pos_ += fine + 3;
                        testo_ = decodificato_;
                        return Evento::Testo;
                    }
                    const std::size_t tieni = std::min<std::size_t>(2, fine_ - pos_);
                    AggiungiLimitato(decodificato_, Letti().substr(0, fine_ - pos_ - tieni));
                    pos_ = fine_ - tieni;
                    if (!Riempi())
                        Malformato("sezione CDATA non chiusa");
                }
            }
            Malformato("dichiarazione di tipo non ammessa");
        }
        LeggiTag();
        if (!nome_.empty())
            return chiusuraTag_ ? Evento::Fine : Evento::Inizio;
    }
}

void XmlPullParser::Decodifica(std::string_view grezzo)
{
    // Past the limit the text is only read: its bytes are dropped undecoded.
    if (decodificato_.size() >= MassimoTestoXml)
        return;
    AggiungiTestoXml(decodificato_, grezzo);
    if (decodificato_.size() > MassimoTestoXml)
        decodificato_.resize(MassimoTestoXml);
}

void XmlPullParser::LeggiTesto()
{
    // Nearly always the whole text is in the buffer and has no entity: it is not copied.
    const auto lt = Letti().find('<');
    if (lt != std::string_view::npos) {
        const std::string_view grezzo = Letti().substr(0, lt);
        pos_ += lt;
        if (grezzo.find('&') == std::string_view::npos) {
            testo_ = grezzo.substr(0, MassimoTestoXml);
        } else {
            decodificato_.clear();
            Decodifica(grezzo);
            testo_ = decodificato_;
        }
        return;
    }
    decodificato_.clear();
    for (;;) {
        const auto fine = Letti().find('<');
        if (fine != std::string_view::npos) {
            // An entity cut by the buffer end cannot happen here: the whole text up to '<' is present.
            Decodifica(Letti().substr(0, fine));
            pos_ += fine;
            break;
        }
        // Decode what is safe: up to the last '&' that may be an entity cut by the buffer's
        // end. One too far from the end to be an entity is decoded, and refused, now.
        std::size_t sicuro = fine_ - pos_;
        const auto amp = Letti().rfind('&');
        if (amp != std::string_view::npos && Letti().find(';', amp) == std::string_view::npos
            && fine_ - pos_ - amp < MassimaEntita)
            sicuro = amp;
        Decodifica(Letti().substr(0, sicuro));
        pos_ += sicuro;
        if (!Riempi()) {
            if (pos_ < fine_)
                Malformato("entità non chiusa");
            break;
        }
    }
    testo_ = decodificato_;
}

void XmlPullParser::LeggiTag()
{
    inizioTag_ = scartati_ + pos_;
    while (!AnalizzaTag()) {
        if (fine_ - pos_ > MassimoTag)
            Malformato("elemento troppo lungo");
        if (!Riempi())
            Malformato("elemento non chiuso");
    }
}

// The position of the '>' that ends the tag, looking from i on and passing over quoted
// texts; npos when the buffer ends first.
std::size_t XmlPullParser::FineTag(std::size_t i) const
{
    char virgolette = 0;
    for (; i < fine_; ++i) {
        const char c = buffer_[i];
        if (virgolette) {
            if (c == virgolette)
                virgolette = 0;
        } else if (c == '>') {
            return i;
        } else if (c == '"' || c == '\'') {
            virgolette = c;
        }
    }
    return std::string::npos;
}

// Reads the tag at pos_ in one pass: name, attributes, end. False, with nothing changed,
// when the buffer ends inside it.
bool XmlPullParser::AnalizzaTag()
{
    const char* const b = buffer_.data();
    const std::size_t n = fine_;
    std::size_t i = pos_ + 1;
    const bool chiusura = i < n && b[i] == '/';
    if (chiusura)
        ++i;
    const std::size_t inizioNome = i;
    std::size_t locale = i;
    for (; i < n; ++i) {
        const char c = b[i];
        if (Spazio(c) || c == '>' || c == '/')
            break;
        if (c == '<' || c == '"' || c == '\'' || c == '=' || c == '&')
            Malformato("nome di elemento non valido");
        if (c == ':' && locale == inizioNome)
            locale = i + 1;   // the prefix of a namespace is dropped
    }
    if (i >= n)
        return false;
    if (i == inizioNome)
        Malformato("elemento senza nome");
    const std::string_view nome(b + locale, i - locale);
    std::size_t fine = 0;
    attributi_.clear();
    if (chiusura) {
        fine = FineTag(i);
        if (fine == std::string::npos)
            return false;
    } else {
        for (;;) {
            while (i < n && Spazio(b[i]))
                ++i;
            if (i >= n)
                return false;
            if (b[i] == '>' || b[i] == '/') {
                // What follows a '/' up to the end is not read as attributes.
                fine = b[i] == '>' ? i : FineTag(i);
                if (fine == std::string::npos)
                    return false;
                break;
            }
            const std::size_t inizioAttributo = i;
            std::size_t localeAttributo = i;
            for (; i < n && b[i] != '=' && !Spazio(b[i]) && b[i] != '>'; ++i) {
                if (b[i] == '"' || b[i] == '\'')
                    Malformato("nome di attributo non valido");
                if (b[i] == ':' && localeAttributo == inizioAttributo)
                    localeAttributo = i + 1;
            }
            const std::string_view nomeAttributo(b + localeAttributo, i - localeAttributo);
            while (i < n && Spazio(b[i]))
                ++i;
            if (i >= n)
                return false;
            if (b[i] != '=')
                Malformato("attributo senza valore");
            ++i;
            while (i < n && Spazio(b[i]))
                ++i;
            if (i >= n)
                return false;
            if (b[i] != '"' && b[i] != '\'')
                Malformato("valore di attributo senza virgolette");
            const char q = b[i];
            std::size_t chiusa = i + 1;
            while (chiusa < n && b[chiusa] != q)
                ++chiusa;
            if (chiusa >= n)
                return false;
            attributi_.emplace_back(nomeAttributo, std::string_view(b + i + 1, chiusa - i - 1));
            i = chiusa + 1;
        }
    }
    // The tag is whole: the state changes only now.
    nome_ = nome;
    chiusuraTag_ = chiusura;
    const bool vuoto = !chiusura && fine > pos_ + 1 && b[fine - 1] == '/';
    pos_ = fine + 1;
    if (chiusura) {
        if (livello_ == 0)
            Malformato("chiusura senza apertura");
        profondita_ = livello_--;
        return true;
    }
    if (livello_ >= MassimaProfondita)
        Malformato("elementi annidati troppo in profondità");
    profondita_ = ++livello_;
    chiusuraPendente_ = vuoto;
    return true;
}

std::optional<std::string_view> XmlPullParser::AttributoVeloce(std::string_view nomeLocale, std::string& appoggio) const
{
    for (const auto& [nome, valore] : attributi_) {
        if (nome == nomeLocale) {
            if (valore.find('&') == std::string_view::npos)
                return valore;
            appoggio.clear();
            AggiungiTestoXml(appoggio, valore);
            return std::string_view(appoggio);
        }
    }
    return std::nullopt;
}

std::optional<std::string> XmlPullParser::Attributo(std::string_view nomeLocale) const
{
    for (const auto& [nome, valore] : attributi_) {
        if (nome == nomeLocale) {
            std::string s;
            AggiungiTestoXml(s, valore);
            return s;
        }
    }
    return std::nullopt;
}

} // namespace quercino::sheets
