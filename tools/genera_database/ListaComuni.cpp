#include "ListaComuni.h"

#include <QFile>
#include <QRegularExpression>
#include <QStringList>

#include <stdexcept>

namespace quercino::genera {

std::vector<VoceComune> leggiListaComuni(const QString& percorso)
{
    QFile file(percorso);
    if (!file.open(QIODevice::ReadOnly))
        throw std::runtime_error("cannot read " + percorso.toStdString());
    const QString testo = QString::fromUtf8(file.readAll());

    // Names are quoted with ' or, when they hold an apostrophe, with ".
    static const QRegularExpression voce(QStringLiteral(
        R"re(^\s*\[\s*'([A-Z][0-9]{3})'\s*,\s*'([A-Z]{2})'\s*,\s*(?:'([^']*)'|"([^"]*)")\s*,\s*([01])\s*\]\s*,?\s*$)re"));
    static const QRegularExpression apertura(QStringLiteral(R"re(^\s*export\s+const\s+COMUNI\s*=\s*\[\s*$)re"));
    static const QRegularExpression chiusura(QStringLiteral(R"re(^\s*\]\s*;?\s*$)re"));

    std::vector<VoceComune> voci;
    const QStringList righe = testo.split(QLatin1Char('\n'));
    for (int i = 0; i < righe.size(); ++i) {
        const QString riga = righe[i].trimmed();
        if (riga.isEmpty() || apertura.match(riga).hasMatch() || chiusura.match(riga).hasMatch())
            continue;
        const QRegularExpressionMatch m = voce.match(riga);
        if (!m.hasMatch())
            throw std::runtime_error(percorso.toStdString() + ":" + std::to_string(i + 1) +
                                     ": unexpected line: " + riga.toStdString());
        const QString nome = m.captured(3).isNull() ? m.captured(4) : m.captured(3);
        voci.push_back(VoceComune{m.captured(1), m.captured(2), nome, m.captured(5) == QLatin1String("1")});
    }
    return voci;
}

} // namespace quercino::genera
