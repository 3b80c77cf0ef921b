#include "support/backup_di_prova.h"

#include "support/casi.h"

#include <QDir>
#include <QFile>

namespace quercino::test {

QVariantList SoggettoCompleto(const QString& codice, const QString& nome)
{
    QVariantList riga = rigaCope(codice, nome);
    for (QVariant& v : riga) {
        if (v.metaType() == QMetaType::fromType<QString>() && v.toString().isNull())
            v = QStringLiteral("");
    }
    riga[cope::OCF] = QStringLiteral("01234567890");
    riga[cope::OSINDI] = QStringLiteral("VIA DEI MILLE");
    riga[cope::OSCOM] = QStringLiteral("FORLÌ");
    riga[cope::OSPRO] = QStringLiteral("FC");
    return riga;
}

void RegistroAlLimite(Database& db, int n)
{
    QVariantList riga;
    for (const Column& colonna : schema::COPE().columns) {
        const QChar lettera(char16_t(u'A' + riga.size() % 26));
        riga << (colonna.type == ColumnType::Text ? QVariant(QString(colonna.width, lettera)) : QVariant(-32768));
    }
    Transaction transazione(db);
    for (int i = 0; i < n; ++i) {
        riga[cope::OCOD] = QString::number(i).rightJustified(16, u'0');
        db.insert(schema::COPE(), riga);
    }
    transazione.commit();
}

QByteArray LineaBackup(const Table& tabella, const QStringList& valori)
{
    QByteArray linea = "\xA6" + tabella.name.toLatin1();
    for (std::size_t c = 0; c < tabella.columns.size(); ++c)
        linea += "\xA6" + valori.value(static_cast<qsizetype>(c)).toLatin1();
    return linea + "\r\n";
}

QStringList StatoArchivio(Database& db)
{
    QStringList stato;
    for (const Table* tabella : {&schema::COPE(), &schema::CTAB()}) {
        for (const Row& riga : db.select(*tabella)) {
            QStringList valori{tabella->name};
            for (int c = 0; c < riga.size(); ++c)
                valori << (riga.isNull(c) ? QStringLiteral("<NULL>") : riga.value(c).toString());
            stato << valori.join(QLatin1Char('|'));
        }
    }
    stato.sort();
    return stato;
}

void VerbiFile(Scenario& s, std::function<QString(const QString&)> percorso)
{
    s.verbi["file"] = [&s, percorso](const QString& a) {
        const QString testo = QString::fromLatin1(LeggiFile(percorso(a)));
        for (const QString& riga : testo.split(QRegularExpression("(?<=\n)"), Qt::SkipEmptyParts))
            s.Stampa(Codifica(riga));
    };
    auto aggiungi = [percorso](const QString& nome, const QByteArray& byte) {
        QFile file(percorso(nome));
        EXPECT_TRUE(file.open(QIODevice::Append) && file.write(byte) == byte.size()) << nome.toStdString();
    };
    s.verbi["scrivi"] = [&s, aggiungi](const QString& a) {
        const QStringList p = Parole(a, 1);
        aggiungi(p[0], Decodifica(p[1] + s.Dati().join("")).toLatin1());
    };
    s.verbi["linea"] = [aggiungi](const QString& a) {
        const QStringList p = Parole(a, 2);
        aggiungi(p[0], LineaBackup(p[1] == "COPE" ? schema::COPE() : schema::CTAB(), Decodifica(p[2]).split('|')));
    };
    s.verbi["mkdir"] = [percorso](const QString& a) { QDir().mkpath(percorso(a)); };
    s.verbi["rm"] = [percorso](const QString& a) { QFile::remove(percorso(a)); };
    s.verbi["cartella"] = [&s, percorso](const QString& a) {
        s.Stampa(QDir(percorso(a)).entryList(QDir::Files | QDir::Hidden, QDir::Name));
    };
}

void BackupTest::SetUp()
{
    DbBackendTest::SetUp();
    if (HasFatalFailure())
        return;
    ASSERT_TRUE(cartella_.isValid());
}

} // namespace quercino::test
