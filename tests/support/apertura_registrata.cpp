#include "apertura_registrata.h"

#include <QDesktopServices>

namespace quercino::test {

namespace {
const char* const schemi[] = {"http", "https", "mailto", "file"};
}

AperturaRegistrata::AperturaRegistrata()
{
    for (const char* schema : schemi)
        QDesktopServices::setUrlHandler(QString::fromLatin1(schema), this, "apri");
}

AperturaRegistrata::~AperturaRegistrata()
{
    for (const char* schema : schemi)
        QDesktopServices::unsetUrlHandler(QString::fromLatin1(schema));
}

void AperturaRegistrata::apri(const QUrl& url)
{
    aperti << url;
}

} // namespace quercino::test
