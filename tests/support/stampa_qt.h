#pragma once
// Failures print Qt texts as text (gtest finds PrintTo by the argument's namespace).

#include <QString>
#include <QStringList>

#include <ostream>

inline void PrintTo(const QString& testo, std::ostream* os)
{
    *os << '"' << testo.toStdString() << '"';
}

inline void PrintTo(const QStringList& testi, std::ostream* os)
{
    *os << "{";
    for (qsizetype i = 0; i < testi.size(); ++i)
        *os << (i ? ", \"" : "\"") << testi[i].toStdString() << '"';
    *os << "}";
}
