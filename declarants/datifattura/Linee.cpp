#include "declarants/datifattura/Linee.h"

#include "declarants/datifattura/TestoXml.h"

namespace quercino::datifattura {

void Linee::Rientro(int spazi)
{
    uscita_.append(spazi, ' ');
}

void Linee::Fine()
{
    uscita_.append("\r\n", 2);
}

void Linee::Riga(int spazi, std::string_view testo)
{
    Rientro(spazi);
    uscita_.append(testo.data(), static_cast<qsizetype>(testo.size()));
    Fine();
}

void Linee::Valore(int spazi, std::string_view tag, const QString& valore)
{
    Rientro(spazi);
    uscita_.append('<').append(tag.data(), static_cast<qsizetype>(tag.size())).append('>');
    AggiungiValore(uscita_, valore);
    uscita_.append("</", 2).append(tag.data(), static_cast<qsizetype>(tag.size())).append('>');
    Fine();
}

void Linee::ValoreFormattato(int spazi, std::string_view tag, const QByteArray& valore)
{
    Rientro(spazi);
    uscita_.append('<').append(tag.data(), static_cast<qsizetype>(tag.size())).append('>');
    uscita_.append(valore);
    uscita_.append("</", 2).append(tag.data(), static_cast<qsizetype>(tag.size())).append('>');
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
