// The profile-file reader: the keys the program looks up, plus a section and key named by
// the input's first line, so that every lookup path is reached.

#include "fuzz/FuzzHarness.h"
#include "platform/ini/ProfileFile.h"

#include <QStringList>

#include <span>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::span<const std::uint8_t> byte(data, size);
    for (const char* chiave : {"TipoDb", "debug", "Server_Password", "StrConn", "App_PercLarghezza"})
        (void)quercino::readProfileValueFromBytes(byte, QStringLiteral("opzioni"), QString::fromLatin1(chiave));
    std::size_t fine = 0;
    while (fine < size && data[fine] != '\n')
        ++fine;
    const QString riga = QString::fromLatin1(reinterpret_cast<const char*>(data), static_cast<qsizetype>(fine));
    const QStringList parti = riga.split(QLatin1Char('='));
    (void)quercino::readProfileValueFromBytes(byte, parti.value(0), parti.value(1), 1 + static_cast<int>(size % 300));
    return 0;
}
