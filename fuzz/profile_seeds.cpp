// The program's own configurazione.ini, and variants in the forms the reader's tests use.

#include "fuzz/FuzzHarness.h"

#include <fstream>
#include <iterator>

namespace quercino::fuzz {

bool GeneraSemi(const std::filesystem::path& cartella)
{
    std::ifstream in(std::filesystem::path(QUERCINO_SOURCE_DIR) / "tools/program/configurazione.ini", std::ios::binary);
    const std::string programma((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (programma.empty())
        return false;
    return ScriviSeme(cartella, "configurazione.ini", programma)
           && ScriviSeme(cartella, "varianti.ini",
                         "opzioni=TipoDb\n[Altra]\nTipoDb=X\n[ OPZIONI ]\r\n  tipodb = \"S\" \r\n"
                         "Server_Password='p;w=1'\r\n;StrConn=no\r\nStrConn=DRIVER={SQLite3};Database=a b\r\n"
                         "App_PercLarghezza=\t70\t\r\n[opzioni]\r\ndebug=1\r\n")
           && ScriviSeme(cartella, "cp1252.ini", "[opzioni]\r\nServer_Utente=Citt\xE0\r\ndebug=\xA6\x80\r\n")
           && ScriviSeme(cartella, "utf8.ini", "\xEF\xBB\xBF[opzioni]\nServer_Utente=Citt\xC3\xA0\nTipoDb=M");
}

} // namespace quercino::fuzz
