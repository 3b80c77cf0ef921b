#include "pdf/core/SecurityHandler.h"

#include "pdf/core/Md5.h"
#include "pdf/core/Rc4.h"

namespace tavlo {

namespace {

constexpr std::int32_t kRevision2Bits = Permission::Print | Permission::Modify | Permission::Copy |
                                        Permission::Annotate;
constexpr std::int32_t kRevision3Bits = kRevision2Bits | Permission::FillForms | Permission::Accessibility |
                                        Permission::Assemble | Permission::PrintHighQuality;

Bytes Md5Of(const Bytes& data, std::size_t keep = 16)
{
    const Md5Value digest = Md5Digest(data);
    return Bytes(digest.begin(), digest.begin() + keep);
}

void Append(Bytes& to, const Bytes& more)
{
    to.insert(to.end(), more.begin(), more.end());
}

Bytes XorEach(const Bytes& key, int value)
{
    Bytes out(key);
    for (auto& b : out)
        b = std::uint8_t(b ^ value);
    return out;
}

} // namespace

const Bytes& PasswordPadding()
{
    static const Bytes padding = {0x28, 0xBF, 0x4E, 0x5E, 0x4E, 0x75, 0x8A, 0x41, 0x64, 0x00, 0x4E,
                                  0x56, 0xFF, 0xFA, 0x01, 0x08, 0x2E, 0x2E, 0x00, 0xB6, 0xD0, 0x68,
                                  0x3E, 0x80, 0x2F, 0x0C, 0xA9, 0xFE, 0x64, 0x53, 0x69, 0x7A};
    return padding;
}

Bytes PadPassword(std::string_view password)
{
    Bytes padded(password.begin(), password.begin() + std::min<std::size_t>(password.size(), 32));
    const Bytes& padding = PasswordPadding();
    padded.insert(padded.end(), padding.begin(), padding.begin() + (32 - padded.size()));
    return padded;
}

SecurityValues ComputeSecurity(std::int32_t flags, std::string_view ownerPassword,
                               std::string_view userPassword, const Bytes& fileId)
{
    SecurityValues v;
    const Bytes owner = PadPassword(ownerPassword);
    const Bytes user = PadPassword(userPassword);
    Bytes permissionBytes(4, 255);

    if (flags & Permission::Strong) {
        v.revision = 3;
        v.objectKeyLength = 16;
        const auto p = static_cast<std::uint16_t>((flags & kRevision3Bits) - 3904);
        permissionBytes[0] = std::uint8_t(p & 255);
        permissionBytes[1] = std::uint8_t(p >> 8);

        Bytes h = Md5Of(owner);
        for (int i = 0; i < 50; ++i)
            h = Md5Of(h);
        v.ownerEntry = Rc4Crypt(h, user);
        for (int i = 1; i <= 19; ++i)
            v.ownerEntry = Rc4Crypt(XorEach(h, i), v.ownerEntry);

        Bytes input = user;
        Append(input, v.ownerEntry);
        Append(input, permissionBytes);
        Append(input, fileId);
        Bytes key = Md5Of(input);
        for (int i = 0; i < 50; ++i)
            key = Md5Of(key);
        v.fileKey = key;

        Bytes u = PasswordPadding();
        Append(u, fileId);
        u = Rc4Crypt(v.fileKey, Md5Of(u));
        for (int i = 1; i <= 19; ++i)
            u = Rc4Crypt(XorEach(v.fileKey, i), u);
        u.resize(32, ' ');
        v.userEntry = u;
    } else {
        v.revision = 2;
        v.objectKeyLength = 10;
        permissionBytes[0] = std::uint8_t(((flags & kRevision2Bits) + 192) & 255);

        v.ownerEntry = Rc4Crypt(Md5Of(owner, 5), user);

        Bytes input = user;
        Append(input, v.ownerEntry);
        Append(input, permissionBytes);
        Append(input, fileId);
        v.fileKey = Md5Of(input, 5);
        v.userEntry = Rc4Crypt(v.fileKey, PasswordPadding());
    }
    v.permissions = static_cast<std::int32_t>(std::uint32_t(permissionBytes[0]) | std::uint32_t(permissionBytes[1]) << 8 |
                                              std::uint32_t(permissionBytes[2]) << 16 |
                                              std::uint32_t(permissionBytes[3]) << 24);
    return v;
}

Bytes ObjectKeyFor(const Bytes& fileKey, std::int32_t objectNumber, int keyLength)
{
    Bytes input = fileKey;
    const std::uint32_t n = std::uint32_t(objectNumber) & 0xFFFFFF;
    input.push_back(std::uint8_t(n & 255));
    input.push_back(std::uint8_t((n >> 8) & 255));
    input.push_back(std::uint8_t((n >> 16) & 255));
    input.push_back(0);
    input.push_back(0);
    return Md5Of(input, static_cast<std::size_t>(keyLength));
}

} // namespace tavlo
