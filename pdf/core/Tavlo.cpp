#include "pdf/Tavlo.h"

#include "pdf/core/CreationDate.h"
#include "pdf/core/TavloState.h"

#include <ctime>
#include <utility>

namespace tavlo {

namespace {

std::function<std::string()>& DefaultAuthorSource()
{
    static std::function<std::string()> source;
    return source;
}

constexpr const char* kVersion = "2.4.8";

} // namespace

Tavlo::Tavlo() : s_(std::make_unique<TavloState>())
{
    Abort();
}

Tavlo::~Tavlo() = default;

void Tavlo::SetDefaultAuthorSource(std::function<std::string()> source)
{
    DefaultAuthorSource() = std::move(source);
}

void Tavlo::Abort()
{
    TavloState& s = *s_;
    // Whatever was written stays on disk as it is.
    s.file.Close();

    s.Encrypted = false;
    s.rc4.Forget();
    s.FileName.clear();
    s.FileLength = 0;
    s.MemoryUsage = 1;
    s.VersionBump = 0;
    s.Compression = 0;
    s.ViewerPreferences = 0;
    s.ObjectsWritten = false;

    s.InfoTitle = "(senza titolo)";
    s.InfoSubject.clear();
    s.InfoKeywords.clear();
    s.CreationDate = CreationDateText(std::time(nullptr), DocDate);
    const std::string author = DefaultAuthorSource() ? DefaultAuthorSource()() : std::string();
    s.InfoAuthor = author;
    s.InfoCreator = author;
    s.InfoProducer = author;

    s.Scale = 1;
    s.PageWidth = 596;
    s.PageHeight = 842;

    s.DefaultRotation = 0;
    s.PageRotation = 0;
    s.MarginLeft = s.MarginRight = s.MarginTop = s.MarginBottom = 0;
    s.ClipToMargins = false;
    s.ColorLocked = s.InTiling = s.InObject = s.InPage = false;
    s.PageAnnots.clear();
    s.PageLabels.clear();
    s.PageCount = 0;

    s.FillColor = "#FFFFFF";
    s.LineColor = "#000000";
    s.TextColor = "#000000";
    s.CurrentX = s.CurrentY = s.CharSpacing = s.WordSpacing = 0;
    s.HorizontalScaling = 100;
    s.LineSpacing = 1.0;
    s.CompressionLevel = 0;

    for (auto& script : s.DocScripts)
        script.clear();
    s.FieldRefs.clear();
    s.CalcOrder.clear();
    s.ExtGStates.clear();
    s.Patterns.clear();
    s.FieldCount = 0;
    s.LastErrNumber = 0;

    s.LastObjectNumber = 0;
    s.RecordedCount = s.CurrentFont = s.BookmarkCount = s.SourceCount = s.CurrentSource = 0;
    s.ImageCount = s.StateDepth = s.DestinationCount = s.LayerCount = 0;
    s.XObjectResources.clear();
    s.FontResources.clear();
    s.ImageResources.clear();

    s.XrefEntries.assign(1, std::string());
    // The match index of the Flate encoder is large; a new document starts without it.
    s.flate = deflate::FlateWorkspace();

    // Fonts, outline (with its root entry), layers, recorded objects, pages of the last document.
    ResetDocumentTables();
}

void Tavlo::SetMemoryUsage(std::int32_t level)
{
    // The level is a byte: a negative one cannot be stored.
    if (level < 0)
        throw TavloError(ErrorCode::Overflow);
    if (level < 11)
        s_->MemoryUsage = level;
}

std::string Tavlo::Version() const
{
    return kVersion;
}

std::int32_t Tavlo::FileSize() const
{
    if (s_->file.IsOpen())
        return CheckedInt32(s_->file.Position());
    return s_->FileLength;
}

} // namespace tavlo
