#pragma once
// A small pull parser for the XML parts of a workbook: elements, attributes and text, read
// from a byte source in chunks so that a sheet of any size needs only a small buffer.
// Elements and attributes come with their local name and the number of their namespace
// (the reader names the namespaces it knows; a prefix stands for nothing by itself, as
// producers choose their own). Text comes back as UTF-8 with entities resolved and line
// ends as XML reads them. Document types are refused (workbooks never carry one).

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

namespace quercino::sheets {

// Texts are kept up to this many bytes and the rest is read and dropped: far more than a
// cell holds (32,767 characters), little enough that one hostile text cannot fill memory.
inline constexpr std::size_t MassimoTestoXml = std::size_t{1} << 20;

// Appends `testo` to `destinazione` up to MassimoTestoXml bytes in all.
void AggiungiLimitato(std::string& destinazione, std::string_view testo);

// A namespace a reader knows, by its URI, and the number (above 0) it is known by. Two
// URIs may share a number (the transitional and the strict form of a format).
struct SpazioNomi {
    std::string_view Uri;
    int Numero;
};

// Elements and attributes with no namespace (an attribute without a prefix has none).
inline constexpr int SenzaSpazio = 0;
// Elements and attributes of a namespace the reader does not know.
inline constexpr int SpazioIgnoto = -1;

// An attribute as a tag holds it.
struct AttributoXml {
    int Spazio;
    std::string_view Nome;      // local name
    std::string_view Valore;    // as written: XmlPullParser::ValoreAttributo reads it
    std::string_view Prefisso;  // as written, which says nothing by itself
};

// What a parser reads, for its messages: the part and the file that holds it.
struct OrigineXml {
    std::string Parte;
    std::string File;
};

class XmlPullParser {
public:
    using Sorgente = std::function<std::size_t(char*, std::size_t)>;
    enum class Evento { Inizio, Fine, Testo, FineDocumento };

    explicit XmlPullParser(Sorgente sorgente, std::vector<SpazioNomi> spazi = {}, OrigineXml origine = {});

    // Throws SheetError on malformed XML (an undeclared prefix too). A self-closing element
    // gives Inizio then Fine.
    Evento Prossimo();

    // Local name and namespace of the element of the last Inizio or Fine.
    std::string_view Nome() const { return nome_; }
    int Spazio() const { return spazio_; }
    bool E(int spazio, std::string_view nome) const { return spazio_ == spazio && nome_ == nome; }
    // Value of an attribute of the last Inizio, entities resolved; without a namespace
    // (written without prefix) when none is given.
    std::optional<std::string> Attributo(std::string_view nome) const { return Attributo(SenzaSpazio, nome); }
    std::optional<std::string> Attributo(int spazio, std::string_view nome) const;
    // The same without a copy when the value needs no decoding (cell references, styles,
    // types); `appoggio` receives the decoded value otherwise. Valid until the next event.
    std::optional<std::string_view> AttributoVeloce(std::string_view nome, std::string& appoggio) const
    {
        return AttributoVeloce(SenzaSpazio, nome, appoggio);
    }
    std::optional<std::string_view> AttributoVeloce(int spazio, std::string_view nome, std::string& appoggio) const;
    // Every attribute of the last Inizio but the namespace declarations. Valid until the next event.
    const std::vector<AttributoXml>& Attributi() const { return attributi_; }
    // An attribute's value as written, read into `destinazione`: entities resolved, white
    // space normalized as XML reads attribute values.
    void ValoreAttributo(std::string& destinazione, std::string_view grezzo) const;
    // Text of the last Testo event, cut at MassimoTestoXml bytes. Valid until the next event.
    std::string_view Testo() const { return testo_; }
    // Depth of the element just opened (1 for the root) or just closed.
    int Profondita() const { return profondita_; }
    // Where the last tag begins in the source (the offset of its '<'), and the offset of the
    // first byte not yet read.
    std::uint64_t InizioTag() const { return inizioTag_; }
    std::uint64_t Posizione() const { return scartati_ + pos_; }

    const OrigineXml& Origine() const { return origine_; }
    [[noreturn]] void Malformato(const char* dettaglio) const;

    // The namespaces in force, by prefix ("" for the default one): what another parser
    // needs to begin reading the same part from the element just read.
    std::vector<std::pair<std::string, int>> LegamiInVigore() const;
    // Binds prefixes before the first tag, as the elements around that point bound them.
    void Presupponi(const std::vector<std::pair<std::string, int>>& legami);

private:
    struct HashTesto {
        using is_transparent = void;
        std::size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
    };

    bool Riempi();
    bool Assicura(std::size_t n);
    std::string_view Letti() const { return {buffer_.data() + pos_, fine_ - pos_}; }
    void LeggiTag();
    bool AnalizzaTag();
    std::size_t FineTag(std::size_t i) const;
    void LeggiTesto();
    void Decodifica(std::string_view grezzo);
    void SaltaFinoA(std::string_view chiusura);
    void Dichiara(std::string_view prefisso, std::string_view uri, int livello);
    int Risolvi(std::string_view prefisso, bool elemento);
    // Undoes the declarations of the element of depth `livello`, which closes.
    void Chiudi(int livello)
    {
        // The prefix xml, bound at depth 0, keeps the list from ever being empty.
        if (dichiarazioni_.back().first >= livello)
            Svincola(livello);
    }
    void Svincola(int livello);

    Sorgente sorgente_;
    std::vector<SpazioNomi> spaziNoti_;
    OrigineXml origine_;
    // The bytes not yet read are buffer_[pos_, fine_); the room past fine_ is refilled in
    // place, without clearing it first.
    std::string buffer_;
    std::size_t pos_ = 0;
    std::size_t fine_ = 0;
    std::uint64_t scartati_ = 0;   // bytes of the source dropped from the buffer's front
    std::uint64_t inizioTag_ = 0;
    bool esaurita_ = false;

    // Name, attributes and text of the last event: inside buffer_ until the next event (a
    // text with entities, or one cut by the buffer's end, in decodificato_).
    std::string_view nome_;
    int spazio_ = SenzaSpazio;
    std::string_view testo_;
    std::string decodificato_;
    std::vector<AttributoXml> attributi_;
    bool chiusuraTag_ = false;     // the last tag closes its element
    bool chiusuraPendente_ = false;
    int profondita_ = 0;
    int livello_ = 0;
    std::vector<int> aperti_;      // the namespace of each element open, innermost last

    // The namespace declarations in force: for each prefix ("" for the default namespace)
    // its namespaces, innermost last; the declarations in the order made, with the depth of
    // the element that made them, to undo them when it closes; and the last prefixes
    // resolved (nearly every element of a part uses the same few).
    std::unordered_map<std::string, std::vector<int>, HashTesto, std::equal_to<>> legami_;
    std::vector<std::pair<int, std::string>> dichiarazioni_;
    struct Risolto {
        std::string Prefisso;
        std::uint32_t Chiave = 0;
        int Spazio = SenzaSpazio;
        bool Valido = false;
    };
    Risolto risolti_[4];
    std::size_t prossimoRisolto_ = 0;
    // The default namespace in force, when known (most parts name their elements by it).
    int predefinito_ = SenzaSpazio;
    bool predefinitoNoto_ = false;
};

} // namespace quercino::sheets
