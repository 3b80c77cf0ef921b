// MD5 against Python's hashlib and openssl (RFC 1321's own suite: scripts/security.txt).

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
