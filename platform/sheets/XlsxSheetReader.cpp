#include "platform/sheets/XlsxSheetReader.h"

#include "platform/sheets/SheetError.h"
#include "platform/sheets/SpaziXml.h"
#include "platform/sheets/XlsxCellText.h"

#include <charconv>
#include <limits>

namespace quercino::sheets {

int ColonnaDaRiferimento(std::string_view riferimento)
{
    int colonna = 0;
    for (char c : riferimento) {
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 32);
        if (c < 'A' || c > 'Z')
            break;
        colonna = colonna * 26 + (c - 'A' + 1);
        if (colonna > 16384)
            return 16385;
    }
    return colonna;
}

XlsxSheetReader::XlsxSheetReader(std::unique_ptr<ZipEntryStream> flusso, const OrigineXml& origine, const XlsxSharedStrings& testi,
                                 const XlsxStyles& stili, bool sistema1904, int colonne)
    : flusso_(std::move(flusso)), origine_(origine),
      xml_([this](char* d, std::size_t n) { return flusso_->Leggi(d, n); }, ooxml::Spazi(), origine),
      testi_(testi), stili_(stili), sistema1904_(sistema1904), colonne_(colonne)
{
}

void XlsxSheetReader::InizioCella()
{
    const auto r = xml_.AttributoVeloce("r", appoggio_);
    colonna_ = r ? ColonnaDaRiferimento(*r) : 0;
    if (colonna_ == 0)
        colonna_ = ultimaColonna_ + 1;
    ultimaColonna_ = colonna_;
    const auto t = xml_.AttributoVeloce("t", appoggio_);
    tipo_.assign(t ? *t : std::string_view());
    const auto s = xml_.AttributoVeloce("s", appoggio_);
    stile_ = 0;
    if (s)
        std::from_chars(s->data(), s->data() + s->size(), stile_);
    valore_.clear();
    inLinea_.clear();
}

QString XlsxSheetReader::ValoreCella() const
{
    if (tipo_ == "s") {
        std::string_view v = valore_;
        while (!v.empty() && (v.front() == ' ' || v.front() == '\t' || v.front() == '\n'))
            v.remove_prefix(1);
        while (!v.empty() && (v.back() == ' ' || v.back() == '\t' || v.back() == '\n'))
            v.remove_suffix(1);
        // A shared-string cell with no index is an empty cell, as spreadsheet programs read it.
        if (v.empty())
            return {};
        std::size_t indice = 0;
        const auto [p, ec] = std::from_chars(v.data(), v.data() + v.size(), indice);
        auto testo = ec == std::errc() ? testi_.Testo(indice) : std::nullopt;
        if (!testo)
            throw ErroreParte(origine_.Parte, origine_.File, QStringLiteral("fa riferimento a un testo che la cartella di lavoro non contiene."));
        return std::move(*testo);
    }
    if (tipo_ == "inlineStr")
        return TestoCella(inLinea_);
    if (tipo_ == "str" || tipo_ == "e")
        return TestoCella(valore_);
    if (tipo_ == "b")
        return valore_ == "1" || valore_ == "true" ? QStringLiteral("VERO") : QStringLiteral("FALSO");
    if (tipo_ == "d")
        return TestoDataIso(valore_);
    if (valore_.empty())
        return {};
    if (stili_.StileData(stile_)) {
        const QString data = TestoData(valore_, sistema1904_);
        if (!data.isEmpty())
            return data;
    }
    const QString numero = TestoNumero(valore_);
    return numero.isEmpty() ? QString::fromUtf8(valore_.data(), static_cast<qsizetype>(valore_.size())).left(MassimoCaratteriCella)
                            : numero;
}

bool XlsxSheetReader::Prossima(SheetRow& riga)
{
    bool dentroRiga = false;
    bool dentroCella = false;
    for (;;) {
        const auto e = xml_.Prossimo();
        switch (e) {
        case XmlPullParser::Evento::FineDocumento:
            if (dentroRiga)
                throw ErroreParte(origine_.Parte, origine_.File, QStringLiteral("è troncata."));
            return false;
        case XmlPullParser::Evento::Inizio: {
            // Only the format's own elements: an extension's may share their local names.
            const auto nome = xml_.Spazio() == ooxml::Foglio ? xml_.Nome() : std::string_view();
            if (nome == "row") {
                const auto r = xml_.AttributoVeloce("r", appoggio_);
                std::int32_t numero = 0;
                if (r)
                    std::from_chars(r->data(), r->data() + r->size(), numero);
                if (numero <= 0 && ultimaRiga_ == std::numeric_limits<std::int32_t>::max())
                    throw ErroreParte(origine_.Parte, origine_.File,
                                      QStringLiteral("contiene righe oltre l'ultima che un foglio può avere."));
                riga.Numero = numero > 0 ? numero : ultimaRiga_ + 1;
                ultimaRiga_ = riga.Numero;
                ultimaColonna_ = 0;
                // The vector's strings are reused: only those set are cleared.
                riga.Celle.resize(static_cast<std::size_t>(colonne_));
                for (QString& cella : riga.Celle)
                    if (!cella.isNull())
                        cella = QString();
                dentroRiga = true;
            } else if (dentroRiga && nome == "c") {
                InizioCella();
                dentroCella = true;
            } else if (dentroCella) {
                if (nome == "v") dentroV_ = true;
                else if (nome == "is") dentroIs_ = true;
                else if (nome == "t" && dentroIs_) dentroT_ = true;
                else if (nome == "rPh") ++dentroFonetica_;
            }
            break;
        }
        case XmlPullParser::Evento::Fine: {
            const auto nome = xml_.Spazio() == ooxml::Foglio ? xml_.Nome() : std::string_view();
            if (nome == "row" && dentroRiga) {
                return true;
            } else if (nome == "c" && dentroCella) {
                dentroCella = false;
                dentroV_ = dentroT_ = dentroIs_ = false;
                dentroFonetica_ = 0;
                if (colonna_ >= 1 && colonna_ <= colonne_)
                    riga.Celle[static_cast<std::size_t>(colonna_) - 1] = ValoreCella();
            } else if (nome == "v") {
                dentroV_ = false;
            } else if (nome == "is") {
                dentroIs_ = false;
            } else if (nome == "t") {
                dentroT_ = false;
            } else if (nome == "rPh" && dentroFonetica_ > 0) {
                --dentroFonetica_;
            }
            break;
        }
        case XmlPullParser::Evento::Testo:
            if (dentroCella && colonna_ <= colonne_) {
                if (dentroV_)
                    AggiungiLimitato(valore_, xml_.Testo());
                else if (dentroT_ && dentroFonetica_ == 0)
                    AggiungiLimitato(inLinea_, xml_.Testo());
            }
            break;
        }
    }
}

} // namespace quercino::sheets
