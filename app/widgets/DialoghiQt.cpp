#include "app/widgets/DialoghiQt.h"

#include "app/widgets/Finestre.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QIdentityProxyModel>
#include <QLocale>
#include <QTreeView>

#include <algorithm>

namespace quercino {

namespace {

// Room for a name of 40 characters beside the list's other columns and the folders on its left.
constexpr int LarghezzaDialogo = 860;

// The file list shows dates and sizes by the program's locale: its own model follows the
// machine's ("6 Dec 2026"), whatever locale the program runs with.
class DateItaliane final : public QIdentityProxyModel {
public:
    using QIdentityProxyModel::QIdentityProxyModel;

    QVariant data(const QModelIndex& indice, int ruolo) const override
    {
        const auto* file = qobject_cast<const QFileSystemModel*>(sourceModel());
        if (ruolo != Qt::DisplayRole || !file)
            return QIdentityProxyModel::data(indice, ruolo);
        const QModelIndex origine = mapToSource(indice);
        if (indice.column() == ColonnaData)
            return QLocale().toString(file->lastModified(origine), QLocale::ShortFormat);
        if (indice.column() == ColonnaDimensione && !file->isDir(origine))
            return QLocale().formattedDataSize(file->size(origine));
        return QIdentityProxyModel::data(indice, ruolo);
    }

private:
    static constexpr int ColonnaDimensione = 1;
    static constexpr int ColonnaData = 3;
};

// The names take the room the list has (the program's own run long: nation, tax code and
// number; the declarant's name and date), the other columns that of their captions; the
// dialog is wide enough for both.
void AllargaColonne(QFileDialog& dialogo)
{
    auto* lista = dialogo.findChild<QTreeView*>(QStringLiteral("treeView"));
    if (!lista || !lista->model())
        return;
    QHeaderView* intestazione = lista->header();
    intestazione->setStretchLastSection(false);
    intestazione->setSectionResizeMode(0, QHeaderView::Stretch);
    for (int c = 1; c < intestazione->count(); ++c) {
        intestazione->setSectionResizeMode(c, QHeaderView::Interactive);
        intestazione->resizeSection(c, std::max(intestazione->sectionSize(c), intestazione->sectionSizeHint(c)));
    }
    dialogo.resize(dialogo.sizeHint().expandedTo(QSize(LarghezzaDialogo, 0)));
}

// The program's own dialog, never the desktop's: its texts are Italian (Qt's translation)
// and its dates follow the program's locale.
void Prepara(QFileDialog& dialogo)
{
    dialogo.setOption(QFileDialog::DontUseNativeDialog, true);
    dialogo.setProxyModel(new DateItaliane(&dialogo));
    AllargaColonne(dialogo);
}

} // namespace

QString DialoghiQt::ChiediSalvataggio(const RichiestaFile& richiesta)
{
    QFileDialog dialogo(FinestraProprietaria(), richiesta.titolo, richiesta.cartella);
    Prepara(dialogo);
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
    Prepara(dialogo);
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
