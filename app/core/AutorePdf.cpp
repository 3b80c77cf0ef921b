#include "app/core/AutorePdf.h"

#include "app/core/Globals.h"
#include "pdf/Tavlo.h"
#include "platform/text/Windows1252.h"

namespace quercino {

void CollegaAutorePdf()
{
    tavlo::Tavlo::SetDefaultAuthorSource([] {
        const std::vector<std::uint8_t> bytes = encodeWindows1252(NomeOperatore);
        return std::string(bytes.begin(), bytes.end());
    });
}

} // namespace quercino
