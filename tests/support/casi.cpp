#include "support/casi.h"

#include "support/golden.h"

#include <gtest/gtest.h>

#include <set>

namespace quercino::test {

QString Decodifica(const QString& campo)
{
    QString testo;
    for (qsizetype i = 0; i < campo.size(); ++i) {
        if (campo[i] != u'\\' || i + 1 == campo.size()) {
            testo += campo[i];
            continue;
        }
        const QChar c = campo[++i];
        const int cifre = c == u'x' ? 2 : c == u'u' ? 4 : 0;
        if (cifre > 0) {
            testo += QChar(char16_t(campo.mid(i + 1, cifre).toUInt(nullptr, 16)));
            i += cifre;
            continue;
        }
        switch (c.unicode()) {
        case u't': testo += u'\t'; break;
        case u'r': testo += u'\r'; break;
        case u'n': testo += u'\n'; break;
        case u's': testo += u' '; break;
        case u'0': testo += QChar(u'\0'); break;
        default: testo += c; break;
        }
    }
    return testo;
}

QString Codifica(const QString& testo)
{
    QString campo;
    for (qsizetype i = 0; i < testo.size(); ++i) {
        const char16_t c = testo[i].unicode();
        const bool bordo = i == 0 || i == testo.size() - 1;
        if (c == u'\\')
            campo += QLatin1String("\\\\");
        else if (c == u'\t' || c == u'\r' || c == u'\n')
            campo += c == u'\t' ? QLatin1String("\\t") : c == u'\r' ? QLatin1String("\\r") : QLatin1String("\\n");
        else if (c == u' ' && bordo)
            campo += QLatin1String("\\s");
        else if (c < 0x20 || (c >= 0x7F && c < 0xA0))
            campo += QStringLiteral("\\x%1").arg(int(c), 2, 16, QLatin1Char('0'));
        else
            campo += QChar(c);
    }
    return campo;
}

std::vector<Caso> Casi(const char* sorgente, const QString& nome)
{
    const QString percorso = Accanto(sorgente, nome);
    std::vector<Caso> casi;
    const QStringList righe = QString::fromUtf8(LeggiFile(percorso)).split(u'\n');
    for (qsizetype n = 0; n < righe.size(); ++n) {
        if (righe[n].isEmpty() || righe[n].startsWith(u'#'))
            continue;
        Caso caso{{}, QStringLiteral("%1:%2").arg(nome).arg(n + 1), n};
        for (const QString& campo : righe[n].split(u'\t'))
            caso.campi << Decodifica(campo);
        casi.push_back(caso);
    }
    EXPECT_FALSE(casi.empty()) << "nessun caso in " << percorso.toStdString();
    return casi;
}

void ControllaFunzioni(const char* sorgente, const QString& nome, const std::map<QString, Funzione>& funzioni)
{
    // QUERCINO_UPDATE_GOLDEN=1 writes each row's results in place of the expected ones.
    const bool riscrivi = qEnvironmentVariable("QUERCINO_UPDATE_GOLDEN") == QLatin1String("1");
    QStringList righe = QString::fromUtf8(LeggiFile(Accanto(sorgente, nome))).split(u'\n');
    std::set<QString> usate;
    for (const Caso& caso : Casi(sorgente, nome)) {
        const qsizetype freccia = caso.campi.indexOf(QStringLiteral("=>"));
        const auto funzione = funzioni.find(caso[0]);
        if (freccia < 1 || funzione == funzioni.end()) {
            ADD_FAILURE() << caso << ": funzione sconosciuta o \"=>\" mancante";
            continue;
        }
        usate.insert(caso[0]);
        const QStringList risultato = funzione->second(caso.campi.mid(1, freccia - 1));
        if (riscrivi) {
            QStringList campi = righe[caso.linea].split(u'\t').mid(0, freccia + 1);
            for (const QString& valore : risultato)
                campi << Codifica(valore);
            while (campi.size() > freccia + 1 && campi.last().isEmpty())
                campi.removeLast();
            righe[caso.linea] = campi.join(u'\t');
            continue;
        }
        QStringList atteso = caso.campi.mid(freccia + 1);
        while (atteso.size() < risultato.size())
            atteso << QString();  // empty results at a line's end need no tabs
        EXPECT_EQ(risultato, atteso) << caso;
    }
    if (riscrivi) {
        EXPECT_TRUE(ScriviFile(Accanto(sorgente, nome), righe.join(u'\n').toUtf8()));
    }
    for (const auto& [nomeFunzione, _] : funzioni)
        EXPECT_TRUE(usate.count(nomeFunzione)) << nomeFunzione.toStdString() << ": nessun caso in " << nome.toStdString();
}

} // namespace quercino::test
