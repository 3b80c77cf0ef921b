#pragma once
// What the user is told when a database statement fails, or any other failure reaches a
// window.

#include <QString>

#include <exception>

namespace quercino {

class Database;
class DbError;

inline const QString MessaggioConnessionePersa = QStringLiteral("la connessione al database è stata persa");

// The driver's description of the failure, or MessaggioConnessionePersa when the
// connection itself is gone: the drivers then speak of the statement they were running
// ("internal SAVEPOINT failed"), which tells the user nothing.
QString DescrizioneErroreDatabase(Database& db, const DbError& errore);

// The text of any failure: a database failure as above (on the run's connection Cnn), any
// other its own text (the program's errors carry Italian texts).
QString DescrizioneErrore(const std::exception& errore);

} // namespace quercino
