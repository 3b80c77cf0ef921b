#pragma once
// What the two workbook harnesses do with a file: every member of the zip streamed to its
// end, then the workbook opened and every sheet read as the import reads it.

#include <string>

namespace quercino::fuzz {

void LeggiZipECartella(const std::string& percorso);

} // namespace quercino::fuzz
