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

constexpr int ColonnaTipo = 2;

// The least room of a name: 40 characters as wide as a digit (the program's names are
// digits and capitals) beside its icon.
int SpazioNomi(const QTreeView& lista)
{
    const QStyle* stile = lista.style();
    const int margini = 2 * (stile->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, &lista) + 1);
    return lista.fontMetrics().horizontalAdvance(QString(40, QLatin1Char('0')))
           + stile->pixelMetric(QStyle::PM_SmallIconSize, nullptr, &lista) + margini;
}

// A column that grew (the types of a folder just read) takes its room from the names: the
// dialog widens to give it back, as far as the screen allows.
void AdattaLarghezza(QFileDialog& dialogo, const QTreeView& lista)
{
    const QHeaderView* intestazione = lista.header();
    int altre = 0;
    for (int c = 1; c < intestazione->count(); ++c) {
        if (!intestazione->isSectionHidden(c))
            altre += intestazione->sectionSize(c);
    }
    const int manca = SpazioNomi(lista) + altre - lista.viewport()->width();
    if (manca <= 0)
        return;
    int larghezza = dialogo.width() + manca;
    const QRect area = AreaDisponibile(&dialogo);
    if (!area.isEmpty())
        larghezza = std::min(larghezza, area.width() - (dialogo.frameGeometry().width() - dialogo.width()));
    if (larghezza <= dialogo.width())
        return;
    dialogo.resize(larghezza, dialogo.height());
    if (dialogo.isVisible())
        AdattaAlloSchermo(&dialogo);
}

// The names take the room the list has (the program's own run long: nation, tax code and
// number; the declarant's name and date), the size and date that of their captions, the
// type that of its longest text ("Foglio elettronico OpenDocument"), which is known only
// once the folder is read; the dialog is wide enough for all.
void AllargaColonne(QFileDialog& dialogo)
{
    auto* lista = dialogo.findChild<QTreeView*>(QStringLiteral("treeView"));
    if (!lista || !lista->model())
        return;
    QHeaderView* intestazione = lista->header();
    intestazione->setStretchLastSection(false);
    intestazione->setSectionResizeMode(0, QHeaderView::Stretch);
    for (int c = 1; c < intestazione->count(); ++c) {
        if (c == ColonnaTipo) {
            intestazione->setSectionResizeMode(c, QHeaderView::ResizeToContents);
            continue;
        }
        intestazione->setSectionResizeMode(c, QHeaderView::Interactive);
        intestazione->resizeSection(c, std::max(intestazione->sectionSize(c), intestazione->sectionSizeHint(c)));
    }
    dialogo.resize(dialogo.sizeHint().expandedTo(QSize(LarghezzaDialogo, 0)));
    // Queued: the dialog is not resized from inside the header's own layout.
    QObject::connect(intestazione, &QHeaderView::sectionResized, &dialogo,
                     [&dialogo, lista] { AdattaLarghezza(dialogo, *lista); }, Qt::QueuedConnection);
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
