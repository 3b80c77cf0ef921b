#pragma once
// The standard security handler's computations (revision 2 with a 40-bit key, revision 3
// with a 128-bit key, RC4): the /O, /U and /P values, the file key and the object keys.

#include "pdf/core/Bytes.h"

#include <cstdint>
#include <string_view>

namespace tavlo {

// Permission bits a caller may grant; 4096 only chooses revision 3.
namespace Permission {
constexpr std::int32_t Print = 4;
constexpr std::int32_t Modify = 8;
constexpr std::int32_t Copy = 16;
constexpr std::int32_t Annotate = 32;
constexpr std::int32_t FillForms = 256;
constexpr std::int32_t Accessibility = 512;
constexpr std::int32_t Assemble = 1024;
constexpr std::int32_t PrintHighQuality = 2048;
constexpr std::int32_t Strong = 4096;
} // namespace Permission

struct SecurityValues {
    int revision = 2;          // 2 or 3
    int objectKeyLength = 10;  // 10 (revision 2) or 16 (revision 3)
    Bytes ownerEntry;          // 32 bytes
    Bytes userEntry;           // 32 bytes
    std::int32_t permissions = -64;
    Bytes fileKey;             // 5 or 16 bytes
};

// The 32 bytes appended to every password.
const Bytes& PasswordPadding();
Bytes PadPassword(std::string_view password);

// Owner and user passwords as given (a blank owner password is replaced by the caller).
// Bits outside the documented permissions are ignored, so they cannot carry into others.
SecurityValues ComputeSecurity(std::int32_t flags, std::string_view ownerPassword,
                               std::string_view userPassword, const Bytes& fileId);

// The key of one indirect object (generation 0).
Bytes ObjectKeyFor(const Bytes& fileKey, std::int32_t objectNumber, int keyLength);

} // namespace tavlo
