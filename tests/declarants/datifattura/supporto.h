#pragma once
// What the DatiFattura tests share: a scripted answerer of the writer's questions, sample
// rows, and the files written read back with Qt's XML reader. The schema check, golden
// files and sample declarants come from tests/support.

#include "declarants/datifattura/DatiDichiarante.h"
#include "declarants/datifattura/RichiesteScrittura.h"
#include "declarants/datifattura/RigaFattura.h"
#include "support/datifattura_xml.h"
#include "support/dichiarante_in_memoria.h"
#include "support/golden.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <QStringList>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

#include <deque>

namespace quercino::datifattura::prova {

using test::DichiarantePersona;
using test::DichiaranteSocieta;
using test::LeggiFile;
using test::ScriviFile;
using test::ValidoPerSchema;
using test::XPath;

// Answers the writer as a test script says, and records what it was asked.
class RichiesteProva : public RichiesteScrittura {
public:
    explicit RichiesteProva(QString cartella, int progressivoIniziale = 1)
        : progressivo(progressivoIniziale), cartella_(std::move(cartella)) {}

    // Paths the save dialog returns, in order; when none is scripted it returns the folder
    // and the proposed name. An empty entry is a Cancel.
    std::deque<QString> percorsiDialogo;
    // Answers of ControlloDocumento, in order; true = keep the existing file.
    std::deque<bool> risposteControllo;
    int progressivo;

    QStringList nomiProposti;
    QStringList controllati;
    int aumenti = 0;

    QString ChiediFileXML(const QString& nomeFile) override
    {
        nomiProposti << nomeFile;
        if (percorsiDialogo.empty())
            return QDir(cartella_).filePath(nomeFile);
        QString percorso = percorsiDialogo.front();
        percorsiDialogo.pop_front();
        return percorso;
    }

    bool ControlloDocumento(const QString& percorso) override
    {
        controllati << percorso;
        if (risposteControllo.empty())
            return false;
        const bool risposta = risposteControllo.front();
        risposteControllo.pop_front();
        return risposta;
    }

    int AggiornaProgressivo() override
    {
        ++aumenti;
        return ++progressivo;
    }

private:
    QString cartella_;
};

// An Italian company as counterpart, with one invoice line of 100,00 at 22 %.
inline RigaFattura Riga(const QString& partitaIva, const QString& denominazione, const QString& numero,
                        QDate data = QDate(2018, 1, 10))
{
    RigaFattura r;
    r.PartitaIva = partitaIva;
    r.Denominazione = denominazione;
    r.Sede.Nazione = QStringLiteral("IT");
    r.TipoDocumento = QStringLiteral("TD01");
    r.Data = data;
    r.Numero = numero;
    r.DataRegistrazione = data.addDays(2);
    r.Imponibile = 10000;
    r.Imposta = 2200;
    r.Aliquota = 2200;
    return r;
}

// A row that continues the counterpart above (no identification).
inline RigaFattura Continuazione(const QString& numero, QDate data = QDate(2018, 1, 10))
{
    RigaFattura r = Riga(QString(), QString(), numero, data);
    r.Sede.Nazione.clear();
    return r;
}

// The files of a folder, sorted by name.
inline QStringList FileXml(const QString& cartella)
{
    QStringList nomi = QDir(cartella).entryList({QStringLiteral("*")}, QDir::Files, QDir::Name);
    QStringList percorsi;
    for (const QString& nome : nomi)
        percorsi << QDir(cartella).filePath(nome);
    return percorsi;
}

inline int Conta(const QByteArray& testo, const char* cosa)
{
    return static_cast<int>(testo.count(cosa));
}

// What a written file holds, read back with Qt's XML reader.
struct FatturaLetta {
    QString numero;
    QString data;
    QString tipo;
    int riepiloghi = 0;
};
struct BloccoLetto {
    QString idCodice;
    QString codiceFiscale;
    QString nome;   // Denominazione, or Nome and Cognome
    std::vector<FatturaLetta> fatture;
};
struct FileLetto {
    bool benFormato = false;
    QString progressivo;
    std::vector<BloccoLetto> blocchi;
};

inline FileLetto LeggiDatiFattura(const QString& percorso)
{
    FileLetto letto;
    QFile f(percorso);
    if (!f.open(QIODevice::ReadOnly))
        return letto;
    QXmlStreamReader xml(&f);
    QStringList pila;
    auto dentro = [&pila](const char* nome) { return pila.contains(QLatin1String(nome)); };
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement()) {
            const QString nome = xml.name().toString();
            pila << nome;
            if (nome == QLatin1String("CessionarioCommittenteDTE") || nome == QLatin1String("CedentePrestatoreDTR"))
                letto.blocchi.emplace_back();
            else if (nome.startsWith(QLatin1String("DatiFatturaBody")))
                letto.blocchi.back().fatture.emplace_back();
            else if (nome == QLatin1String("DatiRiepilogo"))
                ++letto.blocchi.back().fatture.back().riepiloghi;
        } else if (xml.isEndElement()) {
            pila.removeLast();
        } else if (xml.isCharacters() && !xml.isWhitespace() && !pila.isEmpty()) {
            const QString& elemento = pila.last();
            const QString testo = xml.text().toString();
            if (elemento == QLatin1String("ProgressivoInvio")) {
                letto.progressivo = testo;
                continue;
            }
            const bool controparte = dentro("CessionarioCommittenteDTE") || dentro("CedentePrestatoreDTR");
            if (!controparte || dentro("RappresentanteFiscale") || dentro("Sede") || dentro("StabileOrganizzazione"))
                continue;
            BloccoLetto& b = letto.blocchi.back();
            if (elemento == QLatin1String("IdCodice"))
                b.idCodice += testo;
            else if (elemento == QLatin1String("CodiceFiscale"))
                b.codiceFiscale += testo;
            else if (elemento == QLatin1String("Denominazione"))
                b.nome += testo;
            else if (elemento == QLatin1String("Nome"))
                b.nome += testo;
            else if (elemento == QLatin1String("Cognome"))
                b.nome += QLatin1Char(' ') + testo;
            else if (elemento == QLatin1String("Numero"))
                b.fatture.back().numero += testo;
            else if (elemento == QLatin1String("Data") && dentro("DatiGenerali"))
                b.fatture.back().data += testo;
            else if (elemento == QLatin1String("TipoDocumento"))
                b.fatture.back().tipo += testo;
        }
    }
    letto.benFormato = !xml.hasError();
    return letto;
}

} // namespace quercino::datifattura::prova
