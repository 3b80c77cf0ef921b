#include "support/servizi_in_scenario.h"

#include <QDir>

namespace quercino::test {

namespace {

const std::pair<int, const char*> nomi[] = {{RispostaOk, "Ok"}, {RispostaAnnulla, "Annulla"}, {RispostaInterrompi, "Interrompi"},
                                            {RispostaRiprova, "Riprova"}, {RispostaIgnora, "Ignora"}, {RispostaSi, "Si"},
                                            {RispostaNo, "No"}};

} // namespace

int RispostaDaNome(const QString& nome)
{
    for (const auto& [risposta, testo] : nomi)
        if (nome == QLatin1String(testo))
            return risposta;
    ADD_FAILURE() << "risposta sconosciuta: " << nome.toStdString();
    return 0;
}

QString NomeRisposta(int risposta)
{
    for (const auto& [codice, testo] : nomi)
        if (codice == risposta)
            return QString::fromLatin1(testo);
    return QString::number(risposta);
}

ServiziInScenario::ServiziInScenario(Scenario& scenario, QString cartella_)
    : cartella(std::move(cartella_)), scenario_(scenario)
{
    ImpostaServizioMessaggi(this);
    ImpostaServizioDialoghi(this);
    scenario.verbi["risposte"] = [this](const QString& a) {
        for (const QString& nome : Parole(a))
            messaggi.risposte.push_back(RispostaDaNome(nome));
    };
    scenario.verbi["task"] = [this](const QString& a) {
        for (const QString& numero : Parole(a))
            messaggi.risposteTask.push_back(numero.toInt());
    };
    scenario.verbi["salva"] = [this](const QString& a) {
        for (const QString& nome : Parole(a))
            dialoghi.salvataggi.push_back(nome == QLatin1String("-") ? QString() : QDir(cartella).filePath(nome));
    };
    scenario.verbi["scegli"] = [this](const QString& a) {
        QStringList percorsi;
        for (const QString& nome : Parole(a))
            percorsi << QDir(cartella).filePath(nome);
        dialoghi.aperture.push_back(percorsi);
    };
}

ServiziInScenario::~ServiziInScenario()
{
    if (&ServizioMessaggiAttivo() == this)
        ImpostaServizioMessaggi(&messaggi);
    if (&ServizioDialoghiAttivo() == this)
        ImpostaServizioDialoghi(&dialoghi);
}

int ServiziInScenario::Mostra(const Messaggio& m)
{
    const char* icone[] = {"", " (critica)", " (domanda)", " (attenzione)", " (informazione)"};
    scenario_.Stampa("[" + m.titolo + "]" + icone[static_cast<int>(m.icona)]
                     + (m.predefinito ? " Invio=" + NomeRisposta(m.predefinito) : QString()));
    scenario_.Stampa(m.testo);
    return messaggi.Mostra(m);
}

int ServiziInScenario::MostraTask(const DialogoTask& t)
{
    scenario_.Stampa("[" + t.titolo + "] " + t.pulsanti.join(" | ")
                     + (t.predefinito != PrimoPulsanteTask ? " Invio=" + QString::number(t.predefinito) : QString()));
    scenario_.Stampa(t.testo);
    return messaggi.MostraTask(t);
}

QString ServiziInScenario::ChiediSalvataggio(const RichiestaFile& richiesta)
{
    Dialogo(richiesta);
    return dialoghi.ChiediSalvataggio(richiesta);
}

QStringList ServiziInScenario::ChiediApertura(const RichiestaFile& richiesta, bool multipla)
{
    Dialogo(richiesta);
    return dialoghi.ChiediApertura(richiesta, multipla);
}

void ServiziInScenario::Dialogo(const RichiestaFile& r)
{
    scenario_.Stampa("(dialogo \"" + r.titolo + "\"" + (r.nomeFile.isEmpty() ? QString() : " " + r.nomeFile) + ")");
}

} // namespace quercino::test
