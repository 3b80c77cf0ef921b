#pragma once
// What the DatiFattura tests share: a scripted answerer of the writer's questions, sample
// declarants and rows, file reading, and the check of a file against the Agency's schema
// with xmllint (an independent validator).

#include "declarants/datifattura/DatiDichiarante.h"
#include "declarants/datifattura/RichiesteScrittura.h"
#include "declarants/datifattura/RigaFattura.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

#include <deque>

namespace quercino::datifattura::prova {

inline QString SchemaDatiFattura()
{
    return QStringLiteral(QUERCINO_SCHEMA_DATIFATTURA);
}

// xmllint's verdict on `percorso`: empty when the file validates, else its messages. A
// missing schema fails the test, so an expected rejection cannot pass for that reason.
inline QString ErroriSchema(const QString& percorso)
{
    if (!QFileInfo::exists(SchemaDatiFattura())) {
        ADD_FAILURE() << "schema missing: " << SchemaDatiFattura().toStdString();
        return QStringLiteral("schema mancante");
    }
    QProcess xmllint;
    xmllint.setProcessChannelMode(QProcess::MergedChannels);
    xmllint.start(QStringLiteral("xmllint"), {QStringLiteral("--nonet"), QStringLiteral("--noout"),
                                              QStringLiteral("--schema"), SchemaDatiFattura(), percorso});
    if (!xmllint.waitForFinished(300'000))
        return QStringLiteral("xmllint non ha risposto");
    const QString uscita = QString::fromUtf8(xmllint.readAll());
    if (xmllint.exitStatus() != QProcess::NormalExit || xmllint.exitCode() != 0)
        return uscita.isEmpty() ? QStringLiteral("xmllint fallito") : uscita.left(4000);
    return {};
}

// Validates every file against the Agency's schema.
#define ASSERT_VALIDI(percorsi)                                                                    \
    do {                                                                                           \
        for (const QString& percorso__ : (percorsi))                                               \
            ASSERT_EQ(::quercino::datifattura::prova::ErroriSchema(percorso__).toStdString(), "") << percorso__.toStdString(); \
    } while (false)

inline QByteArray LeggiFile(const QString& percorso)
{
    QFile f(percorso);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

// The first line where two files differ, for a readable failure.
inline std::string PrimaDifferenza(const QByteArray& ottenuto, const QByteArray& atteso)
{
    const QList<QByteArray> a = ottenuto.split('\n');
    const QList<QByteArray> b = atteso.split('\n');
    for (qsizetype i = 0; i < std::max(a.size(), b.size()); ++i) {
        const QByteArray x = i < a.size() ? a[i] : QByteArray("<fine>");
        const QByteArray y = i < b.size() ? b[i] : QByteArray("<fine>");
        if (x != y)
            return "line " + std::to_string(i + 1) + ":\n  got      [" + x.toStdString() + "]\n  expected [" + y.toStdString() + "]";
    }
    return "identical";
}

inline QByteArray Atteso(const char* nome)
{
    return LeggiFile(QStringLiteral(QUERCINO_SOURCE_DIR "/tests/declarants/datifattura/attesi/") + QLatin1String(nome));
}

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

// A company declarant with every block of the header filled.
inline DatiDichiarante DichiaranteSocieta()
{
    DatiDichiarante d;
    d.OSPAESE = QStringLiteral("IT");
    d.OCF = QStringLiteral("01234567890");
    d.OPROG = 7;
    d.ODICPIVA = QStringLiteral("RSSMRA80A01H501U");
    d.ODICCARICA = QStringLiteral("1");
    d.OPIVA = QStringLiteral("01234567890");
    d.ORAG = QStringLiteral("ALFA SRL");
    d.OSINDI = QStringLiteral("VIA ROMA");
    d.OSNUMC = QStringLiteral("10");
    d.OSCAP = QStringLiteral("00100");
    d.OSCOM = QStringLiteral("ROMA");
    d.OSPRO = QStringLiteral("RM");
    d.OSOINDI = QStringLiteral("VIA TORINO");
    d.OSONUMC = QStringLiteral("2");
    d.OSOCAP = QStringLiteral("120");
    d.OSOCOM = QStringLiteral("ROMA");
    d.OSOPRO = QStringLiteral("RM");
    d.OSOPAESE = QStringLiteral("IT");
    d.ORFPIVA = QStringLiteral("33333333333");
    d.ORFRAG = QStringLiteral("OMEGA SRL");
    return d;
}

// A natural person with no signer, establishment or representative.
inline DatiDichiarante DichiarantePersona()
{
    DatiDichiarante d;
    d.OSPAESE = QStringLiteral("IT");
    d.OCF = QStringLiteral("RSSMRA80A01H501U");
    d.OPROG = 41;
    d.OPIVA = QStringLiteral("01234567890");
    d.OPF = true;
    d.ONOME = QStringLiteral("MARIO");
    d.OCOG = QStringLiteral("ROSSI");
    d.OSINDI = QStringLiteral("PIAZZA DUOMO");
    d.OSCAP = QStringLiteral("20121");
    d.OSCOM = QStringLiteral("MILANO");
    d.OSPRO = QStringLiteral("MI");
    return d;
}

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
