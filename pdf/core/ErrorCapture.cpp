#include "pdf/Tavlo.h"

#include "pdf/core/TavloState.h"
#include "pdf/core/Windows1252.h"

#include <new>

namespace tavlo {

std::int32_t Tavlo::ErrNumber() const
{
    return s_->LastErrNumber;
}

std::string Tavlo::ErrSource() const
{
    return s_->LastErrSource;
}

std::string Tavlo::ErrDescription() const
{
    return s_->LastErrDescription;
}

void Tavlo::CaptureError(const std::string& member, const std::string& extra, const TavloError& error)
{
    s_->LastErrNumber = error.Number();
    s_->LastErrSource = "Tavlo." + member;
    // Messages and file names are UTF-8 inside the writer; callers read its texts in Windows-1252.
    s_->LastErrDescription =
        Windows1252FromUtf8(extra.empty() ? error.Description() : error.Description() + " - " + extra);
}

void Tavlo::CaptureError(const std::string& member, const std::string& extra, const std::exception& error)
{
    if (const auto* own = dynamic_cast<const TavloError*>(&error)) {
        CaptureError(member, extra, *own);
        return;
    }
    constexpr std::int32_t kOutOfMemory = 7;
    if (dynamic_cast<const std::bad_alloc*>(&error))
        CaptureError(member, extra, TavloError(kOutOfMemory, "Memoria esaurita"));
    else
        CaptureError(member, extra, TavloError(ErrorCode::InvalidArgument, error.what()));
}

void Tavlo::RaiseRecorded(const char* member)
{
    try {
        throw;
    } catch (const TavloError& error) {
        if (error.Number() == ErrorCode::Overflow || error.Number() == ErrorCode::InvalidArgument)
            CaptureError(member, "", error);
        throw;
    }
}

} // namespace tavlo
