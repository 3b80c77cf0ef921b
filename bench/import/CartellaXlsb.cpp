#include "CartellaXlsb.h"

#include <chrono>
#include <cmath>

CartellaXlsb::CartellaXlsb(const std::string& percorso)
    : zip_(percorso),
      scrittore_([this](const std::string& nome) { zip_.Membro(nome); }, [this](std::string_view byte) { zip_.Scrivi(byte); })
{
    data_ = scrittore_.Stile("dd/mm/yyyy");
    scrittore_.Foglio("FATTURE EMESSE");
}

void CartellaXlsb::Riga(int riga)
{
    if (riga != riga_)
        scrittore_.Riga(riga);
    riga_ = riga;
}

void CartellaXlsb::Testo(int riga, int colonna, const std::string& testo)
{
    Riga(riga);
    scrittore_.Testo(colonna, testo);
}

void CartellaXlsb::Numero(int riga, int colonna, double valore)
{
    Riga(riga);
    const double centesimi = std::round(valore * 100);
    if (std::abs(centesimi) < (1 << 29) && centesimi / 100 == valore)
        scrittore_.Rk(colonna, quercino::test::RkIntero(static_cast<std::int32_t>(centesimi), true));
    else
        scrittore_.Numero(colonna, valore);
}

void CartellaXlsb::Data(int riga, int colonna, int giorno, int mese, int anno)
{
    using namespace std::chrono;
    const auto seriale = (sys_days(year(anno) / mese / giorno) - sys_days(year(1899) / 12 / 30)).count();
    Riga(riga);
    scrittore_.Rk(colonna, quercino::test::RkIntero(static_cast<std::int32_t>(seriale)), data_);
}

bool CartellaXlsb::Chiudi()
{
    scrittore_.Foglio("FATTURE RICEVUTE");
    scrittore_.Chiudi();
    return zip_.Chiudi();
}
