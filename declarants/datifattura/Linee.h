#pragma once
// Whole lines of a DatiFattura file: blanks for indentation, the text, CR LF.

#include <QString>

#include <string>
#include <string_view>

namespace quercino::datifattura {

class Linee {
public:
    explicit Linee(std::string& uscita) : uscita_(uscita) {}

    // A line of fixed text (tags, no values).
    void Riga(int spazi, std::string_view testo);
    // A value line: <tag>value</tag>, the value escaped.
    void Valore(int spazi, std::string_view tag, const QString& valore);
    // A value line whose value is already in its final bytes (numbers, dates, codes).
    void ValoreFormattato(int spazi, std::string_view tag, std::string_view valore);
    // The same value line, written only when the value is not empty.
    void ValoreSePresente(int spazi, std::string_view tag, const QString& valore);
    // A comment line: <!--body-->, the body made safe for a comment.
    void Commento(int spazi, const QString& corpo);

private:
    void Rientro(int spazi);
    void Fine();

    std::string& uscita_;
};

} // namespace quercino::datifattura
