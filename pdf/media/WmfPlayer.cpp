#include "pdf/core/PdfFormat.h"
#include "pdf/media/VectorPictures.h"

#include <cmath>
#include <cstdlib>
#include <set>
#include <vector>

namespace tavlo {

namespace {

constexpr std::uint32_t kPlaceableKey = 0x9AC6CDD7;

enum Function : std::uint16_t {
    kEof = 0x0000,
    kSetWindowOrg = 0x020B,
    kSetWindowExt = 0x020C,
    kSetPolyFillMode = 0x0106,
    kCreatePen = 0x02FA,
    kCreateBrush = 0x02FC,
    kDeleteObject = 0x01F0,
    kSelectObject = 0x012D,
    kPolyline = 0x0325,
    kPolygon = 0x0324,
    kPolyPolygon = 0x0538,
};

bool CreatesOtherObject(std::uint16_t function)
{
    switch (function) {
    case 0x00F7: case 0x00F8: case 0x01F9: case 0x0142: case 0x02FB: case 0x02FD: case 0x06FE: case 0x06FF:
        return true;
    default:
        return false;
    }
}

struct WmfObject {
    char kind = 'D';  // P pen, B brush, D anything else
    std::int32_t style = 0;
    std::uint16_t width = 0;
    std::uint8_t red = 0, green = 0, blue = 0;
};

std::uint16_t U16(const Bytes& file, std::size_t at)
{
    return static_cast<std::uint16_t>(file[at] | file[at + 1] << 8);
}

std::uint32_t U32(const Bytes& file, std::size_t at)
{
    return U16(file, at) | std::uint32_t{U16(file, at + 2)} << 16;
}

// The parameter words of one record, each read only within the record.
struct Record {
    const Bytes& file;
    std::size_t params, bytes;

    std::uint16_t Word(std::size_t i) const
    {
        if (2 * i + 2 > bytes)
            throw TavloError(ErrorCode::SubscriptOutOfRange);
        return U16(file, params + 2 * i);
    }
    std::int16_t Signed(std::size_t i) const { return static_cast<std::int16_t>(Word(i)); }
    // Style, fill-mode and index words are 16-bit signed values to the players of this
    // format: one with its top bit set overflows.
    std::int32_t Small(std::size_t i) const
    {
        if (Word(i) >= 0x8000)
            throw TavloError(ErrorCode::Overflow);
        return Word(i);
    }
    std::uint8_t Byte(std::size_t i) const
    {
        if (i >= bytes)
            throw TavloError(ErrorCode::SubscriptOutOfRange);
        return file[params + i];
    }
};

class Player {
public:
    Player(const Bytes& file, const VectorPlacement& place) : file_(file), place_(place) {}
    VectorDrawing Play();

private:
    void PlayRecord(std::uint16_t function, const Record& r, VectorDrawing& out);
    std::string Transformation() const;
    WmfObject& Object(const Record& r);
    void Path(const Record& r, std::size_t first, std::size_t count, VectorDrawing& out) const;

