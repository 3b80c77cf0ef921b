#include "support/backup_di_prova.h"

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

void BackupTest::SetUp()
{
    DbBackendTest::SetUp();
    if (HasFatalFailure())
        return;
    ASSERT_TRUE(cartella_.isValid());
}

} // namespace quercino::test
