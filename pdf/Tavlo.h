#pragma once
// Tavlo: a self-contained PDF writer. One instance writes one document at a time; every
// member shares the state held in TavloState (pdf/core/TavloState.h).
//
// Texts are std::string holding Windows-1252 bytes (the file's code page); binary values
// (keys, digests, streams) are tavlo::Bytes. Members that trap their own errors record them
// for ErrNumber/ErrSource/ErrDescription; every other member raises tavlo::TavloError.

#include "pdf/core/Bytes.h"
#include "pdf/core/StreamEncoding.h"
#include "pdf/core/TavloError.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace tavlo {

struct TavloState;

class Tavlo {
public:
    Tavlo();
    ~Tavlo();
    Tavlo(const Tavlo&) = delete;
    Tavlo& operator=(const Tavlo&) = delete;

    // The default author, creator and producer of every new document: the host sets it
    // (the application passes its current declarant's display name), empty otherwise.
    static void SetDefaultAuthorSource(std::function<std::string()> source);

    // State and errors
    void Abort();
    void SetMemoryUsage(std::int32_t level);
    std::string Version() const;
    std::int32_t ErrNumber() const;
    std::string ErrSource() const;
    std::string ErrDescription() const;
    std::int32_t FileSize() const;

    // Security: allowed only while no object of the document has been written.
    void SetProtection(std::int32_t flags, const std::string& ownerPassword, const std::string& userPassword);

    // Compression: flags are the tavlo::Filter bits, level 0..3 (higher becomes 3).
    void SetCompression(std::uint32_t flags, std::uint8_t level);
    // Replaces data by its zlib stream; lastIndex receives the index of its last byte.
    void zzToFlateDecode(Bytes& data, std::int32_t& lastIndex, std::uint8_t level);

    // "dd/mm/yyyy": the next Abort takes the date of the document from it.
    std::string DocDate;

private:
    friend class TavloTestPeer;

    // Errors
    void CaptureError(const std::string& member, const std::string& extra, const TavloError& error);
    void CaptureError(const std::string& member, const std::string& extra, const std::exception& error);

    // Output primitives
    void PutLine(std::string_view line);
    void PutContent(std::string_view line);
    std::string MakeTextString(std::string_view value);
    std::string PdfScaledNumber(double value) const;
    void RequireVersion(std::int32_t increment);

    // Security
    Bytes ObjectKey(std::int32_t& objectNumber);
    Bytes Rc4Crypt(const Bytes& key, const Bytes& data);
    // Encrypts stream data in place under the key of the object (0: the current one).
    void EncryptStreamData(Bytes& data, std::int32_t objectNumber);

    // Stream data through the chosen filters (not yet encrypted).
    EncodedStream EncodeStreamData(Bytes data, const std::string& presetFilters);

    std::unique_ptr<TavloState> s_;
};

} // namespace tavlo
