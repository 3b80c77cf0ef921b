// Writes the seeded database of the program folder: the schema, the Italian towns and
// birthplace codes from the codice-fiscale-js list, the countries from iso-codes and the
// role codes.
//   genera_database LISTA_COMUNI.js PAESI.tsv OUTPUT.sqlite
// The file is built beside OUTPUT and renamed over it only when complete.

#include "Cariche.h"
#include "ListaComuni.h"

#include "app/core/Schema.h"
#include "platform/db/Database.h"

#include <QCoreApplication>
#include <QFile>
#include <QSet>
#include <QStringList>

#include <cstdio>
#include <exception>
#include <stdexcept>

using namespace quercino;

namespace {

struct Paese {
    QString codice;
    QString nome;
};

std::vector<Paese> leggiPaesi(const QString& percorso)
{
    QFile file(percorso);
    if (!file.open(QIODevice::ReadOnly))
        throw std::runtime_error("cannot read " + percorso.toStdString());
    std::vector<Paese> paesi;
    for (const QString& riga : QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        const QStringList campi = riga.split(QLatin1Char('\t'));
        if (campi.size() != 2 || campi[0].size() != 2 || campi[1].isEmpty())
            throw std::runtime_error("bad country line: " + riga.toStdString());
        paesi.push_back(Paese{campi[0], campi[1]});
    }
    return paesi;
}

void scriviDatabase(const QString& lista, const QString& fileSalvato, const QString& uscita)
{
    const std::vector<genera::VoceComune> voci = genera::leggiListaComuni(lista);
    const std::vector<Paese> paesi = leggiPaesi(fileSalvato);

    QFile::remove(uscita);
    {
        QFile vuoto(uscita);
        if (!vuoto.open(QIODevice::WriteOnly))
            throw std::runtime_error("cannot create " + uscita.toStdString());
    }
    auto db = Database::openSqliteFile(uscita);
    schema::creaTabelle(*db);

    Transaction transazione(*db);
    int comuni = 0;
    QSet<QString> righeCF;
    for (const genera::VoceComune& v : voci) {
        // Towns in use, Italian only: foreign states are birthplace codes, not towns.
        if (v.attivo && v.provincia != QLatin1String("EE")) {
            db->insert(schema::T_COMUNI(), {v.nome, v.provincia});
            ++comuni;
        }
        const QString chiave = v.codice + QLatin1Char('\t') + v.nome;
        if (!righeCF.contains(chiave)) {
            righeCF.insert(chiave);
            db->insert(schema::T_COMUNICF(), {v.codice, v.nome});
        }
    }
    for (const Paese& p : paesi)
        db->insert(schema::CTAB(), {QStringLiteral("PAESE"), p.codice, p.nome});
    for (const genera::Carica& c : genera::cariche())
        db->insert(schema::CTAB(), {QStringLiteral("CARICA"), c.codice, c.descrizione});
    transazione.commit();

    std::printf("VEKO.sqlite: %d comuni, %lld codici catastali, %zu paesi, %zu cariche\n", comuni,
                static_cast<long long>(righeCF.size()), paesi.size(), genera::cariche().size());
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 4) {
        std::fprintf(stderr, "usage: genera_database LISTA_COMUNI.js PAESI.tsv OUTPUT.sqlite\n");
        return 2;
    }
    const QString uscita = QString::fromLocal8Bit(argv[3]);
    const QString temporaneo = uscita + QStringLiteral(".tmp");
    try {
        scriviDatabase(QString::fromLocal8Bit(argv[1]), QString::fromLocal8Bit(argv[2]), temporaneo);
        QFile::remove(uscita);
        if (!QFile::rename(temporaneo, uscita))
            throw std::runtime_error("cannot rename to " + uscita.toStdString());
    } catch (const std::exception& e) {
        QFile::remove(temporaneo);
        std::fprintf(stderr, "genera_database: %s\n", e.what());
        return 1;
    }
    return 0;
}
