// RC4 against the vectors of RFC 6229 and openssl's legacy provider.

#include "support/pdf/tools.h"
#include "pdf/core/Rc4.h"

#include <gtest/gtest.h>

using namespace tavlo;
using namespace tavlo::test;

TEST(Rc4, Rfc6229KeyStreams)
{
    struct Vector {
        const char* key;
        std::size_t offset;
        const char* stream;
    };
    // Key-stream bytes at the given offsets (RFC 6229, section 2).
    const Vector vectors[] = {
        {"0102030405", 0, "b2396305f03dc027ccc3524a0a1118a8"},
        {"0102030405", 16, "6982944f18fc82d589c403a47a0d0919"},
        {"0102030405", 240, "28cb1132c96ce286421dcaadb8b69eae"},
        {"0102030405", 4096, "ff25b58995996707e51fbdf08b34d875"},
        {"01020304050607", 0, "293f02d47f37c9b633f2af5285feb46b"},
        {"0102030405060708090a0b0c0d0e0f10", 0, "9ac7cc9a609d1ef7b2932899cde41b97"},
        {"833222772a", 0, "80ad97bdc973df8a2e879e92a497efda"},
    };
    for (const auto& v : vectors) {
        const Bytes zeros(v.offset + 16, 0);
        const Bytes stream = Rc4Crypt(FromHex(v.key), zeros);
        EXPECT_EQ(Hex(Bytes(stream.begin() + static_cast<std::ptrdiff_t>(v.offset), stream.end())), v.stream)
            << v.key << " at " << v.offset;
    }
}

TEST(Rc4, MatchesOpensslAndInvertsItself)
{
    ScratchDir dir;
    const Bytes data = RandomBytes(70000, 6229);
    WriteFile(dir.File("plain.bin"), data);
    const std::pair<const char*, const char*> keys[] = {{"rc4-40", "0102030405"},
                                                        {"rc4", "00112233445566778899aabbccddeeff"}};
    for (const auto& [cipher, key] : keys) {
        const ToolResult ssl = RunTool("openssl enc -" + std::string(cipher) +
                                       " -provider legacy -provider default -nosalt -K " + key + " -in " +
                                       dir.File("plain.bin"));
        ASSERT_EQ(ssl.exitCode, 0);
        const Bytes ours = Rc4Crypt(FromHex(key), data);
        EXPECT_TRUE(TextOf(ours) == ssl.output) << key;
        EXPECT_TRUE(Rc4Crypt(FromHex(key), ours) == data);
    }
}

TEST(Rc4, CacheGivesTheSameResultForRepeatedAndChangingKeys)
{
    Rc4Cache cache;
    const Bytes a = FromHex("0102030405"), b = FromHex("0a0b0c0d0e0f");
    const Bytes data = RandomBytes(100, 3);
    const Bytes first = cache.Crypt(a, data);
    EXPECT_EQ(cache.Crypt(a, data), first);  // every call starts the key stream afresh
    EXPECT_EQ(cache.Crypt(b, data), Rc4Crypt(b, data));
    EXPECT_EQ(cache.Crypt(a, data), first);
    EXPECT_TRUE(cache.Crypt(a, Bytes()).empty());
}
