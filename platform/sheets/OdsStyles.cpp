#include "platform/sheets/OdsStyles.h"

#include "platform/sheets/SheetError.h"
#include "platform/sheets/SpaziXml.h"

namespace quercino::sheets {

void OdsStyles::Visita(const XmlPullParser& xml, XmlPullParser::Evento evento, bool contenuto)
{
    if (evento == XmlPullParser::Evento::Fine) {
        if (xml.Profondita() == profSezione_)
            profSezione_ = 0;
        return;
    }
    if (evento != XmlPullParser::Evento::Inizio)
        return;
    if (profSezione_ == 0) {
        // Cells name the automatic styles of content.xml and the common ones of styles.xml.
        if (xml.E(odf::Office, contenuto ? "automatic-styles" : "styles"))
            profSezione_ = xml.Profondita();
        return;
    }
    if (xml.Profondita() != profSezione_ + 1)
        return;
    if (automatici_.size() + comuni_.size() + datiBooleani_.size() >= MassimoStili)
        throw ErroreParte(xml.Origine().Parte, xml.Origine().File, QStringLiteral("ha più stili di quanti se ne possano leggere."));
    if (xml.E(odf::Numero, "boolean-style")) {
        if (auto nome = xml.Attributo(odf::Stile, "name"))
            datiBooleani_.insert(std::move(*nome));
    } else if (xml.E(odf::Stile, "style") && xml.Attributo(odf::Stile, "family").value_or("") == "table-cell") {
        if (auto nome = xml.Attributo(odf::Stile, "name"))
            (contenuto ? automatici_ : comuni_)[std::move(*nome)] = {xml.Attributo(odf::Stile, "parent-style-name").value_or(""),
                                                                     xml.Attributo(odf::Stile, "data-style-name").value_or("")};
    }
}

// Whether the common style `nome` shows its number with a true/false data style, its own
// or its nearest parent's; each style is looked at once (`esiti`: 0 no, 1 yes, 2 being
// looked at, which a parent loop meets again).
bool OdsStyles::Comune(const std::string& nome, std::unordered_map<std::string, char>& esiti) const
{
    std::vector<const std::string*> cammino;
    const std::string* corrente = &nome;
    bool esito = false;
    for (;;) {
        const auto noto = esiti.find(*corrente);
        if (noto != esiti.end()) {
            esito = noto->second == 1;
            break;
        }
        const auto voce = comuni_.find(*corrente);
        if (voce == comuni_.end())
            break;
        esiti[voce->first] = 2;
        cammino.push_back(&voce->first);
        if (!voce->second.Dati.empty()) {
            esito = datiBooleani_.count(voce->second.Dati) > 0;
            break;
        }
        if (voce->second.Genitore.empty())
            break;
        corrente = &voce->second.Genitore;
    }
    for (const std::string* n : cammino)
        esiti[*n] = esito ? 1 : 0;
    return esito;
}

void OdsStyles::Concludi()
{
    booleani_.clear();
    std::unordered_map<std::string, char> esiti;
    for (const auto& [nome, stile] : comuni_) {
        (void)stile;
        if (Comune(nome, esiti))
            booleani_[nome] = true;
    }
    for (const auto& [nome, stile] : automatici_) {
        const bool booleano = !stile.Dati.empty() ? datiBooleani_.count(stile.Dati) > 0
                                                  : !stile.Genitore.empty() && Comune(stile.Genitore, esiti);
        booleani_[nome] = booleano;
    }
    automatici_.clear();
    comuni_.clear();
    datiBooleani_.clear();
}

bool OdsStyles::Booleano(std::string_view stile) const
{
    const auto voce = booleani_.find(stile);
    return voce != booleani_.end() && voce->second;
}

} // namespace quercino::sheets
