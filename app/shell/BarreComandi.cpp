#include "app/shell/BarreComandi.h"

#include <QAction>
#include <QApplication>
#include <QIcon>
#include <QMenu>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>

namespace quercino {

using namespace comando;

namespace {

VoceComando Voce(const QString& caption, int id, bool gruppo = false, int stile = StileAutomatico,
                 const QString& suggerimento = QString())
{
    return VoceComando{caption, id, gruppo, stile, suggerimento};
}

} // namespace

const std::vector<VoceComando>& VociFunzioni()
{
    static const std::vector<VoceComando> voci{
        Voce(QStringLiteral("Salva Dati (singolo)"), Salva),
        Voce(QStringLiteral("Salva Dati (tutti)"), Salva),
        Voce(QStringLiteral("Ripristina Dati"), Ripristina),
        Voce(QStringLiteral("Registra"), Registra, true),
        Voce(QStringLiteral("Aggiungi"), Aggiungi),
        Voce(QStringLiteral("Elimina"), Elimina),
        Voce(QStringLiteral("Esci dal Programma"), Esci, true),
    };
    return voci;
}

const std::vector<VoceComando>& VociAiuto()
{
    static const std::vector<VoceComando> voci{
        Voce(QStringLiteral("Portale FATTURE e CORRISPETTIVI (Agenzia d.E.)"), Documenti),
        Voce(QStringLiteral("1-Istruzioni COMPILAZIONE DATI"), Documenti, true),
        Voce(QStringLiteral("2-Istruzioni TRASMISSIONE XML"), Documenti),
        Voce(QStringLiteral("3-Foglio EXCEL Base "), Fogli),
        Voce(QStringLiteral("4-Foglio CSV FATTURE EMESSE Esempio"), Fogli),
        Voce(QStringLiteral("5-Foglio CSV FATTURE RICEVUTE Esempio"), Fogli),
        Voce(QStringLiteral("6-Manuale completo"), Documenti),
        Voce(QStringLiteral("7-Ulteriore documentazione"), Documenti),
        Voce(QStringLiteral("Richiesta Assistenza"), Assistenza, true),
        Voce(QStringLiteral("Versione"), Versione),
        Voce(QStringLiteral("Sito VORN - Controllo Aggiornamenti"), SitoVorn),
        Voce(QStringLiteral("Sito VORN - News"), SitoVorn),
        Voce(QStringLiteral("Assistenza Remota"), AssistenzaRemota),
    };
    return voci;
}

const std::vector<VoceComando>& VociArchivi()
{
    static const std::vector<VoceComando> voci{
        Voce(QStringLiteral(" SOGGETTI OBBLIGATI  "), SoggettiObbligati, false, StileIconaETesto),
    };
    return voci;
}

const std::vector<VoceComando>& VociBase()
{
    static const std::vector<VoceComando> voci{
        Voce(QStringLiteral("Aggiungi all'elenco attivo "), Aggiungi, true),
        Voce(QStringLiteral("Elimina dall'elenco attivo"), Elimina),
        Voce(QStringLiteral("Conferma i dati in elaborazione"), Registra),
        Voce(QStringLiteral("Salva Dati (singolo)"), Salva, true),
        Voce(QStringLiteral("Ripristina Salvataggio"), Ripristina),
        Voce(QStringLiteral("Documentazione"), Documenti, true, StileAutomatico,
             QStringLiteral("Documentazione: il manuale completo")),
        Voce(QStringLiteral("Sito Vorn - Assistenza Remota"), AssistenzaRemota, true),
        Voce(QStringLiteral("Versione Programma"), Versione),
        Voce(QStringLiteral("Richiesta di Assistenza (email)"), Assistenza),
        Voce(QStringLiteral("Elabora Foglio Excel"), Fogli, true, StileIconaETesto,
         QStringLiteral(" Crea file XML da foglio Excel")),
    };
    return voci;
}

QIcon IconaComando(int id)
{
    struct Icona {
        int id;
        const char* tema;
        QStyle::StandardPixmap standard;
    };
    static const Icona icone[]{
        {Registra, "document-save", QStyle::SP_DialogSaveButton},
        {Aggiungi, "list-add", QStyle::SP_FileDialogNewFolder},
        {Elimina, "list-remove", QStyle::SP_TrashIcon},
        {Documenti, "help-contents", QStyle::SP_DialogHelpButton},
        {Esci, "application-exit", QStyle::SP_DialogCloseButton},
        {Versione, "help-about", QStyle::SP_MessageBoxInformation},
        {Assistenza, "mail-message-new", QStyle::SP_MessageBoxQuestion},
        {Salva, "document-save-as", QStyle::SP_DriveFDIcon},
        {Ripristina, "document-revert", QStyle::SP_BrowserReload},
        {SitoVorn, "internet-web-browser", QStyle::SP_DriveNetIcon},
        {AssistenzaRemota, "preferences-desktop-remote-desktop", QStyle::SP_ComputerIcon},
        {SoggettiObbligati, "system-users", QStyle::SP_DirHomeIcon},
        {Fogli, "x-office-spreadsheet", QStyle::SP_FileDialogDetailedView},
    };
    for (const Icona& icona : icone) {
        if (icona.id != id)
            continue;
        const QString nome = QString::fromLatin1(icona.tema);
        if (QIcon::hasThemeIcon(nome))
            return QIcon::fromTheme(nome);
        return QApplication::style()->standardIcon(icona.standard);
    }
    return {};
}

namespace {

QAction* CreaAzione(const VoceComando& voce, QObject* padre)
{
    auto* azione = new QAction(padre);
    // "&" would become a mnemonic; the captions carry none, but keep them literal anyway.
    QString testo = voce.caption;
    testo.replace(QLatin1Char('&'), QStringLiteral("&&"));
    azione->setText(testo);
    azione->setIconText(testo);
    azione->setIcon(IconaComando(voce.id));
    azione->setProperty(ProprietaId, voce.id);
    azione->setProperty(ProprietaCaption, voce.caption);
    if (!voce.suggerimento.isEmpty())
        azione->setToolTip(voce.suggerimento);
    return azione;
}

} // namespace

QAction* AggiungiControllo(QMenu* menu, const VoceComando& voce, QObject* padre)
{
    if (voce.gruppo && !menu->actions().isEmpty())
        menu->addSeparator();
    QAction* azione = CreaAzione(voce, padre);
    menu->addAction(azione);
    return azione;
}

QAction* AggiungiControllo(QToolBar* barra, const VoceComando& voce, QObject* padre)
{
    if (voce.gruppo && !barra->actions().isEmpty())
        barra->addSeparator();
    QAction* azione = CreaAzione(voce, padre);
    barra->addAction(azione);
    // Style 3 shows the caption beside the icon; automatic shows the icon, the caption as tip.
    if (auto* pulsante = qobject_cast<QToolButton*>(barra->widgetForAction(azione))) {
        pulsante->setToolButtonStyle(voce.stile == StileIconaETesto ? Qt::ToolButtonTextBesideIcon
                                                                    : Qt::ToolButtonIconOnly);
    }
    return azione;
}

} // namespace quercino
