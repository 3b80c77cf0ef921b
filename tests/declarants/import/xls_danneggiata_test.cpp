// The import of damaged copies of the .xls files that LibreOffice, Gnumeric (Excel 97 and 95)
// and SheetJS (Excel 97 and 5.0/95) write of one workbook of invoices: every record of the
// workbook stream damaged in turn, in its type (two bits of its low byte) or its length (its
// low byte one more or one less). Each copy imports into exactly the files of the undamaged
// workbook, or gives a damage message and keeps no file of the damaged sheet (of any sheet
// when the globals are damaged); a file kept is byte for byte the undamaged one, and only
// the kept files keep the progressive numbers they took. The
// undamaged .xls files import into the files of the .xlsx they were made from.

#include "import_fixture.h"

#include "app/core/DialoghiFile.h"
#include "app/core/Messaggi.h"
#include "declarants/import/Importazione.h"
#include "platform/sheets/CompoundFile.h"
#include "support/produttori_cartelle.h"
#include "support/servizi_simulati.h"

#include <QMap>

using namespace import_fixture;
using namespace quercino;

namespace {

// The save dialogs answered with the proposed name, in one folder.
class DialoghiInCartella final : public ServizioDialoghi {
public:
    explicit DialoghiInCartella(QString cartella) : cartella_(std::move(cartella)) { ImpostaServizioDialoghi(this); }
    ~DialoghiInCartella() override { ImpostaServizioDialoghi(nullptr); }
    DialoghiInCartella(const DialoghiInCartella&) = delete;
    DialoghiInCartella& operator=(const DialoghiInCartella&) = delete;
    QString ChiediSalvataggio(const RichiestaFile& r) override { return QDir(cartella_).filePath(r.nomeFile); }
    QStringList ChiediApertura(const RichiestaFile&, bool) override { return {}; }

private:
    QString cartella_;
};

struct Importati {
    QMap<QString, QByteArray> file;   // the DatiFattura files by name
    bool danno = false;               // a message said the workbook or a sheet is damaged
    int numeri = 0;                   // progressives taken and not given back
};

// `input` imported as the window's button does, by a declarant whose next file is number 1,
// its files written into `uscita` (emptied first).
Importati Importa(const QString& input, const QString& uscita)
{
    QDir(uscita).removeRecursively();
    QDir().mkpath(uscita);
    UltimaCartella.clear();
    Importati esito;
    {
        test::MessaggiSimulati messaggi;
        DialoghiInCartella dialoghi(uscita);
        DichiaranteInMemoria dichiarante;
        importazione::LogImportazione log(uscita);
        importazione::Importazione importazione(dichiarante, log);
        importazione.Importa(input, importazione::TipoFile::Excel, QStringLiteral(";"));
        for (const Messaggio& m : messaggi.mostrati)
            esito.danno = esito.danno || (m.icona == Icona::Critica && m.testo.contains(QStringLiteral("danneggiat")));
        esito.numeri = dichiarante.aumenti;
    }
    for (const QString& nome : QDir(uscita).entryList({QStringLiteral("*.xml")}, QDir::Files, QDir::Name))
        esito.file[nome] = LeggiFile(QDir(uscita).filePath(nome));
    return esito;
}

// Where each record of the workbook stream begins, in the stream and in the file, and where
// each sheet begins in the stream (from the globals' BOUNDSHEET records).
struct Struttura {
    struct Record {
        std::uint64_t inizio = 0;   // in the stream
        std::uint64_t tipo = 0;     // offset in the file of its type's low byte
        std::uint64_t lunghezza = 0;
    };
    std::vector<Record> record;
    std::vector<std::uint64_t> fogli;
};

Struttura StrutturaDi(const QString& percorso)
{
    Struttura s;
    const sheets::CompoundFile file(percorso.toStdString());
    auto flusso = file.Trova(u"Workbook");
    if (!flusso)
        flusso = file.Trova(u"Book");
    EXPECT_TRUE(flusso.has_value());
    if (!flusso)
        return s;
    const auto nelFile = [&](std::uint64_t k) { return flusso->Posizioni[k / flusso->Pezzo] + k % flusso->Pezzo; };
    sheets::CompoundStreamReader lettore(file, *flusso);
    unsigned char h[4];
    bool globali = true;
    while (lettore.Leggi(reinterpret_cast<char*>(h), 4) == 4) {
        const std::uint64_t inizio = lettore.Posizione() - 4;
        const std::size_t lunghezza = h[2] | (h[3] << 8);
        s.record.push_back({inizio, nelFile(inizio), nelFile(inizio + 2)});
        const std::uint16_t tipo = static_cast<std::uint16_t>(h[0] | (h[1] << 8));
        if (globali && tipo == 0x0085) {
            unsigned char p[4];
            lettore.Leggi(reinterpret_cast<char*>(p), 4);
            s.fogli.push_back(p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint64_t>(p[3]) << 24));
            lettore.Vai(inizio + 4 + lunghezza);
            continue;
        }
        globali = globali && tipo != 0x000A;
        lettore.Vai(lettore.Posizione() + lunghezza);
    }
    std::sort(s.fogli.begin(), s.fogli.end());
    return s;
}

