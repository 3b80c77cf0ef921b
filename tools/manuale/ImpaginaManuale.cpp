#include "tools/manuale/ImpaginaManuale.h"

#include "pdf/Tavlo.h"
#include "pdf/core/Windows1252.h"

#include <algorithm>
#include <stdexcept>

namespace quercino::manuale {

namespace {

// A4 in points; the text column and the band between running head and page number.
constexpr float kSinistra = 62, kDestra = 534, kLarghezza = kDestra - kSinistra, kCentro = 298;
constexpr float kAlto = 78, kBasso = 782;
constexpr float kCorpo = 10, kInterlinea = 1.25f;
constexpr std::int32_t kSinistro = 1, kDestro = 2, kCentrato = 4, kGiustificato = 64, kStretto = 128;
constexpr std::int32_t kTraccia = 0, kRiempi = 5;  // paint styles: stroke, fill only

const char* const kTesto = "Testo";
const char* const kGrassetto = "Grassetto";
const char* const kCodice = "Codice";

class Impaginatore {
public:
    Impaginatore(const TestoManuale& testo, const FontManuale& font, const Impaginazione& precedente)
        : testo_(testo), precedente_(precedente)
    {
        // The writer measures on a second instance that writes nothing: the height of a
        // table row is known before the row is drawn.
        const std::pair<const char*, const std::string*> famiglie[] = {
            {kTesto, &font.testo}, {kGrassetto, &font.grassetto}, {kCodice, &font.codice}};
        for (const auto& [alias, file] : famiglie) {
            if (pdf_.AddFont(*file, alias, 1, 0) != alias || misura_.AddFont(*file, alias, 0, 0) != alias)
                throw std::runtime_error("font non utilizzabile: " + tavlo::Utf8FromWindows1252(pdf_.ErrDescription()));
        }
    }

    Impaginazione Scrivi(const std::string& percorso)
    {
        const auto proprieta = [&](const char* chiave) {
            const auto trovata = testo_.proprieta.find(chiave);
            return trovata == testo_.proprieta.end() ? std::string() : trovata->second;
        };
        titolo_ = proprieta("titolo") + " - " + proprieta("sottotitolo");
        pdf_.SetCompression(tavlo::Filter::Flate, 3);
        pdf_.SetDocProperty(titolo_, proprieta("soggetto"), proprieta("autore"), "quercino_genera_manuale",
                            "Tavlo " + pdf_.Version(), proprieta("parolechiave"));
        pdf_.BeginDoc(percorso);
        Controlla();

        Frontespizio(proprieta);
        Indice();
        for (const Blocco& blocco : testo_.blocchi)
            Disegna(blocco);
        Piede();
        pdf_.EndPage();
        pdf_.EndDoc();
        Controlla();
        fatta_.pagine = pagina_;
        return fatta_;
    }

private:
    void Controlla()
    {
        if (pdf_.ErrNumber() != 0)
            throw std::runtime_error(pdf_.ErrSource() + ": " + tavlo::Utf8FromWindows1252(pdf_.ErrDescription()));
    }

    static void Usa(tavlo::Tavlo& pdf, const char* font, float corpo, const char* colore = "#000000")
    {
        pdf.SetFont(font, corpo, 0, 0);
        pdf.SetTextLineSpacing(kInterlinea);
        pdf.SetColorText(colore);
    }

    float Riga(const char* font, float corpo)
    {
        Usa(misura_, font, corpo);
        return misura_.TextHeight() * kInterlinea;
    }

    float Altezza(const std::string& testo, float larghezza, const char* font, float corpo)
    {
        Usa(misura_, font, corpo);
        misura_.DrawTextBox(0, 0, larghezza, 0, testo, 0, kSinistro);
        return misura_.GetY();
    }

    void NuovaPagina()
    {
        if (pagina_ > 0) {
            Piede();
            pdf_.EndPage();
        }
        pdf_.BeginPage();
        if (++pagina_ == 1)
            pdf_.SetLabel(1, "", 1);
        Usa(pdf_, kTesto, 8, "#555555");
        pdf_.DrawText(kSinistra, 52, titolo_);
        pdf_.DrawText(kDestra, 52, capitolo_, kDestro);
        pdf_.SetLineWidth(0.5f);
        pdf_.SetColorLine("#999999");
        pdf_.DrawLine(kSinistra, 58, kDestra, 58, kTraccia);
        y_ = kAlto;
    }

    void Piede()
    {
        Usa(pdf_, kTesto, 8, "#555555");
        const int totale = precedente_.pagine > 0 ? precedente_.pagine : pagina_;
        pdf_.DrawText(kCentro, 812, "Pagina " + std::to_string(pagina_) + " di " + std::to_string(totale), kCentrato);
    }

