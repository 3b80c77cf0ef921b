#pragma once
// The document's information dictionary and metadata. Abort takes the author, creator and
// producer from the host's default author and the creation date from the clock and DocDate.

#include <string>

namespace tavlo {

struct DocumentInfo {
    std::string InfoTitle = "(senza titolo)";
    std::string InfoSubject, InfoKeywords, InfoAuthor, InfoCreator, InfoProducer;
    std::string CreationDate;
};

} // namespace tavlo
