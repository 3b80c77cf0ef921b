#pragma once
// What importing a page writes, worked out before anything is written: the form's content
// and resources and every object they need, renumbered into the output. Nothing here
// writes; a damaged source raises the invalid-format error before the first object exists.
//
// Numbers are handed out when a reference is first met, before the object it names is
// read, so objects that refer to each other in a circle are copied once each. Objects
// copied by an earlier import of the same source keep their numbers. Page and page-tree
// objects reached from the resources are copied as null: they would bring the whole
// document along.

#include "pdf/media/source/PageTree.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace tavlo::source {

struct CopiedObject {
    std::int32_t number = 0;
    std::string value;  // written with the output's numbers and string encoding
    bool hasStream = false;
    std::string_view stream;  // into the source's bytes; its length is stated in value
};

struct PageCopy {
    PageGeometry geometry;
    std::string resources;  // the form's /Resources value
    // Content kept as stored: its /Filter and /DecodeParms entries; empty for plain data.
    std::string filterEntries;
    std::string content;
    std::vector<CopiedObject> objects;                      // in the order found
    std::vector<std::pair<ObjectId, std::int32_t>> copied;  // source object, its new number
};

struct CopyNumbering {
    // The number an earlier import gave the object, 0 when none did.
    std::function<std::int32_t(ObjectId)> earlier;
    // The form takes this number, the objects copied the ones after it.
    std::int32_t formNumber = 0;
    // The string token of bytes written inside object `number` (the output may encrypt it
    // under that object's key).
    std::function<std::string(std::int32_t number, std::string_view bytes)> string;
};

// Page contents given as several streams are decoded and joined with line feeds, so the
// form holds one stream; only Flate and unfiltered pieces can be joined, and the joined
// content is held to the inflate decoder's output cap.
PageCopy CopyPage(const SourceDocument& document, const PageLocation& page, const CopyNumbering& numbering);

} // namespace tavlo::source
