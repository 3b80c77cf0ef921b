#include "pdf/Tavlo.h"

#include "pdf/core/SecurityHandler.h"
#include "pdf/core/TavloState.h"

namespace tavlo {

namespace {

bool IsBlank(const std::string& text)
{
    return text.find_first_not_of(' ') == std::string::npos;
}

} // namespace

void Tavlo::SetProtection(std::int32_t flags, const std::string& ownerPassword, const std::string& userPassword)
try {
    TavloState& s = *s_;
    // Objects already in the file would stay in clear under a dictionary that tells readers
    // to decrypt everything.
    if (s.ObjectsWritten)
        throw TavloError(ErrorCode::InvalidArgument,
                         "Protezione non applicabile: il documento contiene già oggetti scritti");

    const std::string& owner = IsBlank(ownerPassword) ? userPassword : ownerPassword;
    const std::string fileId = s.InfoProducer + Version();
    const SecurityValues values = ComputeSecurity(flags, owner, userPassword, BytesOf(fileId));

    s.Encrypted = true;
    s.FileId = fileId;
    s.KeyLength = values.objectKeyLength;
    s.OwnerEntry = values.ownerEntry;
    s.UserEntry = values.userEntry;
    s.FileKey = values.fileKey;
    s.Permissions = values.permissions;
    if (values.revision == 3)
        RequireVersion(1);
} catch (...) {
    RaiseRecorded("SetProtection");
}

Bytes Tavlo::ObjectKey(std::int32_t& objectNumber)
{
    if (objectNumber == 0)
        objectNumber = s_->CurrentObject;
    return ObjectKeyFor(s_->FileKey, objectNumber, s_->KeyLength);
}

Bytes Tavlo::Rc4Crypt(const Bytes& key, const Bytes& data)
{
    return s_->rc4.Crypt(key, data);
}

void Tavlo::EncryptStreamData(Bytes& data, std::int32_t objectNumber)
{
    if (!s_->Encrypted)
        return;
    data = Rc4Crypt(ObjectKey(objectNumber), data);
}

} // namespace tavlo
