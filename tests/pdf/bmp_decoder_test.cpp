// The BMP reader on its own: compressed rows built by hand decode to the pixels ImageMagick
// reads from the same file, and mutated files (truncated, forged sizes, offsets and depths)
// end in the invalid-format error or in samples of the announced size, never elsewhere.

#include "pdf/bmp_fields.h"
#include "pdf/core/TavloError.h"
#include "pdf/media/BmpDecoder.h"
#include "support/pdf/images.h"
#include "support/pdf/tools.h"

#include <gtest/gtest.h>

#include <random>

using namespace tavlo;
using namespace tavlo::test;

namespace {

// A BMP with a 40-byte header, a palette of 2^bits grey-blue entries and the given rows.
std::string Bitmap(std::int32_t width, std::int32_t height, int bits, std::uint32_t compression, const Bytes& data)
{
    const std::uint32_t colours = bits <= 8 ? 1u << bits : 0;
    std::string bmp(54 + 4 * colours, '\0');
    bmp[0] = 'B';
    bmp[1] = 'M';
    SetField(bmp, 2, 4, static_cast<std::uint32_t>(bmp.size() + data.size()));
    SetField(bmp, 10, 4, static_cast<std::uint32_t>(bmp.size()));
    SetField(bmp, 14, 4, 40);
    SetField(bmp, 18, 4, static_cast<std::uint32_t>(width));
    SetField(bmp, 22, 4, static_cast<std::uint32_t>(height));
    SetField(bmp, 26, 2, 1);
    SetField(bmp, 28, 2, static_cast<std::uint32_t>(bits));
    SetField(bmp, 30, 4, compression);
    SetField(bmp, 34, 4, static_cast<std::uint32_t>(data.size()));
    for (std::uint32_t i = 0; i < colours; ++i) {
        bmp[54 + 4 * i] = static_cast<char>(200 - i * 7);  // blue
        bmp[55 + 4 * i] = static_cast<char>(i * 13);       // green
        bmp[56 + 4 * i] = static_cast<char>(i * 17 + 1);   // red
    }
    return bmp + TextOf(data);
}

// Decoded samples as 8-bit RGB, bottom row first.
std::string Rgb(const DecodedBmp& image)
{
    std::string rgb;
    if (image.bits == 24)
        return TextOf(image.samples);
    const std::size_t rowBytes = (static_cast<std::size_t>(image.width) * image.bits + 7) / 8;
    for (std::int32_t row = 0; row < image.height; ++row)
        for (std::int32_t col = 0; col < image.width; ++col) {
            const std::size_t bit = static_cast<std::size_t>(col) * image.bits;
            const std::uint8_t byte = image.samples[row * rowBytes + bit / 8];
            const int index = (byte >> (8 - image.bits - bit % 8)) & ((1 << image.bits) - 1);
            rgb.append(reinterpret_cast<const char*>(&image.palette[3 * index]), 3);
        }
    return rgb;
}

} // namespace

