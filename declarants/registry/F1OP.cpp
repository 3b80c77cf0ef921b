#include "declarants/registry/F1OP.h"

#include "app/core/Comuni.h"
#include "app/core/Globals.h"
#include "app/core/Messaggi.h"
#include "app/shell/AdattaRighe.h"
#include "app/shell/CForm.h"
#include "app/shell/ErroreCampo.h"
#include "app/shell/F0.h"
#include "app/shell/FTABR.h"
#include "declarants/registry/AnnullamentoRegistro.h"
#include "declarants/registry/ColonneCOPE.h"
#include "declarants/registry/CompletamentoComune.h"
#include "declarants/registry/ErroreApplicazione.h"
#include "platform/grid/Grid.h"

#include <QApplication>
#include <QCheckBox>
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
#include <QVBoxLayout>

namespace quercino {

namespace {

F1OP* istanza = nullptr;
F1OP::ApriImportazione apriImportazione;

const QString suggerimentoCodiceFiscale = QStringLiteral("indicare il CODICE FISCALE e non la PARTITA IVA");

QLabel* Etichetta(const QString& testo, QWidget* genitore)
{
    return new QLabel(testo, genitore);
}

} // namespace

F1OP* IstanzaF1OP()
{
    return istanza;
}

void RegistraF1OP()
{
    RegistraAnagrafica([]() -> FinestraAnagrafica* {
        if (!istanza)
            new F1OP();  // the main window takes it as its child; it lives for the run
        return istanza;
    });
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

// ---- layout ---------------------------------------------------------------------------

QLineEdit* F1OP::NuovoCampo(const QString& colonna, int larghezza, bool centrato)
{
    auto* campo = new QLineEdit(this);
    campo->setObjectName(QLatin1Char('v') + colonna);
    if (larghezza > 0)
        campo->setMaxLength(larghezza);
    // A code box shows its whole code.
    if (larghezza == 16)
        campo->setMinimumWidth(
            campo->fontMetrics().horizontalAdvance(QStringLiteral("RSSMRA80A01H501U")) + 16);
    if (centrato)
        campo->setAlignment(Qt::AlignCenter);
    campi_.insert(colonna, campo);
    return campo;
}

void F1OP::Costruisci()
{
    IGope_ = new Grid(this);
    IGope_->setObjectName(QStringLiteral("IGope"));
    IGope_->setMinimumHeight(150);

    SSTab1_ = new QTabWidget(this);
    SSTab1_->setObjectName(QStringLiteral("SSTab1"));
    SSTab1_->addTab(PaginaSoggetto(), QStringLiteral("SOGGETTO IVA che comunica"));
    SSTab1_->addTab(PaginaDichiarante(), QStringLiteral("DICHIARANTE"));
    SSTab1_->addTab(PaginaRappresentante(),
                    QStringLiteral("RAPPRESENTATE FISCALE / Stabile Organizzazione IN ITALIA"));

    bregistra_ = new QPushButton(QStringLiteral("   REGISTRA"), this);
    bregistra_->setObjectName(QStringLiteral("bregistra"));
    bannulla_ = new QPushButton(QStringLiteral("Chiudi"), this);
    bannulla_->setObjectName(QStringLiteral("bannulla"));
    auto* pulsanti = new QHBoxLayout;
    pulsanti->addStretch();
    pulsanti->addWidget(bregistra_);
    pulsanti->addWidget(bannulla_);

    auto* principale = new QVBoxLayout(this);
    principale->addWidget(IGope_, 2);
    principale->addWidget(SSTab1_, 3);
    principale->addLayout(pulsanti);

    // Fixed tooltips of the fields.
    campi_.value("OCOD")->setToolTip(QStringLiteral(
        "Numero Progressivo (001, 002 etc) che identifica il soggetto nell'archivio. Può "
        "coincidere con il codice fiscale"));
    for (const char* c : {"OCF", "OPIVA", "ODICPIVA", "ODICCARICA", "ORFPIVA"})
        campi_.value(QLatin1String(c))->setToolTip(suggerimentoCodiceFiscale);
    for (const char* c : {"OSCOM", "OSOCOM"})
        campi_.value(QLatin1String(c))->setToolTip(QStringLiteral(" Doppio click per ricerca"));
    for (const char* c : {"OSPAESE", "OSOPAESE"})
        campi_.value(QLatin1String(c))->setToolTip(QStringLiteral("doppio click per ricerca"));
    for (const char* c : {"OUCDTE", "OUCDTR"})
        campi_.value(QLatin1String(c))->setToolTip(QStringLiteral("Numero assegnato dal portale dell'Agenzia"));

    // The descriptions are filled by the lookups: grey.
    for (const char* c : {"OSPAESED", "OSOPAESED", "ODICCARICAD"}) {
        QLineEdit* campo = campi_.value(QLatin1String(c));
        QPalette tavolozza = campo->palette();
        tavolozza.setColor(QPalette::Base, QColor(224, 224, 224));
        campo->setPalette(tavolozza);
    }

    connect(IGope_, &Grid::AfterSelectionChange, this, &F1OP::IGope_AfterSelectionChange);
    connect(IGope_, &Grid::DblClick, this, &F1OP::IGope_DblClick);
    connect(bregistra_, &QPushButton::clicked, this, &F1OP::Conferma);
    connect(bannulla_, &QPushButton::clicked, this, &F1OP::bannulla_Click);
    connect(pbLeggi_, &QPushButton::clicked, this, &F1OP::pbLeggi_Click);
    connect(PusCREA_, &QPushButton::clicked, this, &F1OP::PusCREA_Click);
    connect(Option1_, &QRadioButton::toggled, this, [this] {
        Protetto(QStringLiteral("Option1_CLICK "), [this] { ImpostaModalita(); });
    });
    connect(vOPF_, &QCheckBox::toggled, this, [this] {
        Protetto(QStringLiteral("vOPF_Click "), [this] { AggiornaCornici(); });
    });
    connect(vORFPF_, &QCheckBox::toggled, this, [this] {
        Protetto(QStringLiteral("vORFPF_Click "), [this] { AggiornaCornici(); });
    });
    lblProgressivo_->installEventFilter(this);
    for (const char* c : {"OSCOM", "ODICCARICA", "OSPAESE", "OSOPAESE"})
        campi_.value(QLatin1String(c))->installEventFilter(this);
}

QWidget* F1OP::PaginaSoggetto()
{
    auto* pagina = new QWidget(this);
    auto* g = new QGridLayout(pagina);

    g->addWidget(Etichetta(QStringLiteral("Codice "), pagina), 0, 0);
    g->addWidget(NuovoCampo("OCOD", 16, true), 0, 1);
    g->addWidget(Etichetta(QStringLiteral("Codice Fiscale"), pagina), 0, 2);
    g->addWidget(NuovoCampo("OCF", 16, true), 0, 3);
    g->addWidget(Etichetta(QStringLiteral("Partita Iva"), pagina), 0, 4);
    g->addWidget(NuovoCampo("OPIVA", 16, true), 0, 5);
    vOPF_ = new QCheckBox(QStringLiteral("Persona Fisica"), pagina);
    vOPF_->setObjectName(QStringLiteral("vOPF"));
    g->addWidget(vOPF_, 0, 6, 1, 2);

    Fpg_ = new QGroupBox(pagina);
    Fpg_->setObjectName(QStringLiteral("Fpg"));
    auto* societa = new QHBoxLayout(Fpg_);
    societa->addWidget(Etichetta(QStringLiteral("Ragione Sociale "), Fpg_));
    societa->addWidget(NuovoCampo("ORAG", 0, false));
    Fpf_ = new QGroupBox(pagina);
    Fpf_->setObjectName(QStringLiteral("Fpf"));
    auto* persona = new QHBoxLayout(Fpf_);
    persona->addWidget(Etichetta(QStringLiteral("Cognome"), Fpf_));
    persona->addWidget(NuovoCampo("OCOG", 0, false));
    persona->addWidget(Etichetta(QStringLiteral("Nome"), Fpf_));
    persona->addWidget(NuovoCampo("ONOME", 0, false));
    g->addWidget(Fpg_, 1, 0, 1, 8);
    g->addWidget(Fpf_, 2, 0, 1, 8);

    g->addWidget(Etichetta(QStringLiteral("Indirizzo"), pagina), 3, 0);
    g->addWidget(NuovoCampo("OSINDI", 0, false), 3, 1, 1, 3);
    g->addWidget(Etichetta(QStringLiteral("N.Civico"), pagina), 3, 4);
    g->addWidget(NuovoCampo("OSNUMC", 0, true), 3, 5);
    g->addWidget(Etichetta(QStringLiteral("Cap"), pagina), 3, 6);
    g->addWidget(NuovoCampo("OSCAP", 0, true), 3, 7);

    g->addWidget(Etichetta(QStringLiteral("Sede legale (Località)"), pagina), 4, 0);
    g->addWidget(NuovoCampo("OSCOM", 0, false), 4, 1, 1, 3);
    g->addWidget(Etichetta(QStringLiteral("Prov."), pagina), 4, 4);
    g->addWidget(NuovoCampo("OSPRO", 2, true), 4, 5);
    g->addWidget(Etichetta(QStringLiteral("Paese"), pagina), 4, 6);
    g->addWidget(NuovoCampo("OSPAESE", 2, true), 4, 7);
    g->addWidget(NuovoCampo("OSPAESED", 60, false), 5, 5, 1, 3);

    auto* ultimoInvio = new QGroupBox(QStringLiteral("ULTIMO INVIO"), pagina);
    ultimoInvio->setObjectName(QStringLiteral("FraULTIMOINVIO"));
    auto* u = new QGridLayout(ultimoInvio);
    u->addWidget(Etichetta(QStringLiteral("ID FILE FT EMESSE"), ultimoInvio), 0, 0);
    u->addWidget(NuovoCampo("OUCDTE", 0, true), 0, 1);
    u->addWidget(Etichetta(QStringLiteral("ID FILE FT RICEVUTE"), ultimoInvio), 1, 0);
    u->addWidget(NuovoCampo("OUCDTR", 0, true), 1, 1);
    g->addWidget(ultimoInvio, 6, 0, 2, 3);

    pbLeggi_ = new QPushButton(QStringLiteral("Elabora foglio Excel / CSV"), pagina);
    pbLeggi_->setObjectName(QStringLiteral("pbLeggi"));
    g->addWidget(pbLeggi_, 6, 3, 2, 1);

    auto* comunicazione = new QGroupBox(QStringLiteral("Nuova COMUNICAZIONE "), pagina);
    comunicazione->setObjectName(QStringLiteral("Frame2"));
    auto* c = new QGridLayout(comunicazione);
    Option1_ = new QRadioButton(QStringLiteral("NUOVI DATI"), comunicazione);
    Option1_->setObjectName(QStringLiteral("Option1"));
    Option3_ = new QRadioButton(QStringLiteral("ANNULLAMENTO"), comunicazione);
    Option3_->setObjectName(QStringLiteral("Option3"));
    c->addWidget(Option1_, 0, 0);
    c->addWidget(Option3_, 0, 1);
    lblProgressivo_ = new QLabel(QStringLiteral("Progressivo:"), comunicazione);
    lblProgressivo_->setObjectName(QStringLiteral("lblProgressivo"));
    c->addWidget(lblProgressivo_, 1, 0);
    c->addWidget(NuovoCampo("OPROG", 0, true), 1, 1);
    FraIDFILE_ = new QGroupBox(QStringLiteral(" IDFILE"), comunicazione);
    FraIDFILE_->setObjectName(QStringLiteral("FraIDFILE"));
    auto* idFile = new QHBoxLayout(FraIDFILE_);
    idFile->addWidget(Etichetta(QStringLiteral("ID FILE"), FraIDFILE_));
    IDFILE_ = new QLineEdit(FraIDFILE_);
    IDFILE_->setObjectName(QStringLiteral("IDFILE"));
    IDFILE_->setAlignment(Qt::AlignCenter);
    idFile->addWidget(IDFILE_);
    PusCREA_ = new QPushButton(QStringLiteral("CREA"), FraIDFILE_);
    PusCREA_->setObjectName(QStringLiteral("PusCREA"));
    idFile->addWidget(PusCREA_);
    c->addWidget(FraIDFILE_, 2, 0, 1, 2);
    g->addWidget(comunicazione, 6, 4, 2, 4);
    g->setRowStretch(8, 1);
    return pagina;
}

QWidget* F1OP::PaginaDichiarante()
{
    auto* pagina = new QWidget(this);
    auto* g = new QGridLayout(pagina);
    g->addWidget(Etichetta(QStringLiteral("Codice Fiscale"), pagina), 0, 0);
    g->addWidget(NuovoCampo("ODICPIVA", 16, true), 0, 1);
    g->addWidget(Etichetta(QStringLiteral("Codice Carica (doppio click per ricerca)"), pagina), 1, 0);
    g->addWidget(NuovoCampo("ODICCARICA", 2, true), 1, 1);
    g->addWidget(NuovoCampo("ODICCARICAD", 0, false), 1, 2, 1, 2);
    auto* nota = Etichetta(QStringLiteral(
        "Il DICHIARANTE va compilato SOLO SE  il soggetto obbligato alla comunicazione dei dati "
        "fattura non coincide con il soggetto passivo IVA al quale i dati si riferiscono."), pagina);
    nota->setWordWrap(true);
    g->addWidget(nota, 2, 0, 1, 4);
    g->setColumnStretch(3, 1);
    g->setRowStretch(3, 1);
    return pagina;
}

QWidget* F1OP::PaginaRappresentante()
{
    auto* pagina = new QWidget(this);
    auto* g = new QGridLayout(pagina);
    g->addWidget(Etichetta(QStringLiteral("Partiva IVA"), pagina), 0, 0);
    g->addWidget(NuovoCampo("ORFPIVA", 16, true), 0, 1);
    vORFPF_ = new QCheckBox(QStringLiteral("Persona Fisica"), pagina);
    vORFPF_->setObjectName(QStringLiteral("vORFPF"));
    g->addWidget(vORFPF_, 0, 2);

    FRFpg_ = new QGroupBox(pagina);
    FRFpg_->setObjectName(QStringLiteral("FRFpg"));
    auto* societa = new QHBoxLayout(FRFpg_);
    societa->addWidget(Etichetta(QStringLiteral("Ragione Sociale "), FRFpg_));
    societa->addWidget(NuovoCampo("ORFRAG", 70, false));
    FRFpf_ = new QGroupBox(pagina);
    FRFpf_->setObjectName(QStringLiteral("FRFpf"));
    auto* persona = new QHBoxLayout(FRFpf_);
    persona->addWidget(Etichetta(QStringLiteral("Cognome"), FRFpf_));
    persona->addWidget(NuovoCampo("ORFCOG", 0, false));
    persona->addWidget(Etichetta(QStringLiteral("Nome"), FRFpf_));
    persona->addWidget(NuovoCampo("ORFNOME", 0, false));
    g->addWidget(FRFpg_, 1, 0, 1, 4);
    g->addWidget(FRFpf_, 2, 0, 1, 4);
    auto* nota = Etichetta(QStringLiteral(
        "Valorizzare nei casi in cui il soggetto  si avvalga di un rappresentante fiscale in Italia."),
        pagina);
    nota->setWordWrap(true);
    g->addWidget(nota, 3, 0, 1, 4);

    auto* stabile = new QGroupBox(QStringLiteral("STABILE  ORGANIZZAZIONE"), pagina);
    stabile->setObjectName(QStringLiteral("FraStabileOrganizzazione"));
    auto* s = new QGridLayout(stabile);
    s->addWidget(Etichetta(QStringLiteral("Indirizzo"), stabile), 0, 0);
    s->addWidget(NuovoCampo("OSOINDI", 0, false), 0, 1, 1, 3);
    s->addWidget(Etichetta(QStringLiteral("N.Civico"), stabile), 0, 4);
    s->addWidget(NuovoCampo("OSONUMC", 0, true), 0, 5);
    s->addWidget(Etichetta(QStringLiteral("Cap"), stabile), 0, 6);
    s->addWidget(NuovoCampo("OSOCAP", 0, true), 0, 7);
    s->addWidget(Etichetta(QStringLiteral("Località"), stabile), 1, 0);
    s->addWidget(NuovoCampo("OSOCOM", 0, false), 1, 1, 1, 3);
    s->addWidget(Etichetta(QStringLiteral("Prov."), stabile), 1, 4);
    s->addWidget(NuovoCampo("OSOPRO", 2, true), 1, 5);
    s->addWidget(Etichetta(QStringLiteral("Paese"), stabile), 1, 6);
    s->addWidget(NuovoCampo("OSOPAESE", 2, true), 1, 7);
    s->addWidget(NuovoCampo("OSOPAESED", 60, false), 2, 5, 1, 3);
    s->setColumnStretch(1, 3);
    s->setColumnStretch(5, 1);
    s->setColumnStretch(7, 1);
    g->addWidget(stabile, 4, 0, 1, 4);
    g->setColumnStretch(3, 1);
    g->setRowStretch(5, 1);
    return pagina;
}

// ---- load, list and record -------------------------------------------------------------

void F1OP::Form_Load()
{
    Protetto(QStringLiteral("Form_Load "), [this] {
        form_ = std::make_unique<CForm>();
        form_->SetVbForm(this);
        form_->SetLostFocusHandler(campi_.value("OCF"), [this] { vOCF_LostFocus(); });
        form_->SetLostFocusHandler(campi_.value("OSCOM"), [this] { vOSCOM_LostFocus(); });
        FormAttivo = objectName();
        Option1_->setChecked(true);
        ImpostaModalita();
        ImpostaStatoSoggettiObbligati(true);
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
    riempimento_ = true;
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
    if (!righe.isEmpty())
        IGope_->SetCurrentCell(registro_.RigaSel, 1);
    riempimento_ = false;
}

void F1OP::Aggiungi()
{
    // A new record cannot fail in a way the user could act on: errors are passed over.
    try {
        registro_.Aggiungi();
    } catch (const std::exception&) {
        registro_.campi = DatiSoggetto{};
        registro_.campi.OSPAESE = QStringLiteral("IT");
        registro_.campi.OSPAESED = QStringLiteral("ITALIA");
        registro_.campi.OPROG = FormattaProgressivo(1);
    }
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
    if (F0* principale = F0::Istanza())
        principale->Termina();
    else
        QApplication::exit(0);
}

void F1OP::IGope_AfterSelectionChange()
{
    if (riempimento_)
        return;
    Protetto(QStringLiteral("IGope_AfterSelectionChange "), [this] {
        const int riga = IGope_->CurrentRow();
        if (riga == 0)
            return;
        registro_.SelezioneCambiata(riga);
        ScriviCampi();
    });
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

// ---- fields -----------------------------------------------------------------------------

QLineEdit* F1OP::Campo(const QString& colonna) const
{
    return campi_.value(colonna.toUpper(), nullptr);
}

QWidget& F1OP::CornicePersonaFisica() const { return *Fpf_; }
QWidget& F1OP::CorniceSocieta() const { return *Fpg_; }
QWidget& F1OP::CorniceIdFile() const { return *FraIDFILE_; }

DatiSoggetto F1OP::DatiCorrenti() const
{
    DatiSoggetto dati;
    for (auto it = campi_.cbegin(); it != campi_.cend(); ++it)
        ImpostaColonna(dati, it.key(), it.value()->text());
    dati.OPF = vOPF_->isChecked();
    dati.ORFPF = vORFPF_->isChecked();
    dati.ODES = dati.DescrizioneGriglia();
    return dati;
}

datifattura::DatiDichiarante F1OP::DatiDichiaranteCorrente() const
{
    // Upper case and trimmed as a save would store them, even for a box whose text was
    // set without the focus passing through it.
    DatiSoggetto d = DatiCorrenti();
    NormalizzaTesti(d);
    datifattura::DatiDichiarante x;
    x.OSPAESE = d.OSPAESE;
    x.OCF = d.OCF;
    x.OPROG = LeggiProgressivo(d.OPROG).value_or(0);
    x.ODICPIVA = d.ODICPIVA;
    x.ODICCARICA = d.ODICCARICA;
    x.OPIVA = d.OPIVA;
    x.OPF = d.OPF;
    x.ONOME = d.ONOME;
    x.OCOG = d.OCOG;
    x.ORAG = d.ORAG;
    x.OSINDI = d.OSINDI;
    x.OSNUMC = d.OSNUMC;
    x.OSCAP = d.OSCAP;
    x.OSCOM = d.OSCOM;
    x.OSPRO = d.OSPRO;
    x.OSOINDI = d.OSOINDI;
    x.OSONUMC = d.OSONUMC;
    x.OSOCAP = d.OSOCAP;
    x.OSOCOM = d.OSOCOM;
    x.OSOPRO = d.OSOPRO;
    x.OSOPAESE = d.OSOPAESE;
    x.ORFPIVA = d.ORFPIVA;
    x.ORFPF = d.ORFPF;
    x.ORFNOME = d.ORFNOME;
    x.ORFCOG = d.ORFCOG;
    x.ORFRAG = d.ORFRAG;
    return x;
}

QString F1OP::IdFile() const
{
    return IDFILE_->text();
}

void F1OP::LeggiCampi()
{
    registro_.campi = DatiCorrenti();
}

void F1OP::ScriviCampi()
{
    const DatiSoggetto& d = registro_.campi;
    for (auto it = campi_.cbegin(); it != campi_.cend(); ++it)
        it.value()->setText(ValoreColonna(d, it.key()).toString());
    const QSignalBlocker bloccoPersona(vOPF_);
    const QSignalBlocker bloccoRappresentante(vORFPF_);
    vOPF_->setChecked(d.OPF);
    vORFPF_->setChecked(d.ORFPF);
    AggiornaCornici();
}

void F1OP::MostraErrore(const ErroreControllo& errore)
{
    QLineEdit* campo = Campo(errore.campo);
    if (!campo) {
        MsgBox(errore.messaggio, Pulsanti::Ok, Icona::Nessuna, QStringLiteral("Errore"));
        return;
    }
    // The field may lie on another page: that page is shown first.
    for (int i = 0; i < SSTab1_->count(); ++i) {
        if (SSTab1_->widget(i)->isAncestorOf(campo))
            SSTab1_->setCurrentIndex(i);
    }
    if (errore.campo == QLatin1String("OPROG") && !Option1_->isChecked())
        Option1_->setChecked(true);
    ErroreCampo(campo, errore.messaggio);
}

QString F1OP::AggiornaProgressivo()
{
    registro_.campi.OPROG = campi_.value("OPROG")->text();
    const QString errore = registro_.AggiornaProgressivo();
    campi_.value("OPROG")->setText(registro_.campi.OPROG);
    return errore;
}

void F1OP::lblProgressivo_DblClick()
{
    Protetto(QStringLiteral("lblProgressivo_DblClick "), [this] {
        registro_.campi.OPROG = campi_.value("OPROG")->text();
        const QString errore = registro_.RiavviaProgressivo();
        campi_.value("OPROG")->setText(registro_.campi.OPROG);
        if (!errore.isEmpty())
            MsgBox(errore, Pulsanti::Ok, Icona::Critica, QStringLiteral("Errore"));
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
        campi_.value("OPIVA")->setText(registro_.campi.OPIVA);
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
        comune->setText(stato->testo);
        if (stato->provincia)
            campi_.value("OSPRO")->setText(*stato->provincia);
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
            campi_.value("OSPRO")->setText(*provincia);
    });
}

void F1OP::vODICCARICA_DblClick()
{
    Protetto(QStringLiteral("vODICCARICA_DblClick "), [this] {
        if (const auto scelta = RicercaCarica(mostraRicerca_)) {
            campi_.value("ODICCARICA")->setText(scelta->codice);
            campi_.value("ODICCARICAD")->setText(scelta->descrizione);
        }
    });
}

void F1OP::vOSPAESE_DblClick()
{
    Protetto(QStringLiteral("vOSPAESE_DBLCLICK "), [this] {
        if (const auto scelta = RicercaPaese(mostraRicerca_)) {
            campi_.value("OSPAESE")->setText(scelta->codice);
            campi_.value("OSPAESED")->setText(scelta->descrizione);
        }
    });
}

void F1OP::vOSOPAESE_DblClick()
{
    Protetto(QStringLiteral("vOSOPAESE_DBLCLICK "), [this] {
        if (const auto scelta = RicercaPaese(mostraRicerca_)) {
            campi_.value("OSOPAESE")->setText(scelta->codice);
            campi_.value("OSOPAESED")->setText(scelta->descrizione);
        }
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
    if (evento->type() == QEvent::KeyRelease && oggetto == campi_.value("OSCOM")) {
        const auto* tasto = static_cast<QKeyEvent*>(evento);
        if (!tasto->isAutoRepeat())
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
