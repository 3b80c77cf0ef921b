#include "platform/sheets/OpcPackage.h"

#include "platform/sheets/SpaziXml.h"
#include "platform/sheets/XmlPullParser.h"

#include <algorithm>
#include <vector>

namespace quercino::sheets {

namespace {

constexpr std::uint64_t MassimoParteStruttura = 16u << 20;

std::string CartellaDi(const std::string& parte)
{
    const auto barra = parte.rfind('/');
    return barra == std::string::npos ? std::string() : parte.substr(0, barra + 1);
}

std::string Minuscolo(std::string s)
{
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c); });
    return s;
}

} // namespace

void PerOgniElemento(const std::string& testo, const OrigineXml& origine, const std::function<void(const XmlPullParser&)>& visita)
{
    std::size_t letti = 0;
    XmlPullParser xml(
        [&](char* d, std::size_t n) {
            const std::size_t k = std::min(n, testo.size() - letti);
            std::copy_n(testo.data() + letti, k, d);
            letti += k;
            return k;
        },
        ooxml::Spazi(), origine);
    for (auto e = xml.Prossimo(); e != XmlPullParser::Evento::FineDocumento; e = xml.Prossimo())
        if (e == XmlPullParser::Evento::Inizio)
            visita(xml);
}

bool FiniscePer(const std::string& s, std::string_view coda)
{
    return s.size() >= coda.size() && s.compare(s.size() - coda.size(), coda.size(), coda) == 0;
}

std::map<std::string, RelazioneOpc> LeggiRelazioni(const ZipArchive& archivio, const std::string& parte)
{
    std::map<std::string, RelazioneOpc> relazioni;
    const std::string cartella = CartellaDi(parte);
    const std::string nome = parte.substr(cartella.size());
    const auto voce = archivio.Trova(cartella + "_rels/" + nome + ".rels");
    if (!voce)
        return relazioni;
    PerOgniElemento(archivio.Leggi(*voce, MassimoParteStruttura), {voce->Nome, archivio.Percorso()}, [&](const XmlPullParser& xml) {
        if (!xml.E(ooxml::RelazioniPacchetto, "Relationship"))
            return;
        const auto id = xml.Attributo("Id");
        const auto destinazione = xml.Attributo("Target");
        if (id && destinazione && xml.Attributo("TargetMode").value_or("") != "External")
            relazioni[*id] = {RisolviParte(cartella, *destinazione), xml.Attributo("Type").value_or("")};
    });
    return relazioni;
}

std::string ParteDocumento(const ZipArchive& archivio)
{
    std::string parte;
    for (const auto& [id, r] : LeggiRelazioni(archivio, "")) {
        (void)id;
        if (FiniscePer(r.Tipo, "/officeDocument"))
            parte = r.Destinazione;
    }
    return parte;
}

std::string TipoContenuto(const ZipArchive& archivio, const std::string& parte)
{
    const auto voce = archivio.Trova("[Content_Types].xml");
    if (!voce)
        return {};
    // Part names compare without regard to case.
    const std::string cercata = Minuscolo("/" + parte);
    const auto punto = parte.rfind('.');
    const std::string estensione = punto == std::string::npos ? std::string() : Minuscolo(parte.substr(punto + 1));
    std::string sostituito;
    std::string predefinito;
    PerOgniElemento(archivio.Leggi(*voce, MassimoParteStruttura), {voce->Nome, archivio.Percorso()}, [&](const XmlPullParser& xml) {
        if (xml.E(ooxml::TipiContenuto, "Override") && Minuscolo(xml.Attributo("PartName").value_or("")) == cercata)
            sostituito = xml.Attributo("ContentType").value_or("");
        else if (xml.E(ooxml::TipiContenuto, "Default") && !estensione.empty() && Minuscolo(xml.Attributo("Extension").value_or("")) == estensione)
            predefinito = xml.Attributo("ContentType").value_or("");
    });
    return sostituito.empty() ? predefinito : sostituito;
}

bool CartellaBinaria(const ZipArchive& archivio, const std::string& parteCartella)
{
    const std::string tipo = TipoContenuto(archivio, parteCartella);
    if (tipo == "application/vnd.ms-excel.sheet.binary.macroEnabled.main")
        return true;
    // The XML workbook's types end in "+xml"; a package that types nothing goes by the name.
    if (FiniscePer(tipo, "+xml"))
        return false;
    return FiniscePer(Minuscolo(parteCartella), ".bin");
}

std::string RisolviParte(const std::string& cartella, const std::string& destinazione)
{
    std::string base = destinazione.starts_with('/') ? std::string() : cartella;
    std::string resto = destinazione.starts_with('/') ? destinazione.substr(1) : destinazione;
    std::vector<std::string> pezzi;
    std::string tutto = base + resto;
    std::size_t inizio = 0;
    while (inizio <= tutto.size()) {
        const auto barra = tutto.find('/', inizio);
        const std::string pezzo = tutto.substr(inizio, barra == std::string::npos ? std::string::npos : barra - inizio);
        if (pezzo == "..") {
            if (!pezzi.empty())
                pezzi.pop_back();
        } else if (!pezzo.empty() && pezzo != ".") {
            pezzi.push_back(pezzo);
        }
        if (barra == std::string::npos)
            break;
        inizio = barra + 1;
    }
    std::string r;
    for (const auto& p : pezzi) {
        if (!r.empty())
            r += '/';
        r += p;
    }
    return r;
}

} // namespace quercino::sheets
