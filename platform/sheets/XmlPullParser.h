#pragma once
// A small pull parser for the XML parts of a workbook: elements, attributes and text, read
// from a byte source in chunks so that a sheet of any size needs only a small buffer.
// Namespace prefixes are dropped from names; text comes back as UTF-8 with entities
// resolved. Document types are refused (workbooks never carry one).

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quercino::sheets {

// Texts are kept up to this many bytes and the rest is read and dropped: far more than a
// cell holds (32,767 characters), little enough that one hostile text cannot fill memory.
inline constexpr std::size_t MassimoTestoXml = std::size_t{1} << 20;

// Appends `testo` to `destinazione` up to MassimoTestoXml bytes in all.
void AggiungiLimitato(std::string& destinazione, std::string_view testo);

class XmlPullParser {
public:
    using Sorgente = std::function<std::size_t(char*, std::size_t)>;
    enum class Evento { Inizio, Fine, Testo, FineDocumento };

    explicit XmlPullParser(Sorgente sorgente);

    // Throws SheetError on malformed XML. A self-closing element gives Inizio then Fine.
    Evento Prossimo();

    // Local name of the element of the last Inizio or Fine.
    std::string_view Nome() const { return nome_; }
    // Value of an attribute of the last Inizio, by local name, entities resolved.
    std::optional<std::string> Attributo(std::string_view nomeLocale) const;
    // The same without a copy when the value holds no entity (cell references, styles,
    // types); `appoggio` receives the decoded value otherwise. Valid until the next event.
    std::optional<std::string_view> AttributoVeloce(std::string_view nomeLocale, std::string& appoggio) const;
    // Text of the last Testo event, cut at MassimoTestoXml bytes. Valid until the next event.
    std::string_view Testo() const { return testo_; }
    // Depth of the element just opened (1 for the root) or just closed.
    int Profondita() const { return profondita_; }
    // Where the last tag begins in the source (the offset of its '<'), and the offset of the
    // first byte not yet read.
    std::uint64_t InizioTag() const { return inizioTag_; }
    std::uint64_t Posizione() const { return scartati_ + pos_; }
    // Every attribute of the last Inizio: local name and value as written (AggiungiTestoXml
    // resolves its entities). Valid until the next event.
    const std::vector<std::pair<std::string_view, std::string_view>>& Attributi() const { return attributi_; }

private:
    bool Riempi();
    bool Assicura(std::size_t n);
    std::string_view Letti() const { return {buffer_.data() + pos_, fine_ - pos_}; }
    void LeggiTag();
    bool AnalizzaTag();
    std::size_t FineTag(std::size_t i) const;
    void LeggiTesto();
    void Decodifica(std::string_view grezzo);
    void SaltaFinoA(std::string_view chiusura);

    Sorgente sorgente_;
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
    std::string_view testo_;
    std::string decodificato_;
    std::vector<std::pair<std::string_view, std::string_view>> attributi_;
    bool chiusuraTag_ = false;     // the last tag closes its element
    bool chiusuraPendente_ = false;
    int profondita_ = 0;
    int livello_ = 0;
};

// Resolves the five named entities and character references of an XML text into UTF-8.
void AggiungiTestoXml(std::string& destinazione, std::string_view grezzo);

} // namespace quercino::sheets
