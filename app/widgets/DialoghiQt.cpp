#include "app/widgets/DialoghiQt.h"

#include "app/widgets/Finestre.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>

namespace quercino {

QString DialoghiQt::ChiediSalvataggio(const RichiestaFile& richiesta)
{
    QFileDialog dialogo(FinestraProprietaria(), richiesta.titolo, richiesta.cartella);
    dialogo.setAcceptMode(QFileDialog::AcceptSave);
    dialogo.setFileMode(QFileDialog::AnyFile);
    // The program asks itself before replacing a file (ControlloDocumento).
    dialogo.setOption(QFileDialog::DontConfirmOverwrite, true);
    if (!richiesta.filtri.isEmpty())
        dialogo.setNameFilters(richiesta.filtri);
    if (!richiesta.estensione.isEmpty())
        dialogo.setDefaultSuffix(richiesta.estensione);
    if (!richiesta.nomeFile.isEmpty())
        dialogo.selectFile(richiesta.nomeFile);
    if (dialogo.exec() != QDialog::Accepted || dialogo.selectedFiles().isEmpty())
        return {};
    return QDir::cleanPath(dialogo.selectedFiles().constFirst());
}

QStringList DialoghiQt::ChiediApertura(const RichiestaFile& richiesta, bool multipla)
{
    QFileDialog dialogo(FinestraProprietaria(), richiesta.titolo, richiesta.cartella);
    dialogo.setAcceptMode(QFileDialog::AcceptOpen);
    dialogo.setFileMode(multipla ? QFileDialog::ExistingFiles : QFileDialog::ExistingFile);
    dialogo.setOption(QFileDialog::ReadOnly, true);
    if (!richiesta.filtri.isEmpty())
        dialogo.setNameFilters(richiesta.filtri);
    if (dialogo.exec() != QDialog::Accepted)
        return {};
    QStringList scelti;
    for (const QString& percorso : dialogo.selectedFiles())
        scelti << QDir::cleanPath(percorso);
    return scelti;
}

void UsaDialoghiQt()
{
    static DialoghiQt servizio;
    ImpostaServizioDialoghi(&servizio);
}

} // namespace quercino
