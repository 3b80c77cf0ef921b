#pragma once
// Reaches the writer's internal members and state from the tests.

#include "pdf/Tavlo.h"
#include "pdf/core/TavloState.h"

namespace tavlo {

class TavloTestPeer {
public:
    explicit TavloTestPeer(Tavlo& t) : t_(t) {}
    TavloState& State() { return *t_.s_; }
    void PutLine(std::string_view line) { t_.PutLine(line); }
    void PutContent(std::string_view line) { t_.PutContent(line); }
    std::string MakeTextString(std::string_view value) { return t_.MakeTextString(value); }
    std::string PdfScaledNumber(double value) { return t_.PdfScaledNumber(value); }
    void RequireVersion(std::int32_t increment) { t_.RequireVersion(increment); }
    Bytes ObjectKey(std::int32_t& n) { return t_.ObjectKey(n); }
    Bytes Rc4Crypt(const Bytes& key, const Bytes& data) { return t_.Rc4Crypt(key, data); }
    void EncryptStreamData(Bytes& data, std::int32_t n) { t_.EncryptStreamData(data, n); }
    EncodedStream EncodeStreamData(Bytes data, const std::string& preset) { return t_.EncodeStreamData(data, preset); }
    double PageSpaceX(double x) { return t_.PageSpaceX(x); }
    double PageSpaceY(double y) { return t_.PageSpaceY(y); }
    void SetLastBox(double left, double top, double right, double bottom) { t_.SetLastBox(left, top, right, bottom); }
    void EmitTextLine(float x, float y, float width, const std::string& text, float indent, std::int32_t flags,
                      bool nextLine)
    {
        t_.EmitTextLine(x, y, width, text, indent, flags, nextLine);
    }
    std::string InflateData(const Bytes& data) { return t_.InflateData(data); }
    std::int32_t WriteFont(const std::string& resource, const Bytes& program, std::int32_t length,
                           const std::string& descriptor)
    {
        return t_.WriteFont(resource, program, length, descriptor);
    }
    std::int32_t WriteImageXObject(const std::string& kind, const Bytes& pixels, const Bytes& palette, std::int32_t width,
                                   std::int32_t height, std::uint8_t bits, const std::string& name,
                                   const std::string& space, const std::string& preset, const std::string& mask)
    {
        return t_.WriteImageXObject(kind, pixels, palette, width, height, bits, name, space, preset, mask);
    }
    void CaptureError(const std::string& member, const std::string& extra, const std::exception& e)
    {
        t_.CaptureError(member, extra, e);
    }

private:
    Tavlo& t_;
};

} // namespace tavlo
