#include "tools/manuale/TestoManuale.h"

#include "declarants/import/ColonneImport.h"
#include "platform/text/Windows1252.h"

#include <QString>

#include <fstream>
#include <sstream>
#include <stdexcept>

namespace quercino::manuale {

namespace {

class Lettore {
public:
    explicit Lettore(std::string percorso) : percorso_(std::move(percorso)) {}

    [[noreturn]] void Errore(const std::string& motivo) const
    {
        throw std::runtime_error(percorso_ + ":" + std::to_string(riga_) + ": " + motivo);
    }

    // A line of the source in the writer's code page.
    std::string Codifica(const std::string& utf8) const
    {
        const QString testo = QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
        bool senzaPerdite = false;
        const std::vector<std::uint8_t> byte = encodeWindows1252(testo, &senzaPerdite);
        if (!senzaPerdite || testo.contains(QChar::ReplacementCharacter))
            Errore("carattere che la codifica Windows-1252 non contiene");
        return std::string(byte.begin(), byte.end());
    }

    static std::string Pulito(const std::string& testo)
    {
        const std::size_t da = testo.find_first_not_of(' ');
        return da == std::string::npos ? std::string() : testo.substr(da, testo.find_last_not_of(' ') - da + 1);
    }

    std::vector<std::string> Celle(const std::string& riga) const
    {
        std::vector<std::string> celle;
        std::istringstream parti(riga.substr(1));
        std::string cella;
        while (std::getline(parti, cella, '|'))
            celle.push_back(Pulito(cella));
        if (!celle.empty() && celle.back().empty() && riga.back() == '|')
            celle.pop_back();
        return celle;
    }

    void Chiudi()
    {
        if (aperto_)
            testo_.blocchi.push_back(corrente_);
        aperto_ = false;
        corrente_ = Blocco();
    }

    void Apri(TipoBlocco tipo, const std::string& testo)
    {
        Chiudi();
        corrente_.tipo = tipo;
        corrente_.testo = testo;
        aperto_ = true;
    }

    void RigaTabella(std::vector<std::string> celle)
    {
        if (!aperto_ || corrente_.tipo != TipoBlocco::Tabella) {
            Chiudi();
            corrente_.tipo = TipoBlocco::Tabella;
            corrente_.larghezze = larghezze_;
            larghezze_.clear();
            aperto_ = true;
        }
        if (corrente_.larghezze.empty())
            corrente_.larghezze.assign(celle.size(), 1.0 / static_cast<double>(celle.size()));
        if (celle.size() != corrente_.larghezze.size())
            Errore("la riga ha " + std::to_string(celle.size()) + " celle, la tabella " +
                   std::to_string(corrente_.larghezze.size()));
        corrente_.righe.push_back(std::move(celle));
    }

    // "@colonne Intestazioni | ..." opens the table of the import columns: each following
    // line is "numero | descrizione", the column's heading comes from the import itself.
    void RigaColonne(const std::string& riga)
    {
        const std::size_t barra = riga.find('|');
        int numero = 0;
        try {
            numero = std::stoi(riga.substr(0, barra));
        } catch (const std::exception&) {
            Errore("numero di colonna mancante");
        }
        if (barra == std::string::npos || numero != static_cast<int>(corrente_.righe.size()) ||
            numero > importazione::NumeroColonne)
            Errore("attesa la colonna " + std::to_string(corrente_.righe.size()));
        const std::string titolo = importazione::DefinizioniColonne()[static_cast<std::size_t>(numero) - 1].Titolo;
        RigaTabella({std::to_string(numero), Codifica(titolo), Pulito(riga.substr(barra + 1))});
    }

    TestoManuale Leggi()
    {
        std::ifstream file(percorso_, std::ios::binary);
        if (!file)
            Errore("file non leggibile");
        std::string utf8;
        bool colonne = false;
        while (std::getline(file, utf8)) {
            ++riga_;
            if (!utf8.empty() && utf8.back() == '\r')
                utf8.pop_back();
            const std::string linea = Codifica(utf8);
            if (colonne && linea != "@fine") {
                RigaColonne(linea);
                continue;
            }
            if (linea.rfind('%', 0) == 0)
                continue;
            if (linea == "@fine") {
                if (corrente_.righe.size() != importazione::NumeroColonne + 1u)
                    Errore("la tabella delle colonne non ha " + std::to_string(importazione::NumeroColonne) + " righe");
                colonne = false;
                Chiudi();
            } else if (linea.rfind("@colonne ", 0) == 0) {
                Chiudi();
                RigaTabella(Celle("|" + linea.substr(9)));
                colonne = true;
            } else if (linea.rfind("@larghezze ", 0) == 0) {
                std::istringstream quote(linea.substr(11));
                double quota = 0, somma = 0;
                while (quote >> quota)
                    larghezze_.push_back(quota), somma += quota;
                for (double& l : larghezze_)
                    l /= somma;
            } else if (linea.rfind('@', 0) == 0) {
                const std::size_t spazio = linea.find(' ');
                testo_.proprieta[linea.substr(1, spazio - 1)] = spazio == std::string::npos ? "" : linea.substr(spazio + 1);
            } else if (linea.rfind("## ", 0) == 0) {
                Apri(TipoBlocco::Sezione, Pulito(linea.substr(3)));
                Chiudi();
            } else if (linea.rfind("# ", 0) == 0) {
                Apri(TipoBlocco::Capitolo, Pulito(linea.substr(2)));
                Chiudi();
            } else if (linea.rfind("- ", 0) == 0) {
                Apri(TipoBlocco::Punto, Pulito(linea.substr(2)));
            } else if (linea.rfind("    ", 0) == 0 && !(aperto_ && corrente_.tipo == TipoBlocco::Punto)) {
                Apri(TipoBlocco::Codice, linea.substr(4));
                Chiudi();
            } else if (linea.rfind('|', 0) == 0) {
                RigaTabella(Celle(linea));
            } else if (Pulito(linea).empty()) {
                Chiudi();
            } else if (aperto_ && (corrente_.tipo == TipoBlocco::Paragrafo || corrente_.tipo == TipoBlocco::Punto)) {
                corrente_.testo += " " + Pulito(linea);
            } else {
                Apri(TipoBlocco::Paragrafo, Pulito(linea));
            }
        }
        if (colonne)
            Errore("@colonne senza @fine");
        Chiudi();
        return testo_;
    }

private:
    std::string percorso_;
    int riga_ = 0;
    TestoManuale testo_;
    Blocco corrente_;
    bool aperto_ = false;
    std::vector<double> larghezze_;
};

} // namespace

TestoManuale LeggiTestoManuale(const std::string& percorso)
{
    return Lettore(percorso).Leggi();
}

} // namespace quercino::manuale
