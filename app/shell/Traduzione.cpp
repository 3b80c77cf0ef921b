#include "app/shell/Traduzione.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace quercino {

bool CaricaTraduzioneItaliana(QCoreApplication& applicazione)
{
    const QLocale italiano(QLocale::Italian, QLocale::Italy);
    QLocale::setDefault(italiano);
    static QTranslator* traduttore = nullptr;
    if (traduttore)
        return true;
    auto* nuovo = new QTranslator(&applicazione);
    if (!nuovo->load(italiano, QStringLiteral("qtbase"), QStringLiteral("_"),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete nuovo;
        return false;
    }
    applicazione.installTranslator(nuovo);
    traduttore = nuovo;
    return true;
}

} // namespace quercino
