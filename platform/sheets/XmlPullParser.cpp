#include "platform/sheets/XmlPullParser.h"

#include "platform/sheets/SheetError.h"

#include <QString>

#include <array>
#include <cstdint>
#include <cstring>

namespace quercino::sheets {

namespace {

constexpr std::size_t Blocco = 1 << 16;
constexpr std::size_t MassimoTag = 1 << 20;

[[noreturn]] void Malformato(const char* dettaglio)
{
    throw SheetError(QStringLiteral("Il foglio contiene XML non valido (%1).").arg(QString::fromLatin1(dettaglio)));
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

// The characters that end the scan of a tag: its end and the quotes of its values.
constexpr auto FineOVirgolette = [] {
    std::array<bool, 256> t{};
    t['>'] = t['"'] = t['\''] = true;
    return t;
}();

std::string_view NomeLocale(std::string_view nome)
{
    const auto due = nome.find(':');
    return due == std::string_view::npos ? nome : nome.substr(due + 1);
}

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
        buffer_.erase(0, pos_);
        pos_ = 0;
    }
    const std::size_t prima = buffer_.size();
    buffer_.resize(prima + Blocco);
    const std::size_t letti = sorgente_(buffer_.data() + prima, Blocco);
    buffer_.resize(prima + letti);
    if (letti == 0)
        esaurita_ = true;
    return letti > 0;
}

bool XmlPullParser::Assicura(std::size_t n)
{
    while (buffer_.size() - pos_ < n)
        if (!Riempi())
            return false;
    return true;
}

void XmlPullParser::SaltaFinoA(std::string_view chiusura)
{
    for (;;) {
        const auto trovato = buffer_.find(chiusura, pos_);
        if (trovato != std::string::npos) {
            pos_ = trovato + chiusura.size();
            return;
        }
        // Keep the tail that could hold the start of the closing text.
        if (buffer_.size() - pos_ > chiusura.size())
            pos_ = buffer_.size() - chiusura.size();
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
            if (buffer_.compare(pos_, 4, "<!--") == 0) {
                pos_ += 4;
                SaltaFinoA("-->");
                continue;
            }
            if (buffer_.compare(pos_, 9, "<![CDATA[") == 0) {
                pos_ += 9;
                testo_.clear();
                for (;;) {
                    const auto fine = buffer_.find("]]>", pos_);
                    if (fine != std::string::npos) {
                        AggiungiLimitato(testo_, std::string_view(buffer_).substr(pos_, fine - pos_));
                        pos_ = fine + 3;
                        return Evento::Testo;
                    }
                    const std::size_t tieni = std::min<std::size_t>(2, buffer_.size() - pos_);
                    AggiungiLimitato(testo_, std::string_view(buffer_).substr(pos_, buffer_.size() - pos_ - tieni));
                    pos_ = buffer_.size() - tieni;
                    if (!Riempi())
                        Malformato("sezione CDATA non chiusa");
                }
            }
            Malformato("dichiarazione di tipo non ammessa");
        }
        LeggiTag();
        if (!nome_.empty())
            return tag_[1] == '/' ? Evento::Fine : Evento::Inizio;
    }
}

void XmlPullParser::Decodifica(std::string_view grezzo)
{
    // Past the limit the text is only read: its bytes are dropped undecoded.
    if (testo_.size() >= MassimoTestoXml)
        return;
    AggiungiTestoXml(testo_, grezzo);
    if (testo_.size() > MassimoTestoXml)
        testo_.resize(MassimoTestoXml);
}

void XmlPullParser::LeggiTesto()
{
    testo_.clear();
    std::size_t inizio = pos_;
    for (;;) {
        const auto lt = buffer_.find('<', inizio);
        if (lt != std::string::npos) {
            // An entity cut by the buffer end cannot happen here: the whole text up to '<' is present.
            Decodifica(std::string_view(buffer_).substr(pos_, lt - pos_));
            pos_ = lt;
            return;
        }
        // Decode what is safe: up to the last '&' that may be unfinished.
        std::size_t sicuro = buffer_.size();
        const auto amp = buffer_.rfind('&');
        if (amp != std::string::npos && amp >= pos_ && buffer_.find(';', amp) == std::string::npos)
            sicuro = amp;
        Decodifica(std::string_view(buffer_).substr(pos_, sicuro - pos_));
        pos_ = sicuro;
        if (!Riempi()) {
            if (pos_ < buffer_.size())
                Malformato("entità non chiusa");
            return;
        }
        inizio = pos_;
    }
}

