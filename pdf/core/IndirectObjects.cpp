#include "pdf/Tavlo.h"

#include "pdf/core/TavloState.h"

#include <cstdio>

namespace tavlo {

std::int32_t Tavlo::NewObj(std::int32_t& number)
{
    TavloState& s = *s_;
    // An object needs its offset in the open file; numbers handed out before BeginDoc
    // would be taken again by it.
    if (!s.file.IsOpen())
        throw TavloError(ErrorCode::BadFileNameOrNumber);
    if (number == 0)
        number = CheckedInt32(static_cast<std::int64_t>(s.LastObjectNumber) + 1);
    if (number > s.LastObjectNumber)
        s.LastObjectNumber = number;
    if (s.XrefEntries.size() <= static_cast<std::size_t>(s.LastObjectNumber))
        s.XrefEntries.resize(static_cast<std::size_t>(s.LastObjectNumber) + 1);

    const std::int32_t offset = CheckedInt32(s.file.Position());
    char entry[32];
    std::snprintf(entry, sizeof entry, "%010d 00000 n\r", offset);
    s.XrefEntries[static_cast<std::size_t>(number)] = entry;
    s.ObjectsWritten = true;

    PutLine(std::to_string(number) + " 0 obj");
    s.CurrentObject = number;
    return number;
}

std::int32_t Tavlo::NewObj()
{
    std::int32_t number = 0;
    return NewObj(number);
}

void Tavlo::EndObj()
{
    PutLine("endobj");
}

void Tavlo::WriteStream(Bytes& data, std::int32_t number, const std::string& presetFilters, std::int32_t length1)
{
    EncodedStream encoded = EncodeStreamData(std::move(data), presetFilters);
    EncryptStreamData(encoded.data, number);
    data = std::move(encoded.data);

    if (!encoded.filters.empty())
        PutLine("/Filter [" + encoded.filters + "]");
    if (length1 > 0)
        PutLine("/Length1 " + std::to_string(length1));
    // The data straight to the file: a picture's samples are not copied once more.
    s_->file.Write("/Length " + std::to_string(CheckedInt32(static_cast<std::int64_t>(data.size()))) + " >>\rstream\n");
    s_->file.Write(data);
    s_->file.Write(std::string_view("\nendstream\n"));
}

std::int32_t Tavlo::WriteTextStreamObject(const std::string& text)
{
    const std::int32_t n = NewObj();
    PutLine("<<");
    Bytes data = BytesOf(text);
    WriteStream(data, 0, "", 0);
    EndObj();
    return n;
}

} // namespace tavlo
