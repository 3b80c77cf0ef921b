#include "platform/sheets/XmlPullParser.h"

#include "platform/sheets/SheetError.h"

#include <QString>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <iterator>

namespace quercino::sheets {

namespace {

constexpr std::size_t Blocco = 1 << 16;
constexpr std::size_t MassimoTag = 1 << 20;
// Workbooks nest a few dozen levels; the count cannot overflow on a part nested without end.
constexpr int MassimaProfondita = 1 << 20;
// A part declares a few dozen namespaces; one that declares them without end is refused
// before they fill memory.
constexpr std::size_t MassimeDichiarazioni = 1 << 16;
// The longest entity the decoding reads, '&' and ';' included.
constexpr std::size_t MassimaEntita = 13;

constexpr std::string_view SpazioXml = "http://www.w3.org/XML/1998/namespace";

enum class Modo { Testo, Attributo };

bool Bianco(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// Raw text between entities as XML reads it: a CR LF pair and a lone CR are a LF; in an
// attribute's value a tab, a LF and a CR (a CR LF pair) are each one blank.
void AggiungiGrezzo(std::string& d, std::string_view grezzo, Modo modo)
{
    std::size_t i = 0;
    while (i < grezzo.size()) {
        const auto speciale = modo == Modo::Testo ? grezzo.find('\r', i) : grezzo.find_first_of("\t\n\r", i);
        if (speciale == std::string_view::npos) {
            d.append(grezzo.substr(i));
            return;
        }
        d.append(grezzo.substr(i, speciale - i));
        d += modo == Modo::Testo ? '\n' : ' ';
        i = speciale + 1;
        if (grezzo[speciale] == '\r' && i < grezzo.size() && grezzo[i] == '\n')
            ++i;
    }
}

void AggiungiUtf8(std::string& s, std::uint32_t c, const XmlPullParser& xml)
{
    if (c == 0 || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
        xml.Malformato("carattere non ammesso");
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

// Resolves the five named entities and character references into UTF-8; a character given
// by reference is kept as it is (&#13; stays a CR).
void AggiungiDecodificato(std::string& destinazione, std::string_view grezzo, Modo modo, const XmlPullParser& xml)
{
    std::size_t i = 0;
    while (i < grezzo.size()) {
        const auto amp = grezzo.find('&', i);
        if (amp == std::string_view::npos) {
            AggiungiGrezzo(destinazione, grezzo.substr(i), modo);
            return;
        }
        AggiungiGrezzo(destinazione, grezzo.substr(i, amp - i), modo);
        const auto pv = grezzo.find(';', amp);
        if (pv == std::string_view::npos || pv - amp > MassimaEntita - 1)
            xml.Malformato("entità non chiusa");
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
                xml.Malformato("riferimento a carattere vuoto");
            for (char d : cifre) {
                int v;
                if (d >= '0' && d <= '9') v = d - '0';
                else if (esa && d >= 'a' && d <= 'f') v = d - 'a' + 10;
                else if (esa && d >= 'A' && d <= 'F') v = d - 'A' + 10;
                else xml.Malformato("riferimento a carattere non valido");
                c = c * (esa ? 16 : 10) + static_cast<std::uint32_t>(v);
                if (c > 0x10FFFF)
                    xml.Malformato("riferimento a carattere non valido");
            }
            AggiungiUtf8(destinazione, c, xml);
        } else {
            xml.Malformato("entità sconosciuta");
        }
        i = pv + 1;
    }
}

// What the characters of a tag's names are to its reading: most are part of the name; the
// others end it, are refused in it, or split it into prefix and local name. A table read
// once a character, where the tests would be several.
enum : unsigned char { DelNome = 0, FineNome = 1, VietatoNelNome = 2, DuePunti = 3 };

constexpr std::array<unsigned char, 256> Classi(bool elemento)
{
    std::array<unsigned char, 256> t{};
    for (const unsigned char c : {' ', '\t', '\r', '\n', '>'})
        t[c] = FineNome;
    t[static_cast<unsigned char>(elemento ? '/' : '=')] = FineNome;
    for (const unsigned char c : {'"', '\''})
        t[c] = VietatoNelNome;
    if (elemento)
        for (const unsigned char c : {'<', '=', '&'})
            t[c] = VietatoNelNome;
    t[static_cast<unsigned char>(':')] = DuePunti;
    return t;
}

constexpr std::array<unsigned char, 256> ClassiElemento = Classi(true);
constexpr std::array<unsigned char, 256> ClassiAttributo = Classi(false);

// Prefixes are a few letters: compared in place, without a call for each.
bool Uguali(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (a[i] != b[i])
            return false;
    return true;
}

// A prefix's length and three of its letters: different prefixes nearly always differ in it.
std::uint32_t ChiavePrefisso(std::string_view p)
{
    if (p.empty())
        return 0;
    return static_cast<std::uint32_t>(p.size() & 0xFF) | static_cast<std::uint32_t>(static_cast<std::uint8_t>(p.front())) << 8
        | static_cast<std::uint32_t>(static_cast<std::uint8_t>(p[p.size() / 2])) << 16
        | static_cast<std::uint32_t>(static_cast<std::uint8_t>(p.back())) << 24;
}

// Whether an attribute's value needs decoding: an entity, or white space other than blanks.
// Values are short (references, styles, types): a plain loop beats a search for each kind.
bool DaDecodificare(std::string_view valore)
{
    for (const char c : valore)
        if (c == '&' || c == '\t' || c == '\n' || c == '\r')
            return true;
    return false;
}

// The name b[inizio, fine) split at its colon (`due`, npos when it has none); false when it
// is no qualified name (an empty prefix or local name, a second colon).
bool NomeQualificato(const char* b, std::size_t inizio, std::size_t fine, std::size_t due, std::string_view& prefisso,
                     std::string_view& locale)
{
    if (due == std::string::npos) {
        prefisso = {};
        locale = std::string_view(b + inizio, fine - inizio);
        return fine > inizio;
    }
    prefisso = std::string_view(b + inizio, due - inizio);
    locale = std::string_view(b + due + 1, fine - due - 1);
    return !prefisso.empty() && !locale.empty();
}

} // namespace

void AggiungiLimitato(std::string& destinazione, std::string_view testo)
{
    if (destinazione.size() < MassimoTestoXml)
        destinazione.append(testo.substr(0, MassimoTestoXml - destinazione.size()));
}

XmlPullParser::XmlPullParser(Sorgente sorgente, std::vector<SpazioNomi> spazi, OrigineXml origine)
    : sorgente_(std::move(sorgente)), spaziNoti_(std::move(spazi)), origine_(std::move(origine))
{
    // The prefix xml is bound without being declared.
    Dichiara("xml", SpazioXml, 0);
}

void XmlPullParser::Malformato(const char* dettaglio) const
{
    const QString motivo = QString::fromUtf8(dettaglio);
    if (origine_.Parte.empty() && origine_.File.empty())
        throw SheetError(QStringLiteral("Il foglio contiene XML non valido (%1).").arg(motivo));
    if (origine_.Parte.empty())
        throw SheetError(QStringLiteral("Il file %1 contiene XML non valido (%2).").arg(QString::fromStdString(origine_.File), motivo));
    throw SheetError(QStringLiteral("La parte %1 del file %2 contiene XML non valido (%3).")
                         .arg(QString::fromStdString(origine_.Parte), QString::fromStdString(origine_.File), motivo));
}

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
        aperti_.pop_back();
        profondita_ = livello_--;
        Chiudi(profondita_);
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
            // Outside the root element there is no text of the document (line ends, a mark
            // of the encoding).
            if (livello_ == 0)
                continue;
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
                        if (decodificato_.size() < MassimoTestoXml)
                            AggiungiGrezzo(decodificato_, Letti().substr(0, fine), Modo::Testo);
                        pos_ += fine + 3;
                        decodificato_.resize(std::min(decodificato_.size(), MassimoTestoXml));
                        testo_ = decodificato_;
                        return Evento::Testo;
                    }
                    // Kept back: what may begin the end of the section, and a CR whose LF
                    // may follow.
                    std::size_t tieni = std::min<std::size_t>(2, fine_ - pos_);
                    if (fine_ - pos_ > tieni && buffer_[fine_ - tieni - 1] == '\r')
                        ++tieni;
                    if (decodificato_.size() < MassimoTestoXml)
                        AggiungiGrezzo(decodificato_, Letti().substr(0, fine_ - pos_ - tieni), Modo::Testo);
                    decodificato_.resize(std::min(decodificato_.size(), MassimoTestoXml));
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
    AggiungiDecodificato(decodificato_, grezzo, Modo::Testo, *this);
    if (decodificato_.size() > MassimoTestoXml)
        decodificato_.resize(MassimoTestoXml);
}

void XmlPullParser::LeggiTesto()
{
    // Nearly always the whole text is in the buffer, with no entity and no CR: it is not copied.
    const auto lt = Letti().find('<');
    if (lt != std::string_view::npos) {
        const std::string_view grezzo = Letti().substr(0, lt);
        pos_ += lt;
        if (grezzo.find('&') == std::string_view::npos && grezzo.find('\r') == std::string_view::npos) {
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
        // end (one too far from the end to be an entity is decoded, and refused, now), and
        // short of a last CR, whose LF may come with the next bytes.
        std::size_t sicuro = fine_ - pos_;
        const auto amp = Letti().rfind('&');
        if (amp != std::string_view::npos && Letti().find(';', amp) == std::string_view::npos
            && fine_ - pos_ - amp < MassimaEntita)
            sicuro = amp;
        if (sicuro > 0 && buffer_[pos_ + sicuro - 1] == '\r')
            --sicuro;
        Decodifica(Letti().substr(0, sicuro));
        pos_ += sicuro;
        if (!Riempi()) {
            // The source ends in the text: what is left is decoded, or refused.
            Decodifica(Letti());
            pos_ = fine_;
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
    std::size_t due = std::string::npos;
    for (; i < n; ++i) {
        const unsigned char classe = ClassiElemento[static_cast<unsigned char>(b[i])];
        if (classe == DelNome)
            continue;
        if (classe == FineNome)
            break;
        if (classe == VietatoNelNome || due != std::string::npos)
            Malformato("nome di elemento non valido");
        due = i;
    }
    if (i >= n)
        return false;
    if (i == inizioNome)
        Malformato("elemento senza nome");
    std::string_view prefisso, nome;
    if (!NomeQualificato(b, inizioNome, i, due, prefisso, nome))
        Malformato("nome di elemento non valido");
    std::size_t fine = 0;
    attributi_.clear();
    bool dichiarazioni = false;   // the tag declares namespaces
    if (chiusura) {
        fine = FineTag(i);
        if (fine == std::string::npos)
            return false;
    } else {
        for (;;) {
            while (i < n && Bianco(b[i]))
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
            std::size_t dueAttributo = std::string::npos;
            for (; i < n; ++i) {
                const unsigned char classe = ClassiAttributo[static_cast<unsigned char>(b[i])];
                if (classe == DelNome)
                    continue;
                if (classe == FineNome)
                    break;
                if (classe == VietatoNelNome || dueAttributo != std::string::npos)
                    Malformato("nome di attributo non valido");
                dueAttributo = i;
            }
            std::string_view prefissoAttributo, nomeAttributo;
            if (i < n && !NomeQualificato(b, inizioAttributo, i, dueAttributo, prefissoAttributo, nomeAttributo))
                Malformato("nome di attributo non valido");
            dichiarazioni |= prefissoAttributo == "xmlns" || (prefissoAttributo.empty() && nomeAttributo == "xmlns");
            while (i < n && Bianco(b[i]))
                ++i;
            if (i >= n)
                return false;
            if (b[i] != '=')
                Malformato("attributo senza valore");
            ++i;
            while (i < n && Bianco(b[i]))
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
            attributi_.push_back({SenzaSpazio, nomeAttributo, std::string_view(b + i + 1, chiusa - i - 1), prefissoAttributo});
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
        // Elements end by depth: the one closed is the one opened there, in its namespace.
        spazio_ = aperti_.back();
        aperti_.pop_back();
        profondita_ = livello_--;
        Chiudi(profondita_);
        return true;
    }
    if (livello_ >= MassimaProfondita)
        Malformato("elementi annidati troppo in profondità");
    const int livello = livello_ + 1;
    // The element's own declarations hold for its name and its attributes too; they are no
    // attributes of it.
    if (dichiarazioni) {
        const auto dichiarazione = [](const AttributoXml& a) { return a.Prefisso == "xmlns" || (a.Prefisso.empty() && a.Nome == "xmlns"); };
        for (const AttributoXml& a : attributi_)
            if (dichiarazione(a))
                Dichiara(a.Prefisso.empty() ? std::string_view() : a.Nome, a.Valore, livello);
        attributi_.erase(std::remove_if(attributi_.begin(), attributi_.end(), dichiarazione), attributi_.end());
    }
    spazio_ = prefisso.empty() && predefinitoNoto_ ? predefinito_ : Risolvi(prefisso, true);
    aperti_.push_back(spazio_);
    for (AttributoXml& a : attributi_)
        if (!a.Prefisso.empty())
            a.Spazio = Risolvi(a.Prefisso, false);
    profondita_ = livello_ = livello;
    chiusuraPendente_ = vuoto;
    return true;
}

void XmlPullParser::Dichiara(std::string_view prefisso, std::string_view grezzo, int livello)
{
    if (prefisso == "xmlns")
        Malformato("prefisso riservato");
    if (dichiarazioni_.size() >= MassimeDichiarazioni)
        Malformato("troppe dichiarazioni di spazi dei nomi");
    std::string uri;
    ValoreAttributo(uri, grezzo);
    // The prefix xml is bound once and for all: a part may only say so again.
    if (prefisso == "xml" && livello > 0) {
        if (uri != SpazioXml)
            Malformato("prefisso riservato");
        return;
    }
    int spazio = SpazioIgnoto;
    if (uri.empty()) {
        // Only the default namespace can be taken back so.
        if (!prefisso.empty())
            Malformato("prefisso dichiarato senza spazio dei nomi");
        spazio = SenzaSpazio;
    } else {
        for (const SpazioNomi& noto : spaziNoti_)
            if (noto.Uri == uri)
                spazio = noto.Numero;
    }
    auto voce = legami_.find(prefisso);
    if (voce == legami_.end())
        voce = legami_.emplace(std::string(prefisso), std::vector<int>()).first;
    voce->second.push_back(spazio);
    dichiarazioni_.emplace_back(livello, std::string(prefisso));
    for (Risolto& r : risolti_)
        r.Valido = false;
    predefinitoNoto_ = false;
}

void XmlPullParser::Svincola(int livello)
{
    while (!dichiarazioni_.empty() && dichiarazioni_.back().first >= livello) {
        const auto voce = legami_.find(dichiarazioni_.back().second);
        voce->second.pop_back();
        dichiarazioni_.pop_back();
    }
    for (Risolto& r : risolti_)
        r.Valido = false;
    predefinitoNoto_ = false;
}

int XmlPullParser::Risolvi(std::string_view prefisso, bool elemento)
{
    if (prefisso.empty()) {
        if (!elemento)
            return SenzaSpazio;
        if (!predefinitoNoto_) {
            const auto voce = legami_.find(std::string_view());
            predefinito_ = voce != legami_.end() && !voce->second.empty() ? voce->second.back() : SenzaSpazio;
            predefinitoNoto_ = true;
        }
        return predefinito_;
    }
    const std::uint32_t chiave = ChiavePrefisso(prefisso);
    for (const Risolto& r : risolti_)
        if (r.Chiave == chiave && r.Valido && Uguali(r.Prefisso, prefisso))
            return r.Spazio;
    const auto voce = legami_.find(prefisso);
    int spazio = SenzaSpazio;
    if (voce != legami_.end() && !voce->second.empty())
        spazio = voce->second.back();
    else if (!prefisso.empty())
        Malformato("prefisso non dichiarato");
    Risolto& r = risolti_[prossimoRisolto_++ % std::size(risolti_)];
    r.Prefisso.assign(prefisso);
    r.Chiave = chiave;
    r.Spazio = spazio;
    r.Valido = true;
    return spazio;
}

std::vector<std::pair<std::string, int>> XmlPullParser::LegamiInVigore() const
{
    std::vector<std::pair<std::string, int>> legami;
    for (const auto& [prefisso, spazi] : legami_)
        if (!spazi.empty() && prefisso != "xml")
            legami.emplace_back(prefisso, spazi.back());
    return legami;
}

void XmlPullParser::Presupponi(const std::vector<std::pair<std::string, int>>& legami)
{
    for (const auto& [prefisso, spazio] : legami) {
        if (dichiarazioni_.size() >= MassimeDichiarazioni)
            Malformato("troppe dichiarazioni di spazi dei nomi");
        legami_[prefisso].push_back(spazio);
        dichiarazioni_.emplace_back(0, prefisso);
    }
    for (Risolto& r : risolti_)
        r.Valido = false;
    predefinitoNoto_ = false;
}

void XmlPullParser::ValoreAttributo(std::string& destinazione, std::string_view grezzo) const
{
    destinazione.clear();
    if (!DaDecodificare(grezzo))
        destinazione.assign(grezzo);
    else
        AggiungiDecodificato(destinazione, grezzo, Modo::Attributo, *this);
}

std::optional<std::string_view> XmlPullParser::AttributoVeloce(int spazio, std::string_view nome, std::string& appoggio) const
{
    for (const AttributoXml& a : attributi_) {
        if (a.Spazio == spazio && a.Nome == nome) {
            if (!DaDecodificare(a.Valore))
                return a.Valore;
            ValoreAttributo(appoggio, a.Valore);
            return std::string_view(appoggio);
        }
    }
    return std::nullopt;
}

std::optional<std::string> XmlPullParser::Attributo(int spazio, std::string_view nome) const
{
    for (const AttributoXml& a : attributi_) {
        if (a.Spazio == spazio && a.Nome == nome) {
            std::string s;
            ValoreAttributo(s, a.Valore);
            return s;
        }
    }
    return std::nullopt;
}

} // namespace quercino::sheets
