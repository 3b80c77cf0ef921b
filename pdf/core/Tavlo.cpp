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
    // An unfinished document is dropped: the earlier file of its name stays as it was.
    s.file.Discard();
    // A new document: every part at its defaults, what lasts untouched (TavloState.h).
    Renew<DocumentState>(s);
    // What comes from outside: the date and the host's default author.
    s.CreationDate = CreationDateText(std::time(nullptr), DocDate);
    const std::string author = DefaultAuthorSource() ? DefaultAuthorSource()() : std::string();
    s.InfoAuthor = author;
    s.InfoCreator = author;
    s.InfoProducer = author;
    // The outline's root entry, titled like the document.
    AddBookmark(s.InfoTitle, 0, 0, 0, 0, 0, 0, 0, std::string(), 0);
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