TEST(BmpDecoderTest, CompressedRowsDecodeAsImageMagickReadsThem)
{
    const ScratchDir dir;
    struct Case {
        const char* name;
        std::int32_t width, height;
        int bits;
        std::uint32_t compression;
        Bytes data;
    };
    const Case cases[] = {
        // A run, end of line; an odd absolute group with its padding byte; a run filling the
        // row; end of bitmap: the rows not reached stay index 0.
        {"rle8", 5, 4, 8, 1, {3, 0x41, 0, 0, 0, 3, 7, 8, 9, 0, 2, 5, 0, 0, 5, 11, 0, 1}},
        // A delta jumps right and up; the end of data without end of bitmap.
        {"delta", 6, 3, 8, 1, {2, 4, 0, 2, 2, 1, 1, 9, 0, 0, 6, 3}},
        // Runs alternate two nibbles; absolute groups of 3 and 5 indexes padded to 16 bits.
        {"rle4", 5, 3, 4, 2, {5, 0x12, 0, 0, 0, 3, 0x34, 0x50, 2, 0x77, 0, 0, 0, 5, 0x9A, 0xBC, 0xD0, 0, 0, 1}},
        {"rle4odd", 7, 2, 4, 2, {7, 0xF1, 0, 0, 4, 0x2E, 0, 3, 0x56, 0x70, 0, 1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string bmp = Bitmap(c.width, c.height, c.bits, c.compression, c.data);
        const std::string path = dir.File(std::string(c.name) + ".bmp");
        WriteFile(path, bmp);
        const std::string expected = RgbPixels(path, true);
        ASSERT_EQ(expected.size(), 3u * c.width * c.height) << "ImageMagick did not read it";
        const DecodedBmp image = DecodeBmp(BytesOf(bmp), "");
        EXPECT_EQ(image.width, c.width);
        EXPECT_EQ(image.height, c.height);
        EXPECT_EQ(image.bits, c.bits);
        EXPECT_TRUE(Rgb(image) == expected) << Hex(BytesOf(Rgb(image))) << "\n" << Hex(BytesOf(expected));
    }
}

TEST(BmpDecoderTest, DirectColourDepthsAndKeyColours)
{
    // Two pixels a row, rows padded to 4 bytes: (1, 2, 3) (4, 5, 6) over (7, 8, 9) (10, 11, 12).
    const Bytes rgb24 = {3, 2, 1, 6, 5, 4, 0, 0, 9, 8, 7, 12, 11, 10, 0, 0};
    const Bytes rgb32 = {3, 2, 1, 99, 6, 5, 4, 99, 9, 8, 7, 99, 12, 11, 10, 99};
    const std::string bottomFirst = TextOf(Bytes{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12});
    EXPECT_EQ(TextOf(DecodeBmp(BytesOf(Bitmap(2, 2, 24, 0, rgb24)), "").samples), bottomFirst);
    EXPECT_EQ(TextOf(DecodeBmp(BytesOf(Bitmap(2, 2, 32, 0, rgb32)), "").samples), bottomFirst);
    // 16 bits, 5-5-5: the top bit is not colour.
    const DecodedBmp grey = DecodeBmp(BytesOf(Bitmap(1, 1, 16, 0, {0xFF, 0xFF, 0, 0})), "#102030");
    EXPECT_EQ(TextOf(grey.samples), TextOf(Bytes{248, 248, 248}));
    EXPECT_EQ(grey.mask, "16 16 32 32 48 48 ");
    // Indexed: the last palette entry of the key colour wins; none matching, no mask.
    std::string bmp = Bitmap(4, 1, 8, 0, {5, 9, 1, 2});
    for (const int entry : {5, 9})
        for (int c = 0; c < 3; ++c)
            bmp[54 + 4 * entry + c] = static_cast<char>(c == 2 ? 255 : 0);
    EXPECT_EQ(DecodeBmp(BytesOf(bmp), "#FF0000").mask, "9 9 ");
    EXPECT_EQ(DecodeBmp(BytesOf(bmp), "#FE0000").mask, "");
    EXPECT_EQ(DecodeBmp(BytesOf(bmp), "").mask, "");
}

TEST(BmpDecoderTest, MutatedFilesRaiseOrKeepTheirSize)
{
    std::vector<std::string> seeds = {
        Bitmap(5, 3, 1, 0, RandomBytes(12, 1)),  Bitmap(7, 3, 4, 0, RandomBytes(12, 2)),
        Bitmap(6, 2, 8, 0, RandomBytes(16, 3)),  Bitmap(3, 2, 16, 0, RandomBytes(16, 4)),
        Bitmap(3, 3, 24, 0, RandomBytes(36, 5)), Bitmap(2, 2, 32, 0, RandomBytes(16, 6)),
        Bitmap(6, 3, 8, 1, {3, 1, 0, 3, 4, 5, 6, 0, 0, 0, 2, 1, 1, 2, 9, 0, 1}),
        Bitmap(5, 3, 4, 2, {5, 0x12, 0, 0, 0, 3, 0x34, 0x50, 0, 2, 1, 1, 0, 1}),
    };
    std::mt19937 random(20261206);
    int decoded = 0, refused = 0;
    for (const std::string& seed : seeds) {
        for (int round = 0; round < 1500; ++round) {
            std::string bmp = seed;
            const int changes = 1 + static_cast<int>(random() % 4);
            for (int i = 0; i < changes; ++i) {
                const std::size_t at = random() % bmp.size();
                switch (random() % 4) {
                case 0: bmp[at] = static_cast<char>(random()); break;
                case 1: bmp[at] = static_cast<char>(0xFF); break;
                case 2: bmp.resize(at); break;
                default: bmp[at] = static_cast<char>(bmp[at] ^ (1 << (random() % 8))); break;
                }
                if (bmp.empty())
                    break;
            }
            try {
                const DecodedBmp image = DecodeBmp(BytesOf(bmp), "#000000");
                ASSERT_GT(image.width, 0);
                ASSERT_GT(image.height, 0);
                const std::size_t rowBytes = image.bits == 24
                                                 ? 3u * image.width
                                                 : (static_cast<std::size_t>(image.width) * image.bits + 7) / 8;
                ASSERT_EQ(image.samples.size(), rowBytes * image.height);
                if (image.bits <= 8) {
                    ASSERT_EQ(image.palette.size(), 3u << image.bits);
                }
                ++decoded;
            } catch (const TavloError& error) {
                ASSERT_EQ(error.Number(), 321) << error.what();
                ++refused;
            }
        }
    }
    // Both roads taken: mutations are neither all harmless nor all fatal.
    EXPECT_GT(decoded, 100);
    EXPECT_GT(refused, 100);
}

TEST(BmpDecoderTest, ForgedSizesAreRefusedBeforeAllocating)
{
    // A few bytes claiming 2^31 - 1 square pixels, compressed or not.
    for (const std::uint32_t compression : {0u, 1u}) {
        std::string bmp = Bitmap(1, 1, 8, compression, {0, 1});
        SetField(bmp, 18, 4, 0x7FFFFFFF);
        SetField(bmp, 22, 4, 0x7FFFFFFF);
        EXPECT_THROW(DecodeBmp(BytesOf(bmp), ""), TavloError);
        SetField(bmp, 22, 4, 0x80000000);  // the most negative height has no positive twin
        EXPECT_THROW(DecodeBmp(BytesOf(bmp), ""), TavloError);
    }
    // RLE data set at most 255 pixels every two bytes: two bytes cannot make 64 MB of
    // samples, while a picture they could cover is read (rows not reached are index 0).
    EXPECT_THROW(DecodeBmp(BytesOf(Bitmap(8192, 8192, 8, 1, {0, 1})), ""), TavloError);
    EXPECT_THROW(DecodeBmp(BytesOf(Bitmap(16, 33, 4, 2, {0, 1})), ""), TavloError);
    EXPECT_EQ(DecodeBmp(BytesOf(Bitmap(16, 32, 8, 1, {0, 1})), "").samples, Bytes(512, 0));
    // A header size that points the palette past the end.
    std::string bmp = Bitmap(1, 1, 8, 0, {0, 0, 0, 0});
    SetField(bmp, 14, 4, 0x7FFFFFF0);
    EXPECT_THROW(DecodeBmp(BytesOf(bmp), ""), TavloError);
}
