#pragma once
// A parsed value written back as object syntax for the output file: references through
// the caller's renumbering, strings through the caller's encoder (which encrypts them under
// the key of the object they are written in), everything else as the source wrote it.

#include "pdf/media/source/PdfValue.h"

#include <functional>
#include <string>
#include <string_view>

namespace tavlo::source {

struct ValueWriter {
    // The text that replaces a reference: "n 0 R" for its copy, or "null".
    std::function<std::string(ObjectId)> reference;
    // The token of a string's bytes, delimiters included.
    std::function<std::string(std::string_view)> string;

    std::string Write(const PdfValue& value) const;
    // A dictionary without one of its keys and with entries of the caller's added at its
    // end (a stream's length, which the copy states afresh).
    std::string WriteDictionary(const PdfValue& dictionary, std::string_view skippedKey = {},
                                std::string_view addedEntries = {}) const;

private:
    void Append(std::string& out, const PdfValue& value) const;
};

} // namespace tavlo::source
