#include "pdf/Tavlo.h"

#include "pdf/core/AsciiCase.h"
#include "pdf/core/TavloState.h"
#include "pdf/core/InputFile.h"
#include "pdf/media/source/SourceSummary.h"

#include <filesystem>

namespace tavlo {

std::int32_t Tavlo::GetInfo(const std::string& fileName, std::string& pdfTitle, std::string& pdfSubject,
                            std::string& pdfAuthor, std::int16_t& pdfEncrypted)
{
    TavloState& s = *s_;
    // A file gone since it was read is missing, whatever its record says.
    std::error_code ignored;
    if (!std::filesystem::exists(fileName, ignored)) {
        CaptureError("GetInfo", fileName, TavloError(ErrorCode::FileNotFound));
        s.CurrentSource = 0;
        return 0;
    }
    const std::string key = AsciiUpper(fileName);
    std::int32_t index = 0;
    for (std::int32_t n = 1; n <= s.SourceCount && index == 0; ++n)
        if (s.Sources[n - 1].Path == key)
            index = n;
    if (index == 0) {
        // A file the reader refuses gets no record: the next new file takes its place.
        try {
            const Bytes bytes = ReadWholeFile(fileName, source::kMaxSourceFileSize, "file PDF troppo grande");
            const source::SourceSummary summary =
                source::ReadSourceSummary(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
            SourceEntry entry;
            entry.VersionNeed = summary.versionNeed;
            entry.Path = key;
            entry.OpenPath = fileName;
            entry.PageCount = CheckedInt32(static_cast<std::int64_t>(summary.pages.size()));
            for (const source::PageLocation& page : summary.pages) {
                SourcePage& added = entry.Pages.emplace_back();
                added.ObjectNumber = page.object.number;
                added.Generation = page.object.generation;
                added.KidPath = page.kids;
            }
            entry.Title = summary.title;
            entry.Author = summary.author;
            entry.Creator = summary.creator;
            entry.Producer = summary.producer;
            entry.Subject = summary.subject;
            s.Sources.push_back(std::move(entry));
            index = ++s.SourceCount;
        } catch (const std::exception& error) {
            CaptureError("GetInfo", fileName, error);
            s.CurrentSource = 0;
            return 0;
        }
    }
    s.CurrentSource = index;
    const SourceEntry& entry = s.Sources[static_cast<std::size_t>(index - 1)];
    pdfTitle = entry.Title;
    pdfSubject = entry.Subject;
    pdfAuthor = entry.Author;
    pdfEncrypted = entry.IsEncrypted;
    return entry.PageCount;
}

} // namespace tavlo
