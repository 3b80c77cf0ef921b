#include "app/widgets/DialoghiQt.h"

#include "app/widgets/Finestre.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QIdentityProxyModel>
#include <QLocale>
#include <QStyle>
#include <QTreeView>

#include <algorithm>

namespace quercino {

namespace {

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

// The list's columns wide enough for their captions and the name column for the program's
// own names (nation, tax code and number; the declarant's name and date), the dialog widened
// by as much.
void AllargaColonne(QFileDialog& dialogo)
{
    auto* lista = dialogo.findChild<QTreeView*>(QStringLiteral("treeView"));
    if (!lista || !lista->model())
        return;
    QHeaderView* intestazione = lista->header();
    const int margine = 2 * lista->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, intestazione);
    const int icona = lista->style()->pixelMetric(QStyle::PM_SmallIconSize, nullptr, lista);
    int aggiunta = 0;
    for (int c = 0; c < intestazione->count(); ++c) {
        int serve = intestazione->fontMetrics().horizontalAdvance(lista->model()->headerData(c, Qt::Horizontal).toString())
                    + 2 * margine + icona;   // the sort arrow
        if (c == 0)
            serve = std::max(serve, lista->fontMetrics().horizontalAdvance(QStringLiteral("SAVEVEKO_01_ROSSIMARIO_20261207.VEKO"))
                                        + icona + 4 * margine);
        if (serve > intestazione->sectionSize(c)) {
            aggiunta += serve - intestazione->sectionSize(c);
            intestazione->resizeSection(c, serve);
        }
    }
    dialogo.resize(dialogo.sizeHint() + QSize(aggiunta, 0));
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
