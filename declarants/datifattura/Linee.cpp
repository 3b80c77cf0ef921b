#include "declarants/datifattura/Linee.h"

#include "declarants/datifattura/TestoXml.h"

namespace quercino::datifattura {

void Linee::Rientro(int spazi)
{
    // Indentation comes from a constant run of blanks.
    static constexpr char Spazi[] = "                                ";
    static_assert(sizeof(Spazi) > 24);
    uscita_.append(Spazi, static_cast<std::size_t>(spazi));
}

void Linee::Fine()
{
    uscita_.append("\r\n", 2);
}

void Linee::Riga(int spazi, std::string_view testo)
{
    Rientro(spazi);
    uscita_.append(testo);
    Fine();
}

void Linee::Valore(int spazi, std::string_view tag, const QString& valore)
{
    Rientro(spazi);
    uscita_.push_back('<');
    uscita_.append(tag);
    uscita_.push_back('>');
    AggiungiValore(uscita_, valore);
    uscita_.append("</", 2);
    uscita_.append(tag);
    uscita_.push_back('>');
    Fine();
}

void Linee::ValoreFormattato(int spazi, std::string_view tag, std::string_view valore)
{
    Rientro(spazi);
    uscita_.push_back('<');
    uscita_.append(tag);
    uscita_.push_back('>');
    uscita_.append(valore);
    uscita_.append("</", 2);
    uscita_.append(tag);
    uscita_.push_back('>');
    Fine();
}

void Linee::ValoreSePresente(int spazi, std::string_view tag, const QString& valore)
{
    if (!valore.isEmpty())
        Valore(spazi, tag, valore);
}

void Linee::Commento(int spazi, const QString& corpo)
{
    Rientro(spazi);
    uscita_.append("<!--", 4);
    AggiungiCommento(uscita_, corpo);
    uscita_.append("-->", 3);
    Fine();
}

} // namespace quercino::datifattura
