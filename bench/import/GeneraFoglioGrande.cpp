#include "GeneraFoglioGrande.h"

#include "CartellaComeProgramma.h"
#include "CartellaXlsb.h"

#include <xlsxwriter.h>

#include <algorithm>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <memory>
#include <random>
#include <vector>

namespace {

constexpr int NumeroControparti = 20000;

struct Controparte {
    std::string PartitaIva;
    std::string CodiceFiscale;
    std::string Denominazione;
    std::string Nome;
    std::string Cognome;
    std::string Indirizzo;
    std::string Cap;
    std::string Comune;
    std::string Provincia;
    std::string Nazione;
};

Controparte NuovaControparte(int i, std::mt19937& rnd)
{
    Controparte c;
    char buffer[64];
    const int tipo = static_cast<int>(rnd() % 1000);
    if (tipo < 50) {   // 5 % foreign
        static const char* paesi[] = {"DE", "FR", "AT", "ES", "BE"};
        c.Nazione = paesi[i % 5];
        std::snprintf(buffer, sizeof buffer, "%s%09d", c.Nazione.c_str(), 100000000 + i);
        c.PartitaIva = buffer;
        c.Denominazione = "FOREIGN COMPANY " + std::to_string(i) + " GMBH";
        c.Cap = std::to_string(1000 + i % 9000);
        c.Comune = "BERLIN";
    } else if (tipo < 70) {   // 2 % natural persons
        c.Nazione = "IT";
        std::snprintf(buffer, sizeof buffer, "RSSMRA80A01H%03dU", i % 1000);
        c.CodiceFiscale = buffer;
        c.Nome = "MARIO";
        c.Cognome = "ROSSI " + std::to_string(i);
        c.Cap = "00100";
        c.Comune = "ROMA";
        c.Provincia = "RM";
    } else {
        c.Nazione = "IT";
        std::snprintf(buffer, sizeof buffer, "%011d", 10000000 + i);
        c.PartitaIva = buffer;
        c.CodiceFiscale = buffer;
        c.Denominazione = "CLIENTE NUMERO " + std::to_string(i) + " SRL";
        c.Cap = std::to_string(100 + (i % 900) * 100);   // stored as a number: the leading zeros go
        c.Comune = "MILANO";
        c.Provincia = "MI";
    }
    c.Indirizzo = "VIA DELLE INDUSTRIE " + std::to_string(i % 300);
    return c;
}

class Scrittore {
public:
    Scrittore(const std::string& cartella, const std::string& csv, FormaCartella forma)
        : csv_(csv, std::ios::binary | std::ios::trunc)
    {
        csv_ << "FATTURE EMESSE" << std::string(33, ';') << "\r\nprova\r\n;;;NOME\r\n";
        if (forma == FormaCartella::ComeProgramma) {
            come_ = std::make_unique<CartellaComeProgramma>(cartella);
            come_->Riga(1, {"FATTURE EMESSE"});
            come_->Riga(2, {"prova"});
            come_->Riga(3, {"", "", "", "NOME"});
            return;
        }
        if (forma == FormaCartella::Binaria) {
            xlsb_ = std::make_unique<CartellaXlsb>(cartella);
            xlsb_->Testo(1, 1, "FATTURE EMESSE");
            xlsb_->Testo(3, 4, "NOME");
            return;
        }
        // Without constant memory the texts go to a shared table, as Excel saves them; with
        // it each cell holds its own text.
        lxw_workbook_options opzioni = {};
        opzioni.constant_memory = forma == FormaCartella::TestiCondivisi ? LXW_FALSE : LXW_TRUE;
        wb_ = workbook_new_opt(cartella.c_str(), &opzioni);
        ws_ = workbook_add_worksheet(wb_, "FATTURE EMESSE");
        workbook_add_worksheet(wb_, "FATTURE RICEVUTE");
        data_ = workbook_add_format(wb_);
        format_set_num_format(data_, "dd/mm/yyyy");
        importo_ = workbook_add_format(wb_);
        format_set_num_format(importo_, "#,##0.00");
        worksheet_write_string(ws_, 0, 0, "FATTURE EMESSE", nullptr);
        worksheet_write_string(ws_, 2, 3, "NOME", nullptr);
    }
    bool Chiudi()
    {
        csv_.close();
        const bool cartella = come_ ? come_->Chiudi() : xlsb_ ? xlsb_->Chiudi() : workbook_close(wb_) == LXW_NO_ERROR;
        return cartella && !csv_.fail();
    }