    // Text flowing into the column from y_, page after page, each page taking what fits.
    void Flusso(const std::string& testo, float x, float larghezza, const char* font, float corpo,
                std::int32_t allineamento)
    {
        const float riga = Riga(font, corpo);
        std::string resto = testo;
        for (;;) {
            if (y_ + riga > kBasso)
                NuovaPagina();
            Usa(pdf_, font, corpo);
            resto = pdf_.DrawTextBox(x, y_, larghezza, kBasso - y_, resto, 0, allineamento);
            y_ = pdf_.GetY();
            if (resto.empty())
                return;
            NuovaPagina();
        }
    }

    void Titolo(const std::string& titolo, std::int16_t livello, float corpo)
    {
        pdf_.AddBookmark(titolo, livello, 2, kSinistra, y_, 0, 0, 0, "", 0);
        fatta_.pagineTitoli.push_back(pagina_);
        Usa(pdf_, kGrassetto, corpo, "#1F3A5F");
        pdf_.DrawTextBox(kSinistra, y_, kLarghezza, 0, titolo, 0, kSinistro);
        y_ = pdf_.GetY();
    }

    void Disegna(const Blocco& blocco)
    {
        const float riga = Riga(kTesto, kCorpo);
        // A list or a run of code lines ends with a little space before what follows it.
        if (blocco.tipo != ultimo_ && (ultimo_ == TipoBlocco::Punto || ultimo_ == TipoBlocco::Codice))
            y_ += 5;
        ultimo_ = blocco.tipo;
        switch (blocco.tipo) {
        case TipoBlocco::Capitolo:
            capitolo_ = blocco.testo;
            NuovaPagina();
            Titolo(blocco.testo, 1, 18);
            pdf_.SetColorLine("#1F3A5F");
            pdf_.SetLineWidth(1);
            pdf_.DrawLine(kSinistra, y_ + 4, kDestra, y_ + 4, kTraccia);
            y_ += 18;
            break;
        case TipoBlocco::Sezione:
            // A heading keeps at least three lines of its text on its page.
            if (y_ + 10 + Altezza(blocco.testo, kLarghezza, kGrassetto, 12) + 3 * riga > kBasso)
                NuovaPagina();
            else if (y_ > kAlto)
                y_ += 10;
            Titolo(blocco.testo, 2, 12);
            y_ += 4;
            break;
        case TipoBlocco::Paragrafo:
            Flusso(blocco.testo, kSinistra, kLarghezza, kTesto, kCorpo, kGiustificato);
            y_ += 6;
            break;
        case TipoBlocco::Punto:
            if (y_ + riga > kBasso)
                NuovaPagina();
            Usa(pdf_, kTesto, kCorpo);
            pdf_.DrawTextBox(kSinistra + 6, y_, 10, 0, "\x95");
            Flusso(blocco.testo, kSinistra + 18, kLarghezza - 18, kTesto, kCorpo, kGiustificato);
            y_ += 3;
            break;
        case TipoBlocco::Codice: {
            const float alta = Riga(kCodice, 9);
            if (y_ + alta > kBasso)
                NuovaPagina();
            pdf_.SetColorFill("#EEF1F4");
            pdf_.DrawRect(kSinistra, y_, kLarghezza, alta + 2, kRiempi);
            // A code line stays one line: a long one is narrowed to the column.
            Usa(pdf_, kCodice, 9);
            pdf_.DrawTextBox(kSinistra + 8, y_ + 1, kLarghezza - 16, 0, blocco.testo, 0, kStretto);
            y_ += alta + 2;
            break;
        }
        case TipoBlocco::Tabella:
            Tabella(blocco);
            break;
        }
    }

    // A word wider than its cell would run into the next one: the source must widen the column.
    float AltezzaRiga(const std::vector<std::string>& celle, const std::vector<float>& larghezze, const char* font)
    {
        float alta = 0;
        for (std::size_t c = 0; c < celle.size(); ++c) {
            alta = std::max(alta, Altezza(celle[c], larghezze[c] - 8, font, 8.5f));
            std::size_t da = 0;
            for (std::size_t a; da <= celle[c].size(); da = a + 1) {
                a = std::min(celle[c].find(' ', da), celle[c].size());
                if (misura_.TextLength(celle[c].substr(da, a - da)) > larghezze[c] - 8)
                    throw std::runtime_error("\"" + celle[c].substr(da, a - da) + "\" non entra nella sua colonna: "
                                             "allargarla con @larghezze");
            }
        }
        return alta + 6;
    }

    // One row of the open table: each cell painted and bordered by the table, its text inside.
    void RigaTabella(const std::vector<std::string>& celle, const std::vector<float>& larghezze, bool testata,
                     float alta)
    {
        pdf_.SetLineWidth(0.5f);
        pdf_.SetColorLine("#8A97A8");
        pdf_.SetColorFill(testata ? "#DCE4EE" : "#FFFFFF");
        pdf_.BeginRow(alta);
        for (std::size_t c = 0; c < celle.size(); ++c) {
            pdf_.BeginColumn(larghezze[c]);
            Usa(pdf_, testata ? kGrassetto : kTesto, 8.5f);
            pdf_.DrawTextBox(4, 3, larghezze[c] - 8, 0, celle[c], 0, kSinistro);
            pdf_.EndColumn();
        }
        pdf_.EndRow();
        y_ += alta;
    }

