#pragma once
// The standard security handler's values, set together by SetProtection.

#include "pdf/core/Bytes.h"
#include "pdf/core/Rc4.h"

#include <cstdint>
#include <string>

namespace tavlo {

struct SecurityState {
    bool Encrypted = false;
    Bytes OwnerEntry, UserEntry, FileKey;
    std::int32_t Permissions = 0;
    int KeyLength = 0;  // object key length: 10 or 16
    std::string FileId;
    Rc4Cache rc4;
};

} // namespace tavlo
