#pragma once
// Which cell styles of an OpenDocument spreadsheet show a true/false value: the only thing
// the import needs of its styles. A spreadsheet program may keep a true/false cell as the
// number 1 or 0 with such a style (a formula like =A1<B1), and shows it as TRUE or FALSE.
// The styles are the automatic ones of content.xml and the common ones of styles.xml; a
// style without a data style of its own takes its parent's.

#include "platform/sheets/XmlPullParser.h"

#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace quercino::sheets {

class OdsStyles {
public:
    // A part has tens of styles, a large one thousands: past this many it is refused.
    static constexpr std::size_t MassimoStili = std::size_t{1} << 20;

    // Takes note of the styles an event of content.xml (`contenuto`) or of styles.xml
    // declares. Throws SheetError past MassimoStili.
    void Visita(const XmlPullParser& xml, XmlPullParser::Evento evento, bool contenuto);
    // Once both parts are read: which cell styles show a true/false value.
    void Concludi();

    bool Booleano(std::string_view stile) const;

private:
    struct HashTesto {
        using is_transparent = void;
        std::size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
    };
    struct StileCella {
        std::string Genitore;
        std::string Dati;   // its data style, empty when it has none of its own
    };
    using Stili = std::unordered_map<std::string, StileCella, HashTesto, std::equal_to<>>;

    bool Comune(const std::string& nome, std::unordered_map<std::string, char>& esiti) const;

    Stili automatici_;      // content.xml's automatic styles
    Stili comuni_;          // styles.xml's
    std::unordered_set<std::string> datiBooleani_;
    int profSezione_ = 0;   // inside office:automatic-styles or office:styles
    // The names of the cell styles that show true/false: content.xml's first, as a cell
    // names one of them before one of styles.xml.
    std::unordered_map<std::string, bool, HashTesto, std::equal_to<>> booleani_;
};

} // namespace quercino::sheets
