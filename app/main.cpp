// Quercino: the program's entry point. The windows of the other areas are plugged into the
// main window here; everything else starts in AvviaProgramma.

#include "app/core/Main.h"
#include "app/programma/CollegaFinestre.h"
#include "app/shell/Avvio.h"
#include "app/widgets/Applicazione.h"

int main(int argc, char** argv)
{
    quercino::Applicazione applicazione(argc, argv);
    quercino::CollegaFinestre();
    return quercino::AvviaProgramma(applicazione, &quercino::Main);
}
