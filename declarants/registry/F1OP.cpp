#include "declarants/registry/F1OP.h"

#include "app/core/Comuni.h"
#include "app/core/Globals.h"
#include "app/core/Messaggi.h"
#include "app/widgets/AdattaRighe.h"
#include "app/widgets/CForm.h"
#include "app/widgets/FTABR.h"
#include "declarants/registry/AnnullamentoRegistro.h"
#include "declarants/registry/ColonneCOPE.h"
#include "declarants/registry/CompletamentoComune.h"
#include "declarants/datifattura/ErroreDatiFattura.h"
#include "declarants/registry/ErroreApplicazione.h"
#include "platform/grid/Grid.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QEvent>
#include <QFont>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>

#include <utility>

namespace quercino {

namespace {

F1OP* istanza = nullptr;
F1OP::ApriImportazione apriImportazione;

} // namespace

F1OP* IstanzaF1OP()
{
    return istanza;
}

void F1OP::RegistraImportazione(ApriImportazione apri)
{
    apriImportazione = std::move(apri);
}

F1OP::F1OP(QWidget* parent) : QWidget(parent)
{
    istanza = this;
    mostraRicerca_ = [this] { MostraFTABR(this); };
    setObjectName(QStringLiteral("F1OP"));
    setWindowTitle(QStringLiteral("Elenco Soggetti Obbligati"));
    Costruisci();
    Form_Load();
}

F1OP::~F1OP()
{
    if (istanza == this)
        istanza = nullptr;
}

// ---- load, list and record -------------------------------------------------------------

void F1OP::Form_Load()
{
    Protetto(QStringLiteral("Form_Load "), [this] {
        form_ = std::make_unique<CForm>();
        form_->SetVbForm(this);
        form_->SetLostFocusHandler(campi_.value("OCF"), [this] { vOCF_LostFocus(); });
        form_->SetLostFocusHandler(campi_.value("OSCOM"), [this] { vOSCOM_LostFocus(); });
        form_->SetLostFocusHandler(campi_.value("OSPAESE"), [this] { vOSPAESE_LostFocus(); });
        form_->SetLostFocusHandler(campi_.value("OSOPAESE"), [this] { vOSOPAESE_LostFocus(); });
        form_->SetLostFocusHandler(campi_.value("ODICCARICA"), [this] { vODICCARICA_LostFocus(); });
        FormAttivo = objectName();
        Option1_->setChecked(true);
        ImpostaModalita();
        Lista();
    });
}

void F1OP::Lista()
{
    Protetto(QStringLiteral("Lista "), [this] {
        registro_.Lista();
        RiempiGriglia();
        ScriviCampi();
    });
}

void F1OP::RiempiGriglia()
{
    // Filling moves the current row: those moves are not the user's selections.
    struct Riempimento {
        bool& attivo;
        explicit Riempimento(bool& a) : attivo(a) { attivo = true; }
        ~Riempimento() { attivo = false; }
    } riempimento(riempimento_);
    IGope_->Clear();
    IGope_->SetDefaultRowHeight(19);
    IGope_->BeginUpdate();
    QFont intestazione(QStringLiteral("Tahoma"));
    intestazione.setBold(true);
    IGope_->SetHeaderFont(intestazione);
    IGope_->AddColumn(QStringLiteral("OCOD"), QStringLiteral("Codice"), 100);
    IGope_->AddColumn(QStringLiteral("OCF"), QStringLiteral("Codice Fiscale"), 100);
    IGope_->AddColumn(QStringLiteral("Odes"), QStringLiteral("Soggetto Obbligato"), 400);
    IGope_->EndUpdate();
    QList<QVariantList> righe;
    for (const RigaElenco& r : registro_.Righe())
        righe.append(QVariantList{r.OCOD, r.OCF, r.ODES});
    IGope_->Fill({QStringLiteral("OCOD"), QStringLiteral("OCF"), QStringLiteral("ODES")}, righe);
    // A code may be a whole tax code: shown in full, never cut.
    IGope_->FitColumnToContents(QStringLiteral("OCOD"), 100);
    IGope_->FitColumnToContents(QStringLiteral("OCF"), 100);
    // Four rows at least; the room left goes to the form, whose buttons must stay in sight.
    IGope_->setMinimumHeight(IGope_->HeightForRows(4));
    AllineaGriglia();
}

void F1OP::AllineaGriglia()
{
    // The grid's current row is the record in the fields (none for a new one), so that a
    // click on any row is a change that loads it.
    const bool prima = std::exchange(riempimento_, true);
    IGope_->SetCurrentCell(registro_.RigaMostrata(), 1);
    riempimento_ = prima;
}

void F1OP::Aggiungi()
{
    if (!ConfermaModifiche())
        return;
    registro_.Aggiungi();
    ScriviCampi();
    SSTab1_->setCurrentIndex(0);
    campi_.value("OCOD")->setEnabled(true);
    campi_.value("OCOD")->setFocus();
}

void F1OP::Elimina()
{
    Protetto(QStringLiteral("Elimina "), [this] {
        if (registro_.Elimina()) {
            RiempiGriglia();
            ScriviCampi();
        }
    });
}

void F1OP::Conferma()
{
    Protetto(QStringLiteral("Conferma "), [this] {
        LeggiCampi();
        const auto errore = registro_.Conferma();
        if (errore) {
            ScriviCampi();  // the user's edits, upper case, stay
            MostraErrore(*errore);
            return;
        }
        RiempiGriglia();
        ScriviCampi();
    });
}

void F1OP::pbLeggi_Click()
{
    Protetto(QStringLiteral("pbLeggi_Click "), [this] {
        LeggiCampi();
        auto errore = registro_.Aggiorna();
        ScriviCampi();
        if (errore) {
            // The list is not reloaded: the user's edits and the focus on the wrong
            // field stay.
            MostraErrore(*errore);
            return;
        }
        if (apriImportazione)
            apriImportazione(*this);
        registro_.Lista();
        RiempiGriglia();
        ScriviCampi();
    });
}

void F1OP::bannulla_Click()
{
    if (MsgBox(QStringLiteral("Vuoi chiudere il programma?"), Pulsanti::SiNo, Icona::Domanda,
               QStringLiteral("Chiudi il programma"))
        != RispostaSi)
        return;
    if (chiusura_)
        chiusura_();
    else
        QApplication::exit(0);
}

bool F1OP::ConfermaModifiche()
{
    LeggiCampi();
    if (!registro_.Modificato())
        return true;
    const int risposta = MsgBox(DomandaModifiche, Pulsanti::SiNoAnnulla, Icona::Domanda,
                                QStringLiteral("Richiesta conferma"), RispostaSi);
    if (risposta == RispostaNo) {
        registro_.ScartaModifiche();
        ScriviCampi();
        return true;
    }
    if (risposta != RispostaSi)
        return false;
    bool salvato = false;
    Protetto(QStringLiteral("ConfermaModifiche "), [this, &salvato] {
        const auto errore = registro_.Aggiorna();
        ScriviCampi();
        if (errore) {
            MostraErrore(*errore);
            return;
        }
        salvato = true;
        VaiAlCodice(registro_.campi.OCOD);
    });
    return salvato;
}

void F1OP::VaiAlCodice(const QString& codice)
{
    registro_.Lista();
    if (const int riga = registro_.RigaDelCodice(codice))
        registro_.SelezioneCambiata(riga);
    RiempiGriglia();
    ScriviCampi();
}

void F1OP::IGope_AfterSelectionChange()
{
    if (riempimento_)
        return;
    Protetto(QStringLiteral("IGope_AfterSelectionChange "), [this] {
        const int riga = IGope_->CurrentRow();
        if (riga == 0 || riga > static_cast<int>(registro_.Righe().size()))
            return;
        LeggiCampi();
        if (registro_.Modificato()) {
            // Asked once the click or key that moved the selection is done, so that the grid
            // then shows what the answer chose.
            const QString scelto = registro_.Righe()[static_cast<std::size_t>(riga) - 1].OCOD;
            QTimer::singleShot(0, this, [this, scelto] { CambiaSoggetto(scelto); });
            return;
        }
        registro_.SelezioneCambiata(riga);
        ScriviCampi();
    });
}

void F1OP::CambiaSoggetto(const QString& codice)
{
    Protetto(QStringLiteral("IGope_AfterSelectionChange "), [this, codice] {
        if (!ConfermaModifiche()) {
            // The user stays on the edited declarant: the grid shows it as selected again.
            RiempiGriglia();
            return;
        }
        VaiAlCodice(codice);
    });
}

void F1OP::closeEvent(QCloseEvent* evento)
{
    if (ConfermaModifiche())
        evento->accept();
    else
        evento->ignore();
}

void F1OP::IGope_DblClick()
{
    Protetto(QStringLiteral("IGope_DblClick "), [this] {
        registro_.DoppioClick(IGope_->CurrentRow());
    });
}

// ---- modes and frames -----------------------------------------------------------------

void F1OP::ImpostaModalita()
{
    for (QRadioButton* opzione : {Option1_, Option3_}) {
        QFont f = opzione->font();
        f.setBold(opzione->isChecked());
        opzione->setFont(f);
    }
    lblProgressivo_->setVisible(Option1_->isChecked());
    campi_.value("OPROG")->setVisible(Option1_->isChecked());
    FraIDFILE_->setVisible(Option3_->isChecked());
    if (Option3_->isChecked())
        IDFILE_->setFocus();
}

void F1OP::AggiornaCornici()
{
    Fpg_->setVisible(!vOPF_->isChecked());
    Fpf_->setVisible(vOPF_->isChecked());
    FRFpg_->setVisible(!vORFPF_->isChecked());
    FRFpf_->setVisible(vORFPF_->isChecked());
}

// ---- progressive, annulment, town and lookups ----------------------------------------

int F1OP::PrendiProgressivo()
{
    registro_.campi.OPROG = campi_.value("OPROG")->text();
    const EsitoProgressivo preso = registro_.PrendiProgressivo();
    ImpostaTesto("OPROG", registro_.campi.OPROG);
    if (!preso.Valido())
        throw datifattura::ErroreDatiFattura(preso.errore);
    return *LeggiProgressivo(preso.valore);
}

void F1OP::RestituisciProgressivo(std::int32_t numero)
{
    registro_.RestituisciProgressivo(numero);
    ImpostaTesto("OPROG", registro_.campi.OPROG);
}

void F1OP::lblProgressivo_DblClick()
{
    Protetto(QStringLiteral("lblProgressivo_DblClick "), [this] {
        registro_.RiavviaProgressivo();
        ImpostaTesto("OPROG", registro_.campi.OPROG);
    });
}

void F1OP::PusCREA_Click()
{
    Protetto(QStringLiteral("PusCREA_Click "), [this] {
        AvviaAnnullamento(*this);
    });
}

void F1OP::vOCF_LostFocus()
{
    Protetto(QStringLiteral("Vocf_LostFocus "), [this] {
        QLineEdit* cf = campi_.value("OCF");
        QPalette tavolozza = cf->palette();
        tavolozza.setColor(QPalette::Base, ColoreNormale);
        cf->setPalette(tavolozza);
        registro_.campi.OCF = cf->text();
        registro_.campi.OPIVA = campi_.value("OPIVA")->text();
        const auto errore = registro_.ControllaCodiceFiscale();
        ImpostaTesto("OPIVA", registro_.campi.OPIVA);
        if (errore)
            MostraErrore(*errore);
    });
}

void F1OP::vOSCOM_KeyUp(int tasto)
{
    Protetto(QStringLiteral("vOSCOM_KeyUp "), [this, tasto] {
        if (tasto < Qt::Key_A || tasto > Qt::Key_Z)
            return;
        if (!ComuniAperto)
            CaricaComuni();
        QLineEdit* comune = campi_.value("OSCOM");
        const auto stato = CompletaComune(comune->text(), comune->cursorPosition(), tasto, Comuni());
        if (!stato)
            return;
        ImpostaTesto("OSCOM", stato->testo);
        if (stato->provincia)
            ImpostaTesto("OSPRO", *stato->provincia);
        comune->setSelection(stato->inizioSelezione, stato->lunghezzaSelezione);
        if (stato->lunghezzaSelezione == 0)
            comune->setCursorPosition(stato->inizioSelezione);
    });
}

void F1OP::vOSCOM_LostFocus()
{
    Protetto(QStringLiteral("vOSCOM_LostFocus "), [this] {
        QLineEdit* comune = campi_.value("OSCOM");
        QPalette tavolozza = comune->palette();
        tavolozza.setColor(QPalette::Base, ColoreNormale);
        comune->setPalette(tavolozza);
        if (DatiSoggetto::SenzaBlanchi(comune->text()).isEmpty())
            return;
        if (!ComuniAperto)
            CaricaComuni();
        if (const auto provincia = ProvinciaDelComune(comune->text(), Comuni()))
            ImpostaTesto("OSPRO", *provincia);
    });
}

void F1OP::vODICCARICA_DblClick()
{
    Protetto(QStringLiteral("vODICCARICA_DblClick "), [this] {
        if (const auto scelta = RicercaCarica(mostraRicerca_)) {
            ImpostaTesto("ODICCARICA", scelta->codice);
            ImpostaTesto("ODICCARICAD", scelta->descrizione);
        }
    });
}

void F1OP::vOSPAESE_DblClick()
{
    Protetto(QStringLiteral("vOSPAESE_DBLCLICK "), [this] {
        if (const auto scelta = RicercaPaese(mostraRicerca_)) {
            ImpostaTesto("OSPAESE", scelta->codice);
            ImpostaTesto("OSPAESED", scelta->descrizione);
        }
    });
}

void F1OP::vOSOPAESE_DblClick()
{
    Protetto(QStringLiteral("vOSOPAESE_DBLCLICK "), [this] {
        if (const auto scelta = RicercaPaese(mostraRicerca_)) {
            ImpostaTesto("OSOPAESE", scelta->codice);
            ImpostaTesto("OSOPAESED", scelta->descrizione);
        }
    });
}

void F1OP::vODICCARICA_LostFocus()
{
    CodiceLasciato(QStringLiteral("ODICCARICA"), QStringLiteral("vODICCARICA_LostFocus "));
}

void F1OP::vOSPAESE_LostFocus()
{
    CodiceLasciato(QStringLiteral("OSPAESE"), QStringLiteral("vOSPAESE_LostFocus "));
}

void F1OP::vOSOPAESE_LostFocus()
{
    CodiceLasciato(QStringLiteral("OSOPAESE"), QStringLiteral("vOSOPAESE_LostFocus "));
}

void F1OP::CodiceLasciato(const QString& colonna, const QString& procedura)
{
    Protetto(procedura, [this, &colonna] {
        const CasellaCodice* casella = CasellaDelCodice(colonna);
        if (!casella)
            return;
        const QString descrizione = QLatin1String(casella->descrizione);
        ImpostaColonna(registro_.campi, colonna, campi_.value(colonna)->text());
        const auto errore = registro_.CodiceLasciato(colonna);
        ImpostaTesto(colonna, ValoreColonna(registro_.campi, colonna).toString());
        ImpostaTesto(descrizione, ValoreColonna(registro_.campi, descrizione).toString());
        if (errore)
            MostraErrore(*errore);
    });
}

// ---- events -----------------------------------------------------------------------------

bool F1OP::eventFilter(QObject* oggetto, QEvent* evento)
{
    if (evento->type() == QEvent::MouseButtonDblClick) {
        if (oggetto == lblProgressivo_)
            lblProgressivo_DblClick();
        else if (oggetto == campi_.value("ODICCARICA"))
            vODICCARICA_DblClick();
        else if (oggetto == campi_.value("OSPAESE"))
            vOSPAESE_DblClick();
        else if (oggetto == campi_.value("OSOPAESE"))
            vOSOPAESE_DblClick();
        else
            return QWidget::eventFilter(oggetto, evento);
        return true;
    }
    if ((evento->type() == QEvent::KeyPress || evento->type() == QEvent::KeyRelease)
        && oggetto == campi_.value("OSCOM")) {
        // Only the release of a key that typed completes (not Ctrl+A's A let go after Ctrl).
        const auto* tasto = static_cast<QKeyEvent*>(evento);
        const QString testo = campi_.value("OSCOM")->text();
        if (evento->type() == QEvent::KeyPress)
            tastiComune_.Premuto(tasto->key(), tasto->modifiers(), tasto->isAutoRepeat(), testo);
        else if (tastiComune_.Rilasciato(tasto->key(), tasto->isAutoRepeat(), testo))
            vOSCOM_KeyUp(tasto->key());
    }
    return QWidget::eventFilter(oggetto, evento);
}

void F1OP::resizeEvent(QResizeEvent* evento)
{
    QWidget::resizeEvent(evento);
    try {
        AdattaRighe(*IGope_);
    } catch (...) {
        // Row heights are cosmetic.
    }
}

} // namespace quercino
