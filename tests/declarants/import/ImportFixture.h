#pragma once
// What the import's end-to-end tests share: a declarant held in memory, workbooks written
// by an independent library, CSV files, the schema check by xmllint and the reading of
// the files written.

#include "support/ServiziSimulati.h"
#include "support/AperturaRegistrata.h"

#include "app/core/Globals.h"
#include "declarants/import/SorgenteDichiarante.h"
#include "platform/text/Windows1252.h"

#include <QDir>
#include <QRegularExpression>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <xlsxwriter.h>

#include <cstdio>
#include <span>
#include <string>
#include <vector>

namespace import_fixture {

using Righe = std::vector<std::vector<std::string>>;

class DichiaranteInMemoria final : public quercino::importazione::SorgenteDichiarante {
public:
    DichiaranteInMemoria()
    {
        dati.OSPAESE = QStringLiteral("IT");
        dati.OCF = QStringLiteral("01234567890");
        dati.OPROG = 1;
        dati.OPIVA = QStringLiteral("01234567890");
        dati.ORAG = QStringLiteral("ROSSI SPA");
        dati.OSINDI = QStringLiteral("VIA ROMA");
        dati.OSNUMC = QStringLiteral("1");
        dati.OSCAP = QStringLiteral("00100");
        dati.OSCOM = QStringLiteral("ROMA");
        dati.OSPRO = QStringLiteral("RM");
    }
    quercino::datifattura::DatiDichiarante Dichiarante() override { return dati; }
    QString AggiornaProgressivo() override
    {
        ++aumenti;
        ++dati.OPROG;
        return {};
    }
    quercino::datifattura::DatiDichiarante dati;
    int aumenti = 0;
};

// A row of 34 texts from (column, value) pairs.
inline std::vector<std::string> Riga(std::initializer_list<std::pair<int, std::string>> valori)
{
    std::vector<std::string> r(34);
    for (const auto& [colonna, valore] : valori)
        r[static_cast<std::size_t>(colonna) - 1] = valore;
    return r;
}

// A workbook as a user makes it: title rows, the headings of row 3 ("NOME" in D3), then the
// rows; texts that look like numbers or dates are written as typed cells, as a spreadsheet
// program would store them.
inline void ScriviCartella(const QString& percorso, const Righe& emesse, const Righe& ricevute, const char* d3 = "NOME",
                           bool secondoFoglio = true)
{
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
                int g = 0, m = 0, a = 0;
                char resto = 0;
                const bool numero = v.find_first_not_of("0123456789") == std::string::npos && v.size() < 15 && v[0] != '0';
                if (std::sscanf(v.c_str(), "%2d/%2d/%4d%c", &g, &m, &a, &resto) == 3 && v.size() == 10) {
                    lxw_datetime dt = {a, m, g, 0, 0, 0};
                    worksheet_write_datetime(ws, r, c, &dt, data);
                } else if (numero) {
                    worksheet_write_number(ws, r, c, std::stod(v), nullptr);
                } else {
                    worksheet_write_string(ws, r, c, v.c_str(), nullptr);
                }
            }
            ++r;
        }
    };
    foglio("Emesse", emesse, "FATTURE EMESSE");
    if (secondoFoglio)
        foglio("Ricevute", ricevute, "FATTURE RICEVUTE");
    workbook_close(wb);
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
    QFile f(percorso);
    f.open(QIODevice::WriteOnly);
    f.write(testo.data(), static_cast<qint64>(testo.size()));
}

inline QString SchemaDatiFattura()
{
    return QStringLiteral(QUERCINO_SHARED_DIR "/xsd/DatiFatturav2.1.xsd");
}

// xmllint's verdict on a file against the Agency's schema: empty when valid.
inline QString ErroriSchema(const QString& file)
{
    QProcess p;
    p.start(QStringLiteral("xmllint"), {QStringLiteral("--nonet"), QStringLiteral("--noout"), QStringLiteral("--schema"),
                                        SchemaDatiFattura(), file});
    if (!p.waitForStarted(10000))
        return QStringLiteral("xmllint non disponibile");
    p.waitForFinished(120000);
    if (p.exitCode() == 0)
        return {};
    return QString::fromUtf8(p.readAllStandardError());
}

inline QByteArray Contenuto(const QString& file)
{
    QFile f(file);
    f.open(QIODevice::ReadOnly);
    return f.readAll();
}

// The log's lines (Windows-1252, CR LF).
inline QStringList RigheLog(const QString& file)
{
    const QByteArray b = Contenuto(file);
    QString testo = quercino::decodeWindows1252(std::span(reinterpret_cast<const std::uint8_t*>(b.constData()), static_cast<std::size_t>(b.size())));
    EXPECT_FALSE(testo.contains(QRegularExpression(QStringLiteral("[^\\r]\\n")))) << "righe senza CR LF";
    if (testo.endsWith(QStringLiteral("\r\n")))
        testo.chop(2);
    return testo.split(QStringLiteral("\r\n"));
}

inline int Conta(const QByteArray& testo, const char* cercato)
{
    return static_cast<int>(testo.count(cercato));
}

// The test's environment: services doubled, globals cleared, a folder of its own.
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
    quercino::test::MessaggiSimulati messaggi;
    quercino::test::DialoghiSimulati dialoghi;
    quercino::test::AperturaRegistrata aperture;
    DichiaranteInMemoria dichiarante;
};

} // namespace import_fixture
