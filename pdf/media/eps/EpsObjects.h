#pragma once
// A PDF carried in PostScript, as Ghostscript's EPS writer makes it: the drawing holds PDF
// objects ("4 0 obj << ... >> endobj") that the file's own reader draws. Only the content
// stream a page names (/Contents) is played, as a content stream; the data of other streams
// (fonts, pictures) is passed over, and a compressed content stream refuses the file.

#include "pdf/media/eps/EpsInterpreter.h"
#include "pdf/media/eps/EpsPlayback.h"
#include "pdf/media/eps/EpsTokens.h"

#include <cstdint>
#include <set>
#include <vector>

namespace tavlo {

class EpsObjects {
public:
    EpsObjects(EpsPlayback& playback, std::uint64_t budget);
    // The drawing's next token; tokens gives the data of a stream that is not played.
    void Take(const EpsToken& token, EpsTokenizer& tokens);
    // The first object, whose number and generation came before its "obj".
    void Begin(std::int64_t number);

private:
    EpsInterpreter content_;
    std::set<std::int64_t> contents_;  // the objects pages name as their content
    std::vector<std::int64_t> integers_;  // the last read, for "N G obj" and "N G R"
    std::int64_t object_ = -1;
    bool filter_ = false, contentsKey_ = false, inArray_ = false, inStream_ = false;
};

} // namespace tavlo
