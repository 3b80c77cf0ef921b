#include "app/widgets/MessaggiQt.h"

#include "app/widgets/Finestre.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

#include <vector>

namespace quercino {

namespace {

QMessageBox::Icon IconaQt(Icona icona)
{
    switch (icona) {
    case Icona::Critica:
        return QMessageBox::Critical;
    case Icona::Domanda:
        return QMessageBox::Question;
    case Icona::Attenzione:
        return QMessageBox::Warning;
    case Icona::Informazione:
        return QMessageBox::Information;
    case Icona::Nessuna:
        break;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::Icon IconaTaskQt(int icona)
{
    switch (icona) {
    case IconaTaskAttenzione:
        return QMessageBox::Warning;
    case IconaTaskErrore:
        return QMessageBox::Critical;
    case IconaTaskInformazione:
        return QMessageBox::Information;
    case IconaTaskScudo:
        return QMessageBox::Warning;
    case IconaTaskDomanda:
        return QMessageBox::Question;
    default:
        return QMessageBox::NoIcon;
    }
}

struct Pulsante {
    QMessageBox::StandardButton qt;
    int codice;
};

std::vector<Pulsante> PulsantiQt(Pulsanti pulsanti)
{
    switch (pulsanti) {
    case Pulsanti::Ok:
        return {{QMessageBox::Ok, RispostaOk}};
    case Pulsanti::OkAnnulla:
        return {{QMessageBox::Ok, RispostaOk}, {QMessageBox::Cancel, RispostaAnnulla}};
    case Pulsanti::InterrompiRiprovaIgnora:
        return {{QMessageBox::Abort, RispostaInterrompi},
                {QMessageBox::Retry, RispostaRiprova},
                {QMessageBox::Ignore, RispostaIgnora}};
    case Pulsanti::SiNoAnnulla:
        return {{QMessageBox::Yes, RispostaSi},
                {QMessageBox::No, RispostaNo},
                {QMessageBox::Cancel, RispostaAnnulla}};
    case Pulsanti::SiNo:
        return {{QMessageBox::Yes, RispostaSi}, {QMessageBox::No, RispostaNo}};
    case Pulsanti::RiprovaAnnulla:
        return {{QMessageBox::Retry, RispostaRiprova}, {QMessageBox::Cancel, RispostaAnnulla}};
    }
    return {{QMessageBox::Ok, RispostaOk}};
}

// The program's texts end lines with CR LF; on screen one line end is enough.
QString TestoVisibile(QString testo)
{
    testo.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    testo.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return testo;
}


} // namespace

int MessaggiQt::Mostra(const Messaggio& messaggio)
{
    QMessageBox box(FinestraProprietaria());
    box.setWindowTitle(messaggio.titolo);
    box.setTextFormat(Qt::PlainText);
    box.setText(TestoVisibile(messaggio.testo));
    box.setIcon(IconaQt(messaggio.icona));
    const std::vector<Pulsante> pulsanti = PulsantiQt(messaggio.pulsanti);
    QMessageBox::StandardButtons insieme;
    for (const Pulsante& pulsante : pulsanti)
        insieme |= pulsante.qt;
    box.setStandardButtons(insieme);
    QMessageBox::StandardButton predefinito = pulsanti.front().qt;
    for (const Pulsante& pulsante : pulsanti) {
        if (pulsante.codice == messaggio.predefinito)
            predefinito = pulsante.qt;
    }
    box.setDefaultButton(predefinito);
    box.exec();
    const auto premuto = box.standardButton(box.clickedButton());
    for (const Pulsante& pulsante : pulsanti) {
        if (pulsante.qt == premuto)
            return pulsante.codice;
    }
    // Closed without a button: the answer of the box's escape button.
    if (insieme.testFlag(QMessageBox::Cancel))
        return RispostaAnnulla;
    if (insieme.testFlag(QMessageBox::No))
        return RispostaNo;
    return pulsanti.front().codice;
}

int MessaggiQt::MostraTask(const DialogoTask& dialogo)
{
    QMessageBox box(FinestraProprietaria());
    box.setWindowTitle(dialogo.titolo);
    box.setTextFormat(Qt::PlainText);
    box.setText(TestoVisibile(dialogo.testo));
    box.setIcon(IconaTaskQt(dialogo.icona));
    // Only a button may close it: no close box, and Escape does nothing.
    box.setWindowFlags((box.windowFlags() | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
                       & ~Qt::WindowCloseButtonHint);
    std::vector<QPushButton*> pulsanti;
    for (const QString& caption : dialogo.pulsanti)
        pulsanti.push_back(box.addButton(caption, QMessageBox::AcceptRole));
    if (pulsanti.empty())
        return 0;
    const auto predefinito = static_cast<std::size_t>(dialogo.predefinito - PrimoPulsanteTask);
    box.setDefaultButton(pulsanti[predefinito < pulsanti.size() ? predefinito : 0]);
    for (;;) {
        box.exec();
        const QAbstractButton* premuto = box.clickedButton();
        for (std::size_t i = 0; i < pulsanti.size(); ++i) {
            if (pulsanti[i] == premuto)
                return PrimoPulsanteTask + static_cast<int>(i);
        }
    }
}

void UsaMessaggiQt()
{
    static MessaggiQt servizio;
    ImpostaServizioMessaggi(&servizio);
}

} // namespace quercino
