#pragma once
// The two town tables, read once into memory (CaricaComuni) and kept for the run:
// the towns in use ordered by name, with a case-insensitive prefix search for the
// registry's town completion, and the set of birthplace codes for the tax-code check.

#include <QSet>
#include <QString>

#include <vector>

namespace quercino {

class Database;

struct Comune {
    QString nome;       // COMUNE, as stored (upper case)
    QString provincia;  // PRO
};

class ElencoComuni {
public:
    void carica(Database& db);
    const std::vector<Comune>& comuni() const { return comuni_; }
    // First town, in name order, whose name begins with `prefisso` (case ignored);
    // nullptr when none or when the prefix is empty.
    const Comune* cercaPrefisso(const QString& prefisso) const;
    // The town whose whole name is `nome` (case ignored); nullptr when none.
    const Comune* cercaEsatto(const QString& nome) const;

private:
    std::vector<Comune> comuni_;  // ordered by the upper-case name, code-point order
    std::vector<QString> chiavi_; // upper-case names, same order, for the searches
};

class CodiciComuniCF {
public:
    void carica(Database& db);
    // Four-character birthplace code, compared ignoring case.
    bool contiene(const QString& codice) const;
    int conta() const { return static_cast<int>(codici_.size()); }

private:
    QSet<QString> codici_;
};

// The run's tables (filled by CaricaComuni).
ElencoComuni& Comuni();
CodiciComuniCF& ComuniCF();

// Loads both tables from `db` (the run's connection when omitted) and sets ComuniAperto.
// A database failure throws DbError and leaves ComuniAperto as it was.
void CaricaComuni();
void CaricaComuni(Database& db);

} // namespace quercino