    void Testo(int colonna, const std::string& v)
    {
        if (!v.empty() && xlsb_)
            xlsb_->Testo(static_cast<int>(riga_) + 1, colonna, v);
        else if (!v.empty() && !come_)
            worksheet_write_string(ws_, riga_, static_cast<lxw_col_t>(colonna - 1), v.c_str(), nullptr);
        campi_[static_cast<std::size_t>(colonna - 1)] = v;
    }
    void Numero(int colonna, double v, const std::string& testo)
    {
        if (xlsb_)
            xlsb_->Numero(static_cast<int>(riga_) + 1, colonna, v);
        else if (!come_)
            worksheet_write_number(ws_, riga_, static_cast<lxw_col_t>(colonna - 1), v, importo_);
        campi_[static_cast<std::size_t>(colonna - 1)] = testo;
    }
    void Data(int colonna, int g, int m, int a)
    {
        lxw_datetime dt = {a, m, g, 0, 0, 0};
        if (xlsb_)
            xlsb_->Data(static_cast<int>(riga_) + 1, colonna, g, m, a);
        else if (!come_)
            worksheet_write_datetime(ws_, riga_, static_cast<lxw_col_t>(colonna - 1), &dt, data_);
        char b[16];
        std::snprintf(b, sizeof b, "%02d/%02d/%04d", g, m, a);
        campi_[static_cast<std::size_t>(colonna - 1)] = b;
    }
    void FineRiga()
    {
        if (come_)
            come_->Riga(static_cast<int>(riga_) + 1, campi_);
        for (std::size_t i = 0; i < campi_.size(); ++i) {
            if (i)
                csv_ << ';';
            csv_ << campi_[i];
            campi_[i].clear();
        }
        csv_ << "\r\n";
        ++riga_;
    }

private:
    std::unique_ptr<CartellaComeProgramma> come_;
    std::unique_ptr<CartellaXlsb> xlsb_;
    lxw_workbook* wb_ = nullptr;
    lxw_worksheet* ws_ = nullptr;
    lxw_format* data_ = nullptr;
    lxw_format* importo_ = nullptr;
    std::ofstream csv_;
    lxw_row_t riga_ = 3;
    std::vector<std::string> campi_ = std::vector<std::string>(34);
};

std::string Cifre2(long centesimi)
{
    char b[32];
    std::snprintf(b, sizeof b, "%ld,%02ld", centesimi / 100, centesimi % 100);
    return b;
}

} // namespace

StatisticheFoglio GeneraFoglioGrande(const std::string& cartella, const std::string& csv, int righe, unsigned seme,
                                     FormaCartella forma)
{
    // libxlsxwriter prints numbers through the C library: its locale must not use commas.
    std::setlocale(LC_NUMERIC, "C");
    std::mt19937 rnd(seme);
    // Zipf weights: a few counterparts take a large share of the rows (the first over
    // 10,000). Alone they would leave half the counterparts unused in 300,000 rows, so a
    // little over half of the visits go to counterparts not seen yet, in random order.
    std::vector<double> pesi(NumeroControparti);
    for (int i = 0; i < NumeroControparti; ++i)
        pesi[static_cast<std::size_t>(i)] = 1.0 / (i + 1);
    std::discrete_distribution<int> scelta(pesi.begin(), pesi.end());
    std::vector<int> nuove(NumeroControparti);
    for (int i = 0; i < NumeroControparti; ++i)
        nuove[static_cast<std::size_t>(i)] = i;
    std::shuffle(nuove.begin(), nuove.end(), rnd);
    std::vector<Controparte> controparti;
    controparti.reserve(NumeroControparti);
    for (int i = 0; i < NumeroControparti; ++i)
        controparti.push_back(NuovaControparte(i, rnd));
    std::vector<int> righePer(NumeroControparti, 0);

    StatisticheFoglio s;
    Scrittore w(cartella, csv, forma);
    long numero = 0;
    while (s.Righe < righe) {
        int indice = scelta(rnd);
        if (!nuove.empty() && rnd() % 100 < 55) {
            indice = nuove.back();
            nuove.pop_back();
        }
        const Controparte& c = controparti[static_cast<std::size_t>(indice)];
        const int fatture = 1 + static_cast<int>(rnd() % 8);
        for (int f = 0; f < fatture && s.Righe < righe; ++f) {
            ++numero;
            const int linee = 1 + static_cast<int>(rnd() % 3);
            const int giorno = 1 + static_cast<int>(rnd() % 28);
            const int mese = 1 + static_cast<int>(rnd() % 12);
            for (int l = 0; l < linee && s.Righe < righe; ++l) {
                const bool seguito = l > 0 && (rnd() % 2 == 0);
                const bool nonValida = rnd() % 200 == 0;   // 0.5 %
                if (nonValida) {
                    w.Testo(13, "TD99");
                    ++s.NonValide;
                }
                if (!seguito) {
                    w.Testo(1, c.PartitaIva);
                    w.Testo(2, c.CodiceFiscale);
                    w.Testo(3, c.Denominazione);
                    w.Testo(4, c.Nome);
                    w.Testo(5, c.Cognome);
                    w.Testo(6, c.Indirizzo);
                    w.Testo(8, c.Cap);
                    w.Testo(9, c.Comune);
                    w.Testo(10, c.Provincia);
                    w.Testo(11, c.Nazione);
                    if (!nonValida)
                        w.Testo(13, "TD01");
                    w.Data(14, giorno, mese, 2017);
                }
                w.Testo(15, "FT/" + std::to_string(numero));
                const long imponibile = 100 + static_cast<long>(rnd() % 10000000);
                const int aliquote[] = {22, 10, 4};
                const int aliquota = aliquote[l % 3];
                const long imposta = (imponibile * aliquota + 50) / 100;
                w.Numero(16, imponibile / 100.0, Cifre2(imponibile));
                w.Numero(17, imposta / 100.0, Cifre2(imposta));
                w.Numero(18, aliquota, std::to_string(aliquota));
                w.Testo(22, "I");
                w.FineRiga();
                ++s.Righe;
                if (righePer[static_cast<std::size_t>(indice)]++ == 0) {
                    ++s.Controparti;
                    s.Estere += c.Nazione != "IT";
                    s.Persone += !c.Nome.empty();
                }
            }
        }
    }
    for (int n : righePer)
        s.MassimoRigheControparte = std::max(s.MassimoRigheControparte, n);
    s.Scritta = w.Chiudi();
    return s;
}
