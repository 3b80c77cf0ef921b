#include "pdf/media/source/SourceSummary.h"

#include "pdf/core/Windows1252.h"

namespace tavlo::source {

SourceSummary ReadSourceSummary(std::string_view bytes)
{
    const SourceDocument document(bytes);
    SourceSummary summary;
    summary.versionNeed = document.VersionNeed();
    if (const auto object = document.Load(document.Info())) {
        const PdfValue& info = object->value;
        auto text = [&](const char* key) {
            const PdfValue value = info.Get(key) ? document.Resolve(*info.Get(key)) : PdfValue();
            return value.Is(ValueKind::String) ? Windows1252FromPdfText(value.text) : std::string();
        };
        summary.title = text("Title");
        summary.author = text("Author");
        summary.creator = text("Creator");
        summary.producer = text("Producer");
        summary.subject = text("Subject");
    }
    summary.pages = WalkPageTree(document);
    return summary;
}

} // namespace tavlo::source
