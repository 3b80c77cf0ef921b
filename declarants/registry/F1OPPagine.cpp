// The registry window's layout: the grid, the three pages of the form and the buttons.

#include "declarants/registry/F1OP.h"

#include "declarants/datifattura/ValoriSchema.h"
#include "declarants/registry/ErroreApplicazione.h"
#include "declarants/registry/LimitiCampi.h"
#include "platform/grid/Grid.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QTabWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace quercino {

namespace {

const QString suggerimentoCodiceFiscale = QStringLiteral("indicare il CODICE FISCALE e non la PARTITA IVA");

QLabel* Etichetta(const QString& testo, QWidget* genitore)
{
    return new QLabel(testo, genitore);
}

// A label on one line where there is room, on two where the window is narrow.
class EtichettaADueRighe final : public QLabel {
public:
    EtichettaADueRighe(const QString& testo, QWidget* genitore) : QLabel(testo, genitore) { setWordWrap(true); }

    QSize sizeHint() const override
    {
        const int larghezza = fontMetrics().horizontalAdvance(text()) + 2 * margin() + 2 * frameWidth();
        return {larghezza, heightForWidth(larghezza)};
    }
};

// Wide enough to show `caratteri` of the widest character an identifier may hold, as typed
// or upper-cased: the Agency's identifiers are copied from the box and must be read whole.
void MostraCaratteri(QLineEdit* campo, int caratteri)
{
    const QFontMetrics misure = campo->fontMetrics();
    QChar largo = QLatin1Char('0');
    for (const QChar c : QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789"))
        if (misure.horizontalAdvance(c) > misure.horizontalAdvance(largo))
            largo = c;
    // What the box keeps beside its text: its frame as the style draws it, the text margins
    // and the two pixels a line edit leaves on each side.
    QStyleOptionFrame opzione;
    opzione.initFrom(campo);
    constexpr int Prova = 1000;
    opzione.rect = QRect(0, 0, Prova, campo->sizeHint().height());
    opzione.lineWidth = campo->hasFrame() ? campo->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &opzione, campo) : 0;
    opzione.state |= QStyle::State_Sunken;
    const QRect testo = campo->style()->subElementRect(QStyle::SE_LineEditContents, &opzione, campo).marginsRemoved(campo->textMargins());
    campo->setMinimumWidth(misure.horizontalAdvance(QString(caratteri, largo)) + Prova - testo.width() + 2 * 2);
}

} // namespace

QLineEdit* F1OP::NuovoCampo(const QString& colonna, int larghezza, bool centrato)
{
    auto* campo = new QLineEdit(this);
    campo->setObjectName(QLatin1Char('v') + colonna);
    const int limite = LimiteCampo(colonna);
    campo->setMaxLength(limite);
    campo->setProperty(ProprietaLimite, limite);
    // A longer stored value is shown whole (ImpostaTesto); as the user shortens it the field
    // comes back to its limit, and never takes more than the value it showed.
    connect(campo, &QLineEdit::textEdited, campo, [campo, limite] {
        campo->setMaxLength(std::max<int>(limite, static_cast<int>(campo->text().size())));
    });
    // Short boxes stay short; a code box shows its whole code.
    const bool corto = larghezza == 2 || colonna.endsWith(QLatin1String("NUMC"))
                       || colonna.endsWith(QLatin1String("CAP"));
    if (corto)
        campo->setMaximumWidth(campo->fontMetrics().horizontalAdvance(QStringLiteral("000000")) + 24);
    // A tax code (16) or a VAT number (11) is shown whole.
    if (larghezza == 16 || larghezza == 11)
        campo->setMinimumWidth(campo->fontMetrics().horizontalAdvance(
                                   larghezza == 16 ? QStringLiteral("RSSMRA80A01H501U") : QStringLiteral("01234567890"))
                               + 16);
    if (centrato)
        campo->setAlignment(Qt::AlignCenter);
    campi_.insert(colonna, campo);
    return campo;
}