// One invoice issued to each of three customers.
Righe Emesse()
{
    Righe righe;
    for (int i = 0; i < 3; ++i)
        righe.push_back({std::to_string(10000000000LL + i), "", "Cliente " + std::to_string(i) + " srl", "", "", "", "", "", "", "",
                         "IT", "", "TD01", "15/01/2017", "N" + std::to_string(i), "1000", "220", "22"});
    return righe;
}

} // namespace

TEST(XlsDanneggiata, OgniCopiaDaIFileInteriODiceIlDannoSenzaFileDelFoglio)
{
    Ambiente a;
    const QString xlsx = a.File("fatture.xlsx");
    ScriviCartella(xlsx, Emesse(), RicevuteDiBeta());
    const std::vector<std::pair<std::string, QString>> prodotti = {
        {"LibreOffice", produttori::DaCalc(xlsx, QStringLiteral("xls"), a.File("calc"))},
        {"Gnumeric Excel 97", produttori::DaGnumeric(xlsx, QStringLiteral("Gnumeric_Excel:excel_biff8"), a.File("gnumeric8.xls"))},
        {"Gnumeric Excel 95", produttori::DaGnumeric(xlsx, QStringLiteral("Gnumeric_Excel:excel_biff7"), a.File("gnumeric5.xls"))},
        {"SheetJS biff8", produttori::DaSheetJs(xlsx, QStringLiteral("biff8"), a.File("sheetjs8.xls"))},
        {"SheetJS biff5", produttori::DaSheetJs(xlsx, QStringLiteral("biff5"), a.File("sheetjs5.xls"))},
    };
    const Importati daXlsx = Importa(xlsx, a.File("uscita"));
    ASSERT_EQ(daXlsx.file.size(), 2) << "un file per foglio";
    ASSERT_FALSE(daXlsx.danno);

    const QString copia = a.File("danneggiata.xls");
    int rifiutate = 0;
    int conUnFoglio = 0;
    int intere = 0;
    std::vector<std::string> errori;
    for (const auto& [chi, xls] : prodotti) {
        SCOPED_TRACE(chi);
        const Importati intatta = Importa(xls, a.File("uscita"));
        EXPECT_FALSE(intatta.danno);
        ASSERT_EQ(intatta.file, daXlsx.file) << "i file della cartella intatta sono quelli del suo .xlsx";
        // The file of each sheet, by position: names hold the progressive, which follows the order.
        const QStringList nomi = intatta.file.keys();
        const QByteArray byte = LeggiFile(xls);
        const Struttura s = StrutturaDi(xls);
        ASSERT_EQ(s.fogli.size(), 2u);
        for (const auto& r : s.record) {
            // The sheet the record belongs to: 0 the globals, whose damage may cost both.
            const int foglio = r.inizio < s.fogli[0] ? 0 : r.inizio < s.fogli[1] ? 1 : 2;
            const std::pair<const char*, std::function<void(QByteArray&)>> danni[] = {
                {"tipo ^ 0x01", [&](QByteArray& b) { b[static_cast<qsizetype>(r.tipo)] = static_cast<char>(b[static_cast<qsizetype>(r.tipo)] ^ 0x01); }},
                {"tipo ^ 0x80", [&](QByteArray& b) { b[static_cast<qsizetype>(r.tipo)] = static_cast<char>(b[static_cast<qsizetype>(r.tipo)] ^ 0x80); }},
                {"lunghezza + 1", [&](QByteArray& b) { ++b[static_cast<qsizetype>(r.lunghezza)]; }},
                {"lunghezza - 1", [&](QByteArray& b) { --b[static_cast<qsizetype>(r.lunghezza)]; }},
            };
            for (const auto& [danno, applica] : danni) {
                QByteArray guasta = byte;
                applica(guasta);
                ASSERT_TRUE(ScriviFile(copia, guasta));
                const Importati i = Importa(copia, a.File("uscita"));
                std::string errore;
                if (i.numeri != i.file.size()) {
                    errore = "numeri presi " + std::to_string(i.numeri) + " per " + std::to_string(i.file.size()) + " file";
                } else if (!i.danno) {
                    if (i.file != intatta.file)
                        errore = "file diversi senza un messaggio di danno";
                    else
                        ++intere;
                } else {
                    for (auto f = i.file.cbegin(); f != i.file.cend(); ++f)
                        if (intatta.file.value(f.key()) != f.value())
                            errore = "un file diverso da quello della cartella intatta: " + f.key().toStdString();
                    if (foglio == 0 ? !i.file.isEmpty() : i.file.contains(nomi[foglio - 1]))
                        errore = "tenuto un file del foglio danneggiato";
                    ++(i.file.isEmpty() ? rifiutate : conUnFoglio);
                }
                if (!errore.empty()) {
                    char dove[64];
                    std::snprintf(dove, sizeof dove, ", record a %llu, %s: ", static_cast<unsigned long long>(r.inizio), danno);
                    errori.push_back(chi + dove + errore);
                }
            }
        }
    }
    for (std::size_t e = 0; e < errori.size() && e < 40; ++e)
        ADD_FAILURE() << errori[e];
    EXPECT_TRUE(errori.empty()) << errori.size() << " copie";
    EXPECT_GT(rifiutate, 0);
    EXPECT_GT(conUnFoglio, 0);
    EXPECT_GT(intere, 0);
    std::printf("copie senza file %d, con i file del foglio intatto %d, importate intere %d\n", rifiutate, conUnFoglio, intere);
}
