#pragma once
// What the import's tests share: workbooks written by an independent library, CSV files,
// the log read back, and the test's environment (declarant in memory, a folder of its own).

#include "platform/sheets_fixture.h"
#include "support/apertura_registrata.h"
#include "support/datifattura_xml.h"
#include "support/dichiarante_in_memoria.h"
#include "support/golden.h"
#include "support/scrittore_xlsb.h"

#include "app/core/Globals.h"
#include "declarants/import/SorgenteDichiarante.h"
#include "platform/text/Windows1252.h"

#include <QDate>
#include <QDir>
#include <QRegularExpression>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <xlsxwriter.h>

#include <cmath>
#include <cstdio>
#include <span>
#include <string>
#include <vector>

namespace import_fixture {

using Righe = std::vector<std::vector<std::string>>;

using quercino::test::DichiaranteInMemoria;
using quercino::test::LeggiFile;
using quercino::test::ScriviFile;
using quercino::test::XPath;

// A row of the 34 columns from {column number, value} pairs (the fuzzers' seeds).
inline std::vector<std::string> Riga(std::initializer_list<std::pair<int, std::string>> valori)
{
    std::vector<std::string> r(34);
    for (const auto& [colonna, valore] : valori)
        r[static_cast<std::size_t>(colonna) - 1] = valore;
    return r;
}

// How a spreadsheet program stores what a user typed in a cell: texts that look like numbers
// (comma decimals included) or dates become typed cells.
struct ValoreDigitato {
    enum class Tipo { Testo, Numero, Data } tipo = Tipo::Testo;
    double numero = 0;
    int giorno = 0, mese = 0, anno = 0;
};

inline ValoreDigitato Digitato(const std::string& v)
{
    ValoreDigitato d;
    int g = 0, m = 0, a = 0;
    char resto = 0;
    const bool numero = v.find_first_not_of("0123456789") == std::string::npos && v.size() < 15 && v[0] != '0';
    if (std::sscanf(v.c_str(), "%2d/%2d/%4d%c", &g, &m, &a, &resto) == 3 && v.size() == 10) {
        d.tipo = ValoreDigitato::Tipo::Data;
        d.giorno = g;
        d.mese = m;
        d.anno = a;
    } else if (numero) {
        d.tipo = ValoreDigitato::Tipo::Numero;
        d.numero = std::stod(v);
    } else if (const std::size_t virgola = v.find(','); virgola != std::string::npos && virgola > 0
               && v.find_first_not_of("0123456789,") == std::string::npos && v.find(',', virgola + 1) == std::string::npos
               && virgola + 1 < v.size() && (v[0] != '0' || virgola == 1)) {
        // "100,5": a decimal typed by an Italian user is stored as a number.
        std::string punto = v;
        punto[virgola] = '.';
        d.tipo = ValoreDigitato::Tipo::Numero;
        d.numero = std::stod(punto);
    }
    return d;
}

// Two invoices received from one supplier, with their dates of receipt: the second sheet of
// the damage tests' workbooks.
inline Righe RicevuteDiBeta()
{
    Righe righe;
    for (const char* numero : {"F-9", "F-10"})
        righe.push_back({"98765432109", "", "Beta spa", "", "", "", "", "", "", "", "IT", "", "TD01", "10/02/2017", numero, "200",
                         "44", "22", "", "", "", "", "12/02/2017"});
    return righe;
}

// A workbook as a user makes it: title rows, the headings of row 3 ("NOME" in D3), then the
// rows, typed as Digitato says.
inline void ScriviCartella(const QString& percorso, const Righe& emesse, const Righe& ricevute, const char* d3 = "NOME")
{
    const sheets_fixture::NumeriC numeri;
    lxw_workbook* wb = workbook_new(percorso.toUtf8().constData());
    lxw_format* data = workbook_add_format(wb);
    format_set_num_format(data, "dd/mm/yyyy");
    auto foglio = [&](const char* nome, const Righe& righe, const char* titolo) {
        lxw_worksheet* ws = workbook_add_worksheet(wb, nome);
        worksheet_write_string(ws, 0, 0, titolo, nullptr);
        worksheet_write_string(ws, 2, 3, d3, nullptr);
        lxw_row_t r = 3;
        for (const auto& riga : righe) {
            for (lxw_col_t c = 0; c < riga.size(); ++c) {
                const std::string& v = riga[c];
                if (v.empty())
                    continue;
                const ValoreDigitato d = Digitato(v);
                if (d.tipo == ValoreDigitato::Tipo::Data) {
                    lxw_datetime dt = {d.anno, d.mese, d.giorno, 0, 0, 0};
                    worksheet_write_datetime(ws, r, c, &dt, data);
                } else if (d.tipo == ValoreDigitato::Tipo::Numero) {
                    worksheet_write_number(ws, r, c, d.numero, nullptr);
                } else {
                    worksheet_write_string(ws, r, c, v.c_str(), nullptr);
                }
            }
            ++r;
        }
    };
    foglio("Emesse", emesse, "FATTURE EMESSE");
    foglio("Ricevute", ricevute, "FATTURE RICEVUTE");
    workbook_close(wb);
}

// The same workbook in Excel's binary format (.xlsb), written by the tests' own writer:
// texts in the shared table, numbers as RK values where they fit (as Excel stores them),
// dates as serials with a date format.
inline void ScriviCartellaXlsb(const QString& percorso, const Righe& emesse, const Righe& ricevute, const char* d3 = "NOME")
{
    const sheets_fixture::NumeriC numeri;   // Digitato reads numbers with the C library
    std::vector<std::pair<std::string, std::string>> membri;
    quercino::test::ScrittoreXlsb w([&](const std::string& nome) { membri.emplace_back(nome, std::string()); },
                                    [&](std::string_view byte) { membri.back().second += byte; });
    const int data = w.Stile("dd/mm/yyyy");
    auto foglio = [&](const char* nome, const Righe& righe, const char* titolo) {
        w.Foglio(nome);
        w.Riga(1);
        w.Testo(1, titolo);
        w.Riga(3);
        w.Testo(4, d3);
        int r = 4;
        for (const auto& riga : righe) {
            w.Riga(r++);
            for (std::size_t c = 0; c < riga.size(); ++c) {
                const std::string& v = riga[c];
                const int colonna = static_cast<int>(c) + 1;
                if (v.empty())
                    continue;
                const ValoreDigitato d = Digitato(v);
                if (d.tipo == ValoreDigitato::Tipo::Data) {
                    const QDate giorno(d.anno, d.mese, d.giorno);
                    w.Rk(colonna, quercino::test::RkIntero(static_cast<std::int32_t>(QDate(1899, 12, 30).daysTo(giorno))), data);
                } else if (d.tipo == ValoreDigitato::Tipo::Numero) {
                    const double centesimi = d.numero * 100;
                    if (centesimi == static_cast<double>(static_cast<std::int32_t>(centesimi)) && std::abs(centesimi) < (1 << 29))
                        w.Rk(colonna, quercino::test::RkIntero(static_cast<std::int32_t>(centesimi), true));
                    else
                        w.Numero(colonna, d.numero);
                } else {
                    w.Testo(colonna, v);
                }
            }
        }
    };
    foglio("Emesse", emesse, "FATTURE EMESSE");
    foglio("Ricevute", ricevute, "FATTURE RICEVUTE");
    w.Chiudi();
    sheets_fixture::ScriviFile(percorso, sheets_fixture::Zip(membri));
}

// A CSV file: the kind in the first field, two lines skipped, then the rows.
inline void ScriviCsv(const QString& percorso, const std::string& intestazione, const Righe& righe, char separatore = ';',
                      const std::string& fineRiga = "\r\n")
{
    std::string testo = intestazione + std::string(33, separatore) + fineRiga + "riga 2" + fineRiga + "riga 3" + fineRiga;
    for (const auto& riga : righe) {
        for (std::size_t c = 0; c < riga.size(); ++c) {
            if (c)
                testo += separatore;
            const std::string& v = riga[c];
            if (v.find(separatore) != std::string::npos || v.find('"') != std::string::npos) {
                testo += '"';
                for (char ch : v)
                    testo += ch == '"' ? std::string("\"\"") : std::string(1, ch);
                testo += '"';
            } else {
                testo += v;
            }
        }
        testo += fineRiga;
    }
    EXPECT_TRUE(ScriviFile(percorso, QByteArray::fromStdString(testo)));
}

// The log's lines (Windows-1252, CR LF).
inline QStringList RigheLog(const QString& file)
{
    const QByteArray b = LeggiFile(file);
    QString testo = quercino::decodeWindows1252(std::span(reinterpret_cast<const std::uint8_t*>(b.constData()), static_cast<std::size_t>(b.size())));
    EXPECT_FALSE(testo.contains(QRegularExpression(QStringLiteral("[^\\r]\\n")))) << "righe senza CR LF";
    if (testo.endsWith(QStringLiteral("\r\n")))
        testo.chop(2);
    return testo.split(QStringLiteral("\r\n"));
}

// The test's environment: globals cleared, a folder of its own.
class Ambiente {
public:
    Ambiente()
    {
        quercino::UltimaCartella.clear();
        quercino::FileSalva.clear();
        quercino::NomeOperatore = QStringLiteral("ROSSI SPA");
        quercino::RispostaTask = 0;
    }
    QString File(const QString& nome) const { return dir.filePath(nome); }

    QTemporaryDir dir;
    quercino::test::AperturaRegistrata aperture;
    DichiaranteInMemoria dichiarante;
};

} // namespace import_fixture
