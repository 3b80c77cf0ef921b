#pragma once
// Declarants without a database: sample data for the DatiFattura writer, and the import's
// source of the declarant held in memory, counting the progressives taken and not given back.
//
//   quercino::test::DichiaranteInMemoria dichiarante;   // ROSSI SPA, 01234567890, file 1
//   Importazione importazione(dichiarante, log);
//   ... EXPECT_EQ(dichiarante.aumenti, 2);

#include "declarants/datifattura/DatiDichiarante.h"
#include "declarants/datifattura/ErroreDatiFattura.h"
#include "declarants/import/SorgenteDichiarante.h"

#include <functional>

namespace quercino::test {

// A company of Rome, VAT number 01234567890, with only the data every file needs.
inline datifattura::DatiDichiarante SocietaDiRoma(const QString& ragione, const QString& civico, int progressivo)
{
    datifattura::DatiDichiarante d;
    d.OSPAESE = QStringLiteral("IT");
    d.OCF = d.OPIVA = QStringLiteral("01234567890");
    d.OPROG = progressivo;
    d.ORAG = ragione;
    d.OSINDI = QStringLiteral("VIA ROMA");
    d.OSNUMC = civico;
    d.OSCAP = QStringLiteral("00100");
    d.OSCOM = QStringLiteral("ROMA");
    d.OSPRO = QStringLiteral("RM");
    return d;
}

// A company with every block of the header filled (signer, establishment, representative).
inline datifattura::DatiDichiarante DichiaranteSocieta()
{
    datifattura::DatiDichiarante d = SocietaDiRoma(QStringLiteral("ALFA SRL"), QStringLiteral("10"), 7);
    d.ODICPIVA = QStringLiteral("RSSMRA80A01H501U");
    d.ODICCARICA = QStringLiteral("1");
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
inline datifattura::DatiDichiarante DichiarantePersona()
{
    datifattura::DatiDichiarante d;
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

class DichiaranteInMemoria final : public importazione::SorgenteDichiarante {
public:
    DichiaranteInMemoria() : dati(SocietaDiRoma(QStringLiteral("ROSSI SPA"), QStringLiteral("1"), 1)) {}

    datifattura::DatiDichiarante Dichiarante() override
    {
        if (osserva)
            osserva();
        return dati;
    }

    // Takes OPROG and raises it, unless `erroreProgressivo` is set and `aumenti` has reached
    // `erroreDopo`: then that is the error and nothing is taken.
    int PrendiProgressivo() override
    {
        if (!erroreProgressivo.isEmpty() && aumenti >= erroreDopo)
            throw datifattura::ErroreDatiFattura(erroreProgressivo);
        ++aumenti;
        return dati.OPROG++;
    }
    void RestituisciProgressivo(int numero) override
    {
        if (dati.OPROG == numero + 1) {
            --aumenti;
            --dati.OPROG;
        }
    }

    datifattura::DatiDichiarante dati;
    int aumenti = 0;
    QString erroreProgressivo;
    int erroreDopo = 0;
    std::function<void()> osserva;   // called each time the declarant is asked for
};

} // namespace quercino::test
