#pragma once
// An existing PDF file read from its bytes: the header's version, the classic
// cross-reference tables along their /Prev chain, the trailer's /Root and /Info, and the
// objects with their stream data. The bytes stay the caller's and must outlive this.
//
// Refused with the invalid-format error and a reason: a file without a header or
// startxref, cross-reference streams (and so object streams, which only they can list),
// encrypted files, and anything cut off or malformed where it is needed. A reference to an
// object the tables do not list, or list as free, is the null object, as in PDF itself.

#include "pdf/media/source/PdfValue.h"

#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <string_view>

namespace tavlo::source {

// The largest source file read: it is held in memory whole while it is read.
constexpr std::uintmax_t kMaxSourceFileSize = std::uintmax_t{1} << 29;

// Incremental updates seldom number more than a handful; a chain longer than this is taken
// for a forged one.
constexpr int kMaxXrefSections = 4096;

struct IndirectObject {
    PdfValue value;
    bool hasStream = false;
    std::string_view stream;  // the data as stored (still encoded), a view into the file's bytes
};

class SourceDocument {
public:
    explicit SourceDocument(std::string_view bytes);

    // The header's minor version minus 3 ("%PDF-1.5" gives 2); PDF 2.0 counts as 1.7.
    std::int32_t VersionNeed() const { return versionNeed_; }
    // The newest trailer's /Root and /Info along the chain; number 0 when absent.
    ObjectId Root() const { return root_; }
    ObjectId Info() const { return info_; }

    // The object, or nothing when the file does not hold it.
    std::optional<IndirectObject> Load(ObjectId id) const;
    // A direct value as it is; a reference as the value it names (null when missing).
    PdfValue Resolve(const PdfValue& value) const;

private:
    void ReadHeader();
    std::size_t StartXref() const;
    void ReadXrefChain(std::size_t offset);
    PdfValue ReadXrefSection(std::size_t offset);
    // Where the object's value begins when "number generation obj" stands at offset.
    std::optional<std::size_t> BodyAt(std::size_t offset, ObjectId id) const;
    std::optional<std::size_t> FindBody(ObjectId id) const;
    std::string_view StreamData(const PdfValue& dictionary, std::size_t afterKeyword) const;
    std::optional<std::int64_t> StreamLength(const PdfValue& dictionary) const;

    struct XrefEntry {
        std::int64_t offset = 0;
        std::int32_t generation = 0;
        bool inUse = false;
    };

    std::string_view data_;
    std::int32_t versionNeed_ = 0;
    ObjectId root_, info_;
    std::map<std::int32_t, XrefEntry> xref_;
    // Every "n g obj" of the file, built the first time an entry does not point at its
    // object (an offset of 0, a table off by a few bytes).
    mutable std::optional<std::map<ObjectId, std::size_t>> headers_;
};

} // namespace tavlo::source
