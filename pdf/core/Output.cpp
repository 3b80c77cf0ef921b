#include "pdf/Tavlo.h"

#include "pdf/core/PdfFormat.h"
#include "pdf/core/TavloState.h"

namespace tavlo {

void Tavlo::PutLine(std::string_view line)
{
    // A failed write is remembered by the file and reported when the document ends.
    std::string bytes;
    bytes.reserve(line.size() + 1);
    bytes.append(line);
    bytes.push_back('\n');
    s_->file.Write(bytes);
}

StringBuffer* Tavlo::ActiveContent()
{
    TavloState& s = *s_;
    return s.InObject ? &s.ObjectContent : s.InTiling ? &s.TilingContent : s.InPage ? &s.PageContent : nullptr;
}

void Tavlo::PutContent(std::string_view line)
{
    StringBuffer* target = ActiveContent();
    if (!target)
        return;
    target->AppendChar(13);
    target->Append(line);
}

std::string Tavlo::MakeTextString(std::string_view value)
{
    if (s_->Encrypted && !value.empty()) {
        std::int32_t current = 0;
        const Bytes encrypted = Rc4Crypt(ObjectKey(current), BytesOf(value));
        return "(" + EscapeString(TextOf(encrypted)) + ")";
    }
    return "(" + EscapeString(value) + ")";
}

std::string Tavlo::PdfScaledNumber(double value) const
{
    return tavlo::PdfScaledNumber(value, s_->Scale);
}

void Tavlo::RequireVersion(std::int32_t increment)
{
    if (increment > s_->VersionBump)
        s_->VersionBump = increment;
}

} // namespace tavlo
