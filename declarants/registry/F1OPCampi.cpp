// The registry window's fields and the declarant record: reading them, filling them, and
// showing a check's message on the field it names.

#include "declarants/registry/F1OP.h"

#include "app/core/Messaggi.h"
#include "app/widgets/ErroreCampo.h"
#include "declarants/registry/ColonneCOPE.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QTabWidget>

#include <algorithm>

namespace quercino {

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
        ImpostaTesto(it.key(), ValoreColonna(d, it.key()).toString());
    const QSignalBlocker bloccoPersona(vOPF_);
    const QSignalBlocker bloccoRappresentante(vORFPF_);
    vOPF_->setChecked(d.OPF);
    vORFPF_->setChecked(d.ORFPF);
    AggiornaCornici();
    AllineaGriglia();
}

void F1OP::ImpostaTesto(const QString& colonna, const QString& testo)
{
    QLineEdit* campo = campi_.value(colonna);
    // A stored value longer than the field takes (restored from a backup, or written into
    // the database by other means) is shown whole, never cut: the user can only shorten it.
    const int limite = campo->property(ProprietaLimite).toInt();
    campo->setMaxLength(std::max<int>(limite > 0 ? limite : 32767, static_cast<int>(testo.size())));
    campo->setText(testo);
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

} // namespace quercino
