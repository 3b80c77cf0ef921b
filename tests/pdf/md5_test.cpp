// MD5 against RFC 1321's own suite, Python's hashlib and openssl.

#include "pdf/ErrorRaised.h"
#include "support/pdf/tools.h"
#include "pdf/core/Md5.h"
#include "pdf/core/TavloError.h"

#include <gtest/gtest.h>

#include <sstream>

using namespace tavlo;
using namespace tavlo::test;

namespace {

std::string HexOf(const Md5Value& digest)
{
    return Hex(Bytes(digest.begin(), digest.end()));
}

} // namespace

TEST(Md5, Rfc1321TestSuite)
{
    const std::pair<const char*, const char*> suite[] = {
        {"", "d41d8cd98f00b204e9800998ecf8427e"},
        {"a", "0cc175b9c0f1b6a831c399e269772661"},
        {"abc", "900150983cd24fb0d6963f7d28e17f72"},
        {"message digest", "f96b697d7cb7938d525a2f31aaf161d0"},
        {"abcdefghijklmnopqrstuvwxyz", "c3fcd3d76192e4007dfb496cca67e13b"},
        {"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789", "d174ab98d277d9f5a5611c2c9f419d9f"},
        {"12345678901234567890123456789012345678901234567890123456789012345678901234567890",
         "57edf4a22be3c955ac49da2e2107b67a"},
    };
    for (const auto& [message, expected] : suite)
        EXPECT_EQ(HexOf(Md5Digest(std::string_view(message))), expected) << message;
}

TEST(Md5, EveryLengthUpTo300MatchesHashlib)
{
    ScratchDir dir;
    // One random buffer; Python digests each prefix, so lengths 55/56/63/64/119/120 are all in.
    const Bytes data = RandomBytes(300, 1321);
    WriteFile(dir.File("data.bin"), data);
    const ToolResult py = RunTool("/usr/bin/python3 -c " +
                                  Quote("import hashlib,sys\nd=open(sys.argv[1],'rb').read()\n"
                                        "print('\\n'.join(hashlib.md5(d[:n]).hexdigest() for n in range(301)))") +
                                  " " + dir.File("data.bin"));
    ASSERT_EQ(py.exitCode, 0);
    std::istringstream lines(py.output);
    std::string expected;
    for (std::size_t n = 0; n <= 300; ++n) {
        ASSERT_TRUE(std::getline(lines, expected));
        EXPECT_EQ(HexOf(Md5Digest(data.data(), n)), expected) << "length " << n;
    }
}

TEST(Md5, PaddingBoundariesAndAMegabyteMatchOpenssl)
{
    ScratchDir dir;
    std::vector<Bytes> inputs;
    for (std::size_t n : {55u, 56u, 57u, 63u, 64u, 65u, 119u, 120u, 128u})
        inputs.emplace_back(n, 0x80);
    inputs.push_back(RandomBytes(1 << 20, 77));
    for (const Bytes& data : inputs) {
        WriteFile(dir.File("b.bin"), data);
        const ToolResult ssl = RunTool("openssl dgst -md5 -r " + dir.File("b.bin"));
        ASSERT_EQ(ssl.exitCode, 0);
        EXPECT_EQ(HexOf(Md5Digest(data)), ssl.output.substr(0, 32)) << "length " << data.size();
    }
}

TEST(Md5, RefusesHugeInputsWithTheOverflowError)
{
    const std::uint8_t dummy = 0;
    EXPECT_EQ(ErrorRaised([&] { Md5Digest(&dummy, 268435455); }), 6);
}
