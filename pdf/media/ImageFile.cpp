#include "pdf/media/ImageFile.h"

#include "pdf/core/InputFile.h"

namespace tavlo {

void InvalidImage(const std::string& why)
{
    throw TavloError(ErrorCode::InvalidFileFormat, TavloError::StandardDescription(ErrorCode::InvalidFileFormat) +
                                                       ": " + why);
}

Bytes ReadImageFile(const std::string& path, std::uintmax_t limit)
{
    return ReadWholeFile(path, limit, "immagine troppo grande");
}

} // namespace tavlo
