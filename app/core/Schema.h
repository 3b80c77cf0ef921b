#pragma once
// The program's tables. The order of COPE's columns is the order of the values in a
// backup line (the restore assigns them by position): never reorder it.

#include "platform/db/Table.h"

#include <vector>

namespace quercino {

class Database;

namespace schema {

// Declarants: all text except the two check boxes OPF and ORFPF (SMALLINT 0/1).
const Table& COPE();
// Code tables: TIPO ("PAESE", "CARICA", ...), COD, DES.
const Table& CTAB();
// Italian towns in use: COMUNE, PRO (province, two letters).
const Table& T_COMUNI();
// Birthplace codes of the tax code: KEY_TAB (four characters), DESCRIZION.
const Table& T_COMUNICF();

// Every table above, in creation order.
std::vector<const Table*> tabelle();

// CREATE TABLE statement of one table in the dialect of `db`.
QString istruzioneCreazione(const Database& db, const Table& table);
// Creates every table (in a transaction) on an empty database.
void creaTabelle(Database& db);

} // namespace schema

// Column positions of COPE, for Row accessors and backup lines.
namespace cope {
enum Colonna : int {
    OCOD, ORAG, ONOME, OCOG, OPIVA, OCF, OSINDI, OSNUMC, OSCAP, OSCOM, OSPRO, OSPAESE,
    OSPAESED, OPF, ODES, ODICPIVA, ODICCARICA, ODICCARICAD, ORFPIVA, ORFRAG, ORFNOME,
    ORFCOG, ORFPF, OSOINDI, OSONUMC, OSOCAP, OSOCOM, OSOPRO, OSOPAESE, OSOPAESED,
    OUCDTE, OUCDTR, OPROG, NumeroColonne
};
} // namespace cope

namespace ctab {
enum Colonna : int { TIPO, COD, DES, NumeroColonne };
} // namespace ctab

} // namespace quercino