    const Bytes& file_;
    VectorPlacement place_;
    bool placeable_ = false;
    std::int16_t left_ = 0, top_ = 0, right_ = 0, bottom_ = 0;
    std::uint16_t unitsPerInch_ = 0;
    std::vector<WmfObject> objects_;
    std::set<std::size_t> freeSlots_;  // deleted slots, lowest first, without scanning the table
    bool drawingBegun_ = false, originSeen_ = false, extentSeen_ = false;
    std::int16_t ox_ = 0, oy_ = 0, ex_ = 0, ey_ = 0;
    std::string transformation_;
    bool nullPen_ = false, nullBrush_ = false;
    // A device context starts in alternate (even-odd) mode: a metafile that says nothing means it.
    std::int32_t fillMode_ = 1;
};

VectorDrawing Player::Play()
{
    VectorDrawing drawing;
    placeable_ = file_.size() >= 4 && U32(file_, 0) == kPlaceableKey;
    std::size_t at = placeable_ ? 40 : 18;
    if (file_.size() < at) {
        drawing.error = TavloError(ErrorCode::InvalidFileFormat,
                                   TavloError::StandardDescription(ErrorCode::InvalidFileFormat) +
                                       ": intestazione del metafile troncata");
        return drawing;
    }
    if (placeable_) {
        left_ = static_cast<std::int16_t>(U16(file_, 6));
        top_ = static_cast<std::int16_t>(U16(file_, 8));
        right_ = static_cast<std::int16_t>(U16(file_, 10));
        bottom_ = static_cast<std::int16_t>(U16(file_, 12));
        unitsPerInch_ = U16(file_, 14);
    }
    drawing.Add("q");
    while (at + 6 <= file_.size()) {
        const std::uint32_t size = U32(file_, at);
        const std::uint16_t function = U16(file_, at + 4);
        // A size below the record's own head cannot lead to the next record.
        if (size < 3) {
            drawing.error = TavloError(ErrorCode::InvalidFileFormat,
                                       TavloError::StandardDescription(ErrorCode::InvalidFileFormat) +
                                           ": record del metafile non valido");
            break;
        }
        if (2 * std::uint64_t{size} > file_.size() - at) {
            drawing.error = TavloError(ErrorCode::InputPastEndOfFile);
            break;
        }
        const Record record{file_, at + 6, 2 * std::size_t{size} - 6};
        at += 2 * std::size_t{size};
        if (size >= 0x8000 || function >= 0x8000) {
            drawing.error = TavloError(ErrorCode::Overflow);
            continue;
        }
        if (function == kEof)
            break;
        if (!drawingBegun_ && originSeen_ && extentSeen_) {
            originSeen_ = extentSeen_ = false;
            try {
                transformation_ = Transformation();
            } catch (const TavloError& error) {
                // Without a window to map from, nothing can be placed where it belongs.
                drawing.error = error;
                drawing.lines.clear();
                return drawing;
            }
        }
        // A failing record writes none of its lines; playback goes on with the next one.
        VectorDrawing played;
        try {
            if (function == kSelectObject || function == kPolyline || function == kPolygon ||
                function == kPolyPolygon) {
                if (!drawingBegun_ && !transformation_.empty())
                    played.Add(transformation_);
                drawingBegun_ = true;
            }
            PlayRecord(function, record, played);
        } catch (const TavloError& error) {
            drawing.error = error;
            continue;
        }
        if (!played.lines.empty())
            drawing.Add(played.lines);
    }
    drawing.Add("Q");
    return drawing;
}

std::string Player::Transformation() const
{
    if (ex_ == 0 || ey_ == 0)
        throw TavloError(ErrorCode::DivisionByZero);
    const double scale = place_.scale;
    float w = place_.width, h = place_.height;
    if (w == 0 && h == 0) {
        if (placeable_ && unitsPerInch_ != 0 && right_ != left_ && bottom_ != top_) {
            // The picture's own size: its bounds in metafile units over the units per inch.
            w = static_cast<float>(std::abs(right_ - left_) * 72.0 / unitsPerInch_ / scale);
            h = static_cast<float>(std::abs(bottom_ - top_) * 72.0 / unitsPerInch_ / scale);
        } else {
            w = static_cast<float>(std::abs(ex_) * 20.0 / (72 * scale));
            h = static_cast<float>(std::abs(ey_) * 20.0 / (72 * scale));
        }
    } else if (w == 0) {
        w = static_cast<float>(std::abs(ex_) * static_cast<double>(h) / std::abs(ey_));
    } else if (h == 0) {
        h = static_cast<float>(std::abs(ey_) * static_cast<double>(w) / std::abs(ex_));
    }
    const double sx = w * scale / ex_, sy = h * scale / ey_;
    return PdfNumber(sx) + " 0 0 " + PdfNumber(sy) + " " + PdfScaledNumber(place_.x, scale) + " " +
           PdfScaledNumber(place_.y, scale) + " cm\r1 0 0 1 " + PdfNumber(-ox_) + " " + PdfNumber(-oy_) + " cm";
}

WmfObject& Player::Object(const Record& r)
{
    const std::int32_t index = r.Small(0);
    if (index > 32766)
        throw TavloError(ErrorCode::Overflow);
    if (static_cast<std::size_t>(index) >= objects_.size())
        throw TavloError(ErrorCode::SubscriptOutOfRange);
    return objects_[static_cast<std::size_t>(index)];
}

// The points of a polygon or polyline, last to first; count is bounded by the record.
void Player::Path(const Record& r, std::size_t first, std::size_t count, VectorDrawing& out) const
{
    for (std::size_t i = count; i-- > 0;)
        out.Add(PdfNumber(r.Signed(first + 2 * i)) + " " + PdfNumber(r.Signed(first + 2 * i + 1)) +
                      (i + 1 == count ? " m" : " l"));
}

void Player::PlayRecord(std::uint16_t function, const Record& r, VectorDrawing& out)
{
    auto paint = [&] {
        const char* even = fillMode_ == 1 ? "*" : "";
        if (nullPen_ && nullBrush_)
            out.Add("n");
        else if (nullPen_)
            out.Add(std::string("f") + even);
        else if (nullBrush_)
            out.Add("s");
        else
            out.Add(std::string("b") + even);
    };
    auto newSlot = [&]() -> WmfObject& {
        if (freeSlots_.empty())
            return objects_.emplace_back();
        const std::size_t slot = *freeSlots_.begin();
        freeSlots_.erase(freeSlots_.begin());
        return objects_[slot] = WmfObject{};
    };
    switch (function) {
    case kSetWindowOrg:
    case kSetWindowExt:
        if (drawingBegun_)
            return;
        (function == kSetWindowOrg ? oy_ : ey_) = r.Signed(0);
        (function == kSetWindowOrg ? ox_ : ex_) = r.Signed(1);
        (function == kSetWindowOrg ? originSeen_ : extentSeen_) = true;
        return;
    case kSetPolyFillMode:
        fillMode_ = r.Small(0);
        return;
    case kCreatePen: {
        const WmfObject pen{'P', r.Small(0), r.Word(1), r.Byte(6), r.Byte(7), r.Byte(8)};
        newSlot() = pen;
        return;
    }
    case kCreateBrush: {
        const WmfObject brush{'B', r.Small(0), 0, r.Byte(2), r.Byte(3), r.Byte(4)};
        newSlot() = brush;
        return;
    }
    case kDeleteObject:
        Object(r);  // an index with no slot is an error
        freeSlots_.insert(static_cast<std::size_t>(r.Word(0)));
        return;
    case kSelectObject: {
        const WmfObject& object = Object(r);
        if (object.kind == 'P') {
            nullPen_ = object.style == 5;
            if (nullPen_)
                return;
            static const char* const kDashes[] = {"[ ] 0 d", "[3 1] 0 d", "[0.5 0.5] 0 d", "[2 1 0.5 1] 0 d",
                                                  "[2 1 0.5 1 0.5 1] 0 d"};
            if (object.style >= 0 && object.style < 5)
                out.Add(kDashes[object.style]);
            out.Add(PdfColorComponent(object.red) + " " + PdfColorComponent(object.green) + " " +
                          PdfColorComponent(object.blue) + " RG");
            // In metafile units, like the points: the transformation scales it.
            out.Add(PdfNumber(object.width) + " w");
        } else if (object.kind == 'B') {
            nullBrush_ = object.style == 1;
            if (!nullBrush_)
                out.Add(PdfColorComponent(object.red) + " " + PdfColorComponent(object.green) + " " +
                              PdfColorComponent(object.blue) + " rg");
        }
        return;
    }
    case kPolyline:
    case kPolygon: {
        const std::size_t count = r.Word(0);
        if (count == 0)
            return;
        r.Word(2 * count);  // the last point lies within the record
        Path(r, 1, count, out);
        if (function == kPolygon)
            paint();
        else
            out.Add(nullPen_ ? "n" : "S");
        return;
    }
    case kPolyPolygon: {
        const std::size_t polygons = r.Word(0);
        std::size_t points = 0;
        for (std::size_t i = 1; i <= polygons; ++i)
            points += r.Word(i);
        if (points == 0)
            return;
        r.Word(polygons + 2 * points);
        std::size_t first = 1 + polygons;
        for (std::size_t i = 1; i <= polygons; ++i) {
            const std::size_t count = r.Word(i);
            if (count == 0)
                continue;
            Path(r, first, count, out);
            first += 2 * count;
            // Each polygon is closed, not only the last one the paint operator closes.
            out.Add("h");
        }
        paint();
        return;
    }
    default:
        if (CreatesOtherObject(function))
            newSlot() = WmfObject{};
        return;
    }
}

} // namespace

VectorDrawing PlayWmfData(const Bytes& file, const VectorPlacement& place)
{
    return Player(file, place).Play();
}

} // namespace tavlo