void F1OP::Costruisci()
{
    IGope_ = new Grid(this);
    IGope_->setObjectName(QStringLiteral("IGope"));

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

    // The descriptions are filled by the lookups only, so that they always say what the
    // code chosen means: grey, not typed into, skipped by Tab (a click still selects and
    // copies).
    for (const char* c : {"OSPAESED", "OSOPAESED", "ODICCARICAD"}) {
        QLineEdit* campo = campi_.value(QLatin1String(c));
        campo->setReadOnly(true);
        campo->setFocusPolicy(Qt::ClickFocus);
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
    g->addWidget(NuovoCampo("OPIVA", 11, true), 0, 5);
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

    // The widest label of its column: on two lines when the window is narrow.
    g->addWidget(new EtichettaADueRighe(QStringLiteral("Sede legale (Località)"), pagina), 4, 0);
    g->addWidget(NuovoCampo("OSCOM", 0, false), 4, 1, 1, 3);
    g->addWidget(Etichetta(QStringLiteral("Prov."), pagina), 4, 4);
    g->addWidget(NuovoCampo("OSPRO", 2, true), 4, 5);
    g->addWidget(Etichetta(QStringLiteral("Paese"), pagina), 4, 6);
    g->addWidget(NuovoCampo("OSPAESE", 2, true), 4, 7);
    g->addWidget(NuovoCampo("OSPAESED", 60, false), 5, 5, 1, 3);

    auto* ultimoInvio = new QGroupBox(QStringLiteral("ULTIMO INVIO"), pagina);
    ultimoInvio->setObjectName(QStringLiteral("FraULTIMOINVIO"));
    // Each identifier under its label, so that both show whole and the page stays narrow.
    auto* u = new QVBoxLayout(ultimoInvio);
    u->addWidget(Etichetta(QStringLiteral("ID FILE FT EMESSE"), ultimoInvio));
    u->addWidget(NuovoCampo("OUCDTE", 0, true));
    u->addWidget(Etichetta(QStringLiteral("ID FILE FT RICEVUTE"), ultimoInvio));
    u->addWidget(NuovoCampo("OUCDTR", 0, true));
    for (const char* c : {"OUCDTE", "OUCDTR"})
        MostraCaratteri(campi_.value(QLatin1String(c)), datifattura::MassimoIdFile);
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
    // The option chosen is bold: each keeps the width of its bold caption, so that choosing
    // moves nothing.
    for (QRadioButton* opzione : {Option1_, Option3_}) {
        const QFont normale = opzione->font();
        QFont grassetto = normale;
        grassetto.setBold(true);
        opzione->setFont(grassetto);
        opzione->setMinimumWidth(opzione->sizeHint().width());
        opzione->setFont(normale);
    }
    auto* progressivo = new QWidget(comunicazione);
    auto* p = new QHBoxLayout(progressivo);
    p->setContentsMargins(0, 0, 0, 0);
    lblProgressivo_ = new QLabel(QStringLiteral("Progressivo:"), progressivo);
    lblProgressivo_->setObjectName(QStringLiteral("lblProgressivo"));
    p->addWidget(lblProgressivo_);
    p->addWidget(NuovoCampo("OPROG", 0, true));
    FraIDFILE_ = new QGroupBox(QStringLiteral(" IDFILE"), comunicazione);
    FraIDFILE_->setObjectName(QStringLiteral("FraIDFILE"));
    // The identifier shown whole takes the row's width: the button goes below it, and the
    // frame keeps its rows tight so that the page still fits the smaller screens.
    auto* idFile = new QGridLayout(FraIDFILE_);
    const QMargins margini = idFile->contentsMargins();
    idFile->setContentsMargins(margini.left(), 0, margini.right(), margini.bottom() / 2);
    idFile->setVerticalSpacing(2);
    idFile->addWidget(Etichetta(QStringLiteral("ID FILE"), FraIDFILE_), 0, 0);
    IDFILE_ = new QLineEdit(FraIDFILE_);
    IDFILE_->setObjectName(QStringLiteral("IDFILE"));
    IDFILE_->setMaxLength(datifattura::MassimoIdFile);
    IDFILE_->setAlignment(Qt::AlignCenter);
    MostraCaratteri(IDFILE_, datifattura::MassimoIdFile);
    idFile->addWidget(IDFILE_, 0, 1);
    PusCREA_ = new QPushButton(QStringLiteral("CREA"), FraIDFILE_);
    PusCREA_->setObjectName(QStringLiteral("PusCREA"));
    idFile->addWidget(PusCREA_, 1, 1, Qt::AlignRight);
    // The progressive (new data) and the identifier (annulment) take turns in one place of
    // one size, so that the form never moves when the mode changes.
    c->addWidget(progressivo, 1, 0, 1, 2, Qt::AlignTop);
    c->addWidget(FraIDFILE_, 1, 0, 1, 2);
    for (QWidget* alterno : {static_cast<QWidget*>(lblProgressivo_), static_cast<QWidget*>(campi_.value("OPROG")),
                             static_cast<QWidget*>(FraIDFILE_)}) {
        QSizePolicy politica = alterno->sizePolicy();
        politica.setRetainSizeWhenHidden(true);
        alterno->setSizePolicy(politica);
    }
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
    g->addWidget(NuovoCampo("ORFPIVA", 11, true), 0, 1);
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

} // namespace quercino