    // Rows never break; a page ends the table and the next page begins it again, heading first.
    void Tabella(const Blocco& blocco)
    {
        std::vector<float> larghezze;
        for (const double quota : blocco.larghezze)
            larghezze.push_back(static_cast<float>(quota) * kLarghezza);
        const float testata = AltezzaRiga(blocco.righe.front(), larghezze, kGrassetto);
        y_ += 2;
        for (std::size_t r = 1; r < blocco.righe.size(); ++r) {
            const float alta = AltezzaRiga(blocco.righe[r], larghezze, kTesto);
            if (r == 1 || y_ + alta > kBasso) {
                pdf_.EndTable();
                if (y_ + testata + alta > kBasso)
                    NuovaPagina();
                pdf_.BeginTable(kSinistra, y_);
                RigaTabella(blocco.righe.front(), larghezze, true, testata);
            }
            RigaTabella(blocco.righe[r], larghezze, false, alta);
        }
        pdf_.EndTable();
        y_ += 10;
    }

    template <typename Proprieta>
    void Frontespizio(const Proprieta& proprieta)
    {
        pdf_.BeginPage();
        pdf_.SetLabel(3, "", 1);
        pdf_.SetColorFill("#1F3A5F");
        pdf_.DrawRect(0, 0, 596, 190, kRiempi);
        Usa(pdf_, kGrassetto, 40, "#FFFFFF");
        pdf_.DrawTextBox(kSinistra, 70, kLarghezza, 0, proprieta("titolo"), 0, kSinistro);
        Usa(pdf_, kTesto, 20, "#FFFFFF");
        pdf_.DrawTextBox(kSinistra, 125, kLarghezza, 0, proprieta("sottotitolo"), 0, kSinistro);
        Usa(pdf_, kTesto, 13, "#1F3A5F");
        pdf_.DrawTextBox(kSinistra, 260, kLarghezza, 0, proprieta("descrizione"), 0, kSinistro);
        Usa(pdf_, kTesto, 10, "#555555");
        pdf_.DrawTextBox(kSinistra, 740, kLarghezza, 0, proprieta("edizione"), 0, kSinistro);
        pdf_.EndPage();
    }

    // The contents: one line per chapter and section, linked to its page; the pages come
    // from the previous run, the number of lines (and so of pages) is the same in both.
    void Indice()
    {
        pdf_.BeginPage();
        y_ = kAlto;
        Usa(pdf_, kGrassetto, 18, "#1F3A5F");
        pdf_.DrawTextBox(kSinistra, y_, kLarghezza, 0, "Indice", 0, kSinistro);
        y_ = pdf_.GetY() + 12;
        int frontespizio = 1, pagineIndice = 1;
        std::vector<std::pair<const Blocco*, float>> righe;
        for (const Blocco& blocco : testo_.blocchi)
            if (blocco.tipo == TipoBlocco::Capitolo || blocco.tipo == TipoBlocco::Sezione)
                righe.emplace_back(&blocco, blocco.tipo == TipoBlocco::Capitolo ? 22.0f : 15.0f);
        float y = y_;
        for (const auto& [blocco, passo] : righe)
            if ((y += passo) > kBasso)
                ++pagineIndice, y = kAlto + passo;
        for (std::size_t i = 0; i < righe.size(); ++i) {
            const bool capitolo = righe[i].first->tipo == TipoBlocco::Capitolo;
            if ((y_ += righe[i].second) > kBasso) {
                pdf_.EndPage();
                pdf_.BeginPage();
                y_ = kAlto + righe[i].second;
            }
            Usa(pdf_, capitolo ? kGrassetto : kTesto, capitolo ? 11 : 10);
            const float x = capitolo ? kSinistra : kSinistra + 16;
            pdf_.DrawText(x, y_, righe[i].first->testo);
            if (i < precedente_.pagineTitoli.size()) {
                const int pagina = precedente_.pagineTitoli[i];
                pdf_.LinkTo("page:" + std::to_string(frontespizio + pagineIndice + pagina), 0, 0);
                pdf_.DrawText(kDestra, y_, std::to_string(pagina), kDestro);
            }
        }
        pdf_.EndPage();
    }

    const TestoManuale& testo_;
    const Impaginazione& precedente_;
    tavlo::Tavlo pdf_, misura_;
    Impaginazione fatta_;
    std::string titolo_, capitolo_;
    TipoBlocco ultimo_ = TipoBlocco::Capitolo;  // the block drawn last
    int pagina_ = 0;
    float y_ = kAlto;
};

} // namespace

Impaginazione ImpaginaManuale(const TestoManuale& testo, const FontManuale& font, const std::string& percorso,
                              const Impaginazione& precedente)
{
    return Impaginatore(testo, font, precedente).Scrivi(percorso);
}

} // namespace quercino::manuale
