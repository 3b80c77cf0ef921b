#include "pdf/core/deflate/DeflateTables.h"

#include "pdf/core/TavloError.h"

namespace tavlo::deflate {

const std::array<std::int32_t, 32> LengthBase = {3,  4,  5,  6,  7,  8,  9,  10, 11,  13,  15,  17,  19,  23, 27, 31,
                                                 35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 258, 0,  0,  0};
const std::array<std::int32_t, 32> LengthExtraBits = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2, 2,
                                                      3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0, 0, 0, 0};
const std::array<std::int32_t, 32> DistanceBase = {1,    2,    3,    4,    5,    7,     9,     13,    17,    25,   33,
                                                   49,   65,   97,   129,  193,  257,   385,   513,   769,   1025, 1537,
                                                   2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577, 32769, 49153};
const std::array<std::int32_t, 32> DistanceExtraBits = {0, 0, 0, 0, 1, 1, 2,  2,  3,  3,  4,  4,  5,  5,  6,  6,
                                                        7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13, 14, 14};
const std::array<int, 19> CodeLengthOrder = {16, 17, 18, 0, 8, 7, 9, 6, 10, 5, 11, 4, 12, 3, 13, 2, 14, 1, 15};

namespace {

struct CodeTables {
    std::array<std::uint8_t, 259> length{};
    std::array<std::uint8_t, 32769> distance{};
    constexpr CodeTables()
    {
        constexpr std::array<std::int32_t, 29> lengthBase = {3,  4,  5,  6,  7,  8,  9,   10,  11,  13,
                                                             15, 17, 19, 23, 27, 31, 35,  43,  51,  59,
                                                             67, 83, 99, 115, 131, 163, 195, 227, 258};
        constexpr std::array<std::int32_t, 30> distanceBase = {
            1,   2,   3,   4,   5,   7,    9,    13,   17,   25,   33,   49,   65,    97,    129,
            193, 257, 385, 513, 769, 1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
        for (int len = 3; len <= 258; ++len) {
            int c = 28;
            while (lengthBase[std::size_t(c)] > len)
                --c;
            length[std::size_t(len)] = std::uint8_t(c);
        }
        int c = 0;
        for (int d = 1; d <= 32768; ++d) {
            while (c < 29 && distanceBase[std::size_t(c + 1)] <= d)
                ++c;
            distance[std::size_t(d)] = std::uint8_t(c);
        }
    }
};

constexpr CodeTables kCodeTables;

constexpr DeflateLevel kLevels[6] = {
    {4, 4, 16, 16}, {8, 16, 32, 32}, {8, 16, 128, 128}, {8, 32, 128, 256}, {32, 128, 258, 1024}, {32, 258, 258, 4096},
};

} // namespace

const std::array<std::uint8_t, 259>& LengthCodes = kCodeTables.length;
const std::array<std::uint8_t, 32769>& DistanceCodes = kCodeTables.distance;

const DeflateLevel& DeflateLevelRow(int level)
{
    if (level < 0 || level > 5)
        throw TavloError(ErrorCode::SubscriptOutOfRange);
    return kLevels[level];
}

} // namespace tavlo::deflate