void XmlPullParser::LeggiTag()
{
    // Find the closing '>' outside quoted attribute values, jumping from one mark to the
    // next rather than looking at every character.
    std::size_t i = pos_ + 1;
    char virgolette = 0;
    for (;;) {
        const char* inizio = buffer_.data() + i;
        const std::size_t resto = i < buffer_.size() ? buffer_.size() - i : 0;
        const char* trovato = nullptr;
        if (virgolette) {
            trovato = static_cast<const char*>(std::memchr(inizio, virgolette, resto));
        } else {
            for (const char* p = inizio; p < inizio + resto; ++p) {
                if (FineOVirgolette[static_cast<unsigned char>(*p)]) {
                    trovato = p;
                    break;
                }
            }
        }
        if (!trovato) {
            const std::size_t relativo = buffer_.size() - pos_;
            if (!Riempi())
                Malformato("elemento non chiuso");
            i = pos_ + relativo;
            if (i - pos_ > MassimoTag)
                Malformato("elemento troppo lungo");
            continue;
        }
        i = static_cast<std::size_t>(trovato - buffer_.data());
        if (virgolette)
            virgolette = 0;
        else if (*trovato == '>')
            break;
        else
            virgolette = *trovato;
        ++i;
    }
    // buffer_ does not change until the next event, so the tag is not copied.
    tag_ = std::string_view(buffer_).substr(pos_, i + 1 - pos_);
    pos_ = i + 1;

    const bool chiusura = tag_.size() > 1 && tag_[1] == '/';
    const bool vuoto = !chiusura && tag_.size() > 2 && tag_[tag_.size() - 2] == '/';
    std::size_t p = chiusura ? 2 : 1;
    std::size_t q = p;
    while (q < tag_.size() && !Spazio(tag_[q]) && tag_[q] != '>' && tag_[q] != '/')
        ++q;
    if (q == p)
        Malformato("elemento senza nome");
    for (std::size_t k = p; k < q; ++k)
        if (tag_[k] == '<' || tag_[k] == '"' || tag_[k] == '\'' || tag_[k] == '=' || tag_[k] == '&')
            Malformato("nome di elemento non valido");
    nome_ = NomeLocale(tag_.substr(p, q - p));
    attributi_.clear();
    if (chiusura) {
        if (livello_ == 0)
            Malformato("chiusura senza apertura");
        profondita_ = livello_--;
        return;
    }
    profondita_ = ++livello_;
    AnalizzaAttributi(q);
    chiusuraPendente_ = vuoto;
}

void XmlPullParser::AnalizzaAttributi(std::size_t i)
{
    const std::string_view t = tag_;
    for (;;) {
        while (i < t.size() && Spazio(t[i]))
            ++i;
        if (i >= t.size() || t[i] == '>' || t[i] == '/')
            return;
        std::size_t n = i;
        while (n < t.size() && t[n] != '=' && !Spazio(t[n]) && t[n] != '>')
            ++n;
        const std::string_view nome = t.substr(i, n - i);
        while (n < t.size() && Spazio(t[n]))
            ++n;
        if (n >= t.size() || t[n] != '=')
            Malformato("attributo senza valore");
        ++n;
        while (n < t.size() && Spazio(t[n]))
            ++n;
        if (n >= t.size() || (t[n] != '"' && t[n] != '\''))
            Malformato("valore di attributo senza virgolette");
        const char q = t[n];
        const auto fine = t.find(q, n + 1);
        if (fine == std::string_view::npos)
            Malformato("valore di attributo non chiuso");
        attributi_.emplace_back(NomeLocale(nome), t.substr(n + 1, fine - n - 1));
        i = fine + 1;
    }
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
