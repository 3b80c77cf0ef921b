#include "pdf/media/JpegScanner.h"

#include <cstring>

namespace tavlo {

namespace {

bool IsFrameMarker(std::uint8_t code)
{
    return code >= 0xC0 && code <= 0xCF && code != 0xC4 && code != 0xC8 && code != 0xCC;
}

std::uint32_t BigEndian16(const Bytes& file, std::size_t at)
{
    return std::uint32_t{file[at]} << 8 | file[at + 1];
}

} // namespace

RasterImage ScanJpeg(const Bytes& file)
{
    const std::size_t n = file.size();
    std::size_t at = 0;
    while (at + 10 < n && !(file[at] == 0xFF && file[at + 1] == 0xD8 && file[at + 2] == 0xFF))
        ++at;
    if (at + 10 >= n)
        InvalidImage("non è un file JPEG");
    at += 2;

    std::size_t frame = 0, scans = 0;
    bool adobe = false, ended = false;
    // Every marker to the end of the image, through the scan data: a file cut short would
    // be embedded as a picture no reader decodes. The Adobe marker may follow the frame header.
    while (at + 1 < n) {
        if (file[at] != 0xFF || file[at + 1] == 0xFF) {
            ++at;
            continue;
        }
        const std::uint8_t code = file[at + 1];
        if (code == 0xD9) {
            ended = true;
            break;
        }
        // A stuffed 0xFF of the scan data, and the markers without a segment.
        if (code == 0x00 || code == 0x01 || (code >= 0xD0 && code <= 0xD8)) {
            at += 2;
            continue;
        }
        if (at + 4 > n)
            break;
        const std::uint32_t length = BigEndian16(file, at + 2);
        if (length < 2 || (IsFrameMarker(code) && length < 8))
            InvalidImage("segmento JPEG non valido");
        if (at + 2 + length > n)
            break;
        if (IsFrameMarker(code) && frame == 0)
            frame = at + 1;
        if (code == 0xEE && length >= 12 && std::memcmp(&file[at + 4], "Adobe", 5) == 0)
            adobe = true;
        scans += code == 0xDA;
        at += 2 + length;
    }
    if (frame == 0)
        InvalidImage("intestazione JPEG mancante");
    if (scans == 0 || !ended)
        InvalidImage("JPEG troncato: i dati finiscono prima della fine dell'immagine");
    // frame + 8 lies within the frame header's segment, at least 8 bytes long.
    const std::uint32_t precision = file[frame + 3];
    const std::uint32_t height = BigEndian16(file, frame + 4), width = BigEndian16(file, frame + 6);
    const std::uint32_t components = file[frame + 8];
    if (precision != 8)
        InvalidImage("JPEG a " + std::to_string(precision) + " bit");
    if (width == 0 || height == 0)
        InvalidImage("dimensioni non valide");
    RasterImage out;
    switch (components) {
    case 1: out.colourSpace = "DeviceGray"; break;
    case 3: out.colourSpace = "DeviceRGB"; break;
    case 4: out.colourSpace = "DeviceCMYK"; break;
    default: InvalidImage("JPEG con " + std::to_string(components) + " componenti");
    }
    // Adobe's programs store CMYK inverted and mark it so.
    if (components == 4 && adobe)
        out.decode = "1 0 1 0 1 0 1 0";
    out.width = static_cast<std::int32_t>(width);
    out.height = static_cast<std::int32_t>(height);
    out.bits = static_cast<std::uint8_t>(components * 8);
    out.samples = file;
    return out;
}

} // namespace tavlo
