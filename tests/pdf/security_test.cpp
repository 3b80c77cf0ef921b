// The standard security handler against qpdf's own computations, an encrypted document
// decrypted by qpdf to its plain twin, MD5 against Python's hashlib and openssl, RC4 against
// openssl's legacy provider (encrypted documents in every reader, RFC 1321's and RFC 6229's
// vectors: scripts/security.txt).

#include "pdf/error_raised.h"
#include "pdf/tavlo_test_peer.h"
#include "pdf/core/Md5.h"
#include "pdf/core/Rc4.h"
#include "pdf/core/SecurityHandler.h"
#include "support/pdf/qpdf_json.h"
#include "support/pdf/tools.h"
#include "support/pdf/written_document.h"

#include <gtest/gtest.h>

#include <sstream>

using namespace tavlo;
using namespace tavlo::test;

TEST(SecurityHandler, OwnerUserAndKeyEqualQpdfs)
{
    struct Case {
        std::int32_t flags;
        const char* options;
        const char* user;
        const char* owner;
    };
    const Case cases[] = {
        {8 | 16 | 32, "40 --print=n", "utente", "proprietario"},
        {4 | 8 | 16 | 32, "40", "", "segreto"},
        {4096 | 4 | 512, "128 --use-aes=n --print=low --modify=none --extract=n", "u", "o"},
        {4096 | 0xF3C, "128 --use-aes=n", "una password di oltre trentadue caratteri", "Propr1etario"},
        {4096 | 4 | 2048 | 16 | 512, "128 --use-aes=n --modify=none", "", "x"},
    };
    ScratchDir dir;
    const std::string plain = dir.File("empty.pdf"), encrypted = dir.File("encrypted.pdf");
    RunTool("qpdf --empty " + Quote(plain));
    for (const Case& c : cases) {
        ASSERT_EQ(RunTool("qpdf --allow-weak-crypto --static-id --encrypt " + Quote(c.user) + " " + Quote(c.owner) +
                          " " + c.options + " -- " + Quote(plain) + " " + Quote(encrypted))
                      .exitCode,
                  0);
        const QpdfDocument q(encrypted, c.owner);
        const Bytes id = BytesOf(StringValue(q.Trailer()["/ID"][0]));
        ASSERT_EQ(id.size(), 16u) << c.options;
        const SecurityValues ours = ComputeSecurity(c.flags, c.owner, c.user, id);
        EXPECT_EQ(std::to_string(ours.permissions), q.Text("Encrypt/P")) << c.options;
        EXPECT_EQ(BytesOf(q.Text("Encrypt/O")), ours.ownerEntry) << c.options;
        EXPECT_EQ(Hex(ours.fileKey), q.Root()["encrypt"]["parameters"]["key"].text) << c.options;
        // Revision 3 leaves the last 16 bytes of /U free; we write blanks there.
        const std::string user = q.Text("Encrypt/U");
        ASSERT_EQ(ours.userEntry.size(), 32u);
        if (ours.revision == 3)
            EXPECT_EQ(TextOf(ours.userEntry), user.substr(0, 16) + std::string(16, ' ')) << c.options;
        else
            EXPECT_EQ(TextOf(ours.userEntry), user) << c.options;
    }
}

// Only the documented permission bits are kept: 4-32 (40-bit), and 256-2048 too (128-bit);
// undocumented bits are ignored, never carried into "modify forms".
TEST(SecurityHandler, PermissionWordsKeepDocumentedBitsOnly)
{
    const Bytes id = BytesOf("id");
    for (int subset = 0; subset < 256; ++subset) {
        std::int32_t flags = 0, documented = 0;
        const std::int32_t bits[] = {4, 8, 16, 32, 256, 512, 1024, 2048};
        for (int b = 0; b < 8; ++b)
            if (subset & (1 << b))
                flags |= bits[b];
        documented = flags & 60;
        EXPECT_EQ(ComputeSecurity(4096 | flags, "o", "u", id).permissions, -3904 + flags);
        EXPECT_EQ(ComputeSecurity(flags | 1 | 2 | 64 | 128, "o", "u", id).permissions, -64 + documented);
        EXPECT_EQ(ComputeSecurity(4096 | flags | 64 | 128 | 3, "o", "u", id).permissions, -3904 + flags);
    }
}

TEST(SecurityHandler, ObjectKeysAndPaddedPasswords)
{
    const Bytes fileKey = FromHex("0102030405");
    // MD5 of the file key, the object number's three bytes and generation 0, cut to 10 bytes.
    const Md5Value digest = Md5Digest(FromHex("010203040501000000" "00"));
    EXPECT_EQ(Hex(ObjectKeyFor(fileKey, 1, 10)), Hex(Bytes(digest.begin(), digest.begin() + 10)));
    EXPECT_EQ(ObjectKeyFor(FromHex("00112233445566778899aabbccddeeff"), 70000, 16).size(), 16u);
    EXPECT_EQ(PadPassword(""), PasswordPadding());
    EXPECT_EQ(PadPassword(std::string(40, 'p')), BytesOf(std::string(32, 'p')));
    Bytes expected = BytesOf("   ");
    expected.insert(expected.end(), PasswordPadding().begin(), PasswordPadding().begin() + 29);
    EXPECT_EQ(PadPassword("   "), expected);  // a blank user password is padded as it is
}

// Decrypted by qpdf, an encrypted document is its plain twin: only the encryption differs.
TEST(EncryptedDocument, DecryptsToItsPlainTwin)
{
    ScratchDir dir;
    for (const std::int32_t flags : {0, 4096}) {
        auto write = [&](const std::string& name, bool encrypted) {
            return WriteDocument(
                       name,
                       [](Tavlo& pdf) {
                           pdf.BeginPage();
                           pdf.SetFont("Times", 12, 0, 0);
                           pdf.DrawText(20, 100, "Ciao mondo");
                           pdf.AddBookmark("Titolo con (parentesi), \\ barre\r\ne a capo", 1, 0, 0, 0, 0, 0, 0, "", 0);
                           pdf.AddField("campo", 0, 10, 10, 50, 20, "Valore (riservato)", 0, "", 0);
                       },
                       {[&](Tavlo& pdf) {
                            TavloTestPeer(pdf).State().CreationDate = "D:20260105093000+01'00'";
                            pdf.SetCompression(2, 1);
                            pdf.SetViewerPreferences(128);  // 1.4 like the strong key
                            if (encrypted)
                                pdf.SetProtection(flags, "o", "u");
                        },
                        encrypted ? "u" : ""})
                .path;
        };
        const std::string normalise = " --qdf --static-id --object-streams=disable --deterministic-id ";
        ASSERT_EQ(RunTool("qpdf" + normalise + Quote(write("plain.pdf", false)) + " " + Quote(dir.File("a.pdf"))).exitCode, 0);
        ASSERT_EQ(RunTool("qpdf --password=u --decrypt" + normalise + Quote(write("enc.pdf", true)) + " " +
                          Quote(dir.File("b.pdf")))
                      .exitCode,
                  0);
        const QpdfDocument a(dir.File("a.pdf")), b(dir.File("b.pdf"));
        Json objects = a.Root()["qpdf"][1], decrypted = b.Root()["qpdf"][1];
        ASSERT_GT(objects.Size(), 10u);
        objects.members.erase("trailer");  // the identifier
        decrypted.members.erase("trailer");
        ASSERT_NE(a.PageContent(1).find("Ciao mondo"), std::string::npos);
        EXPECT_EQ(Show(objects), Show(decrypted)) << "flags " << flags;
    }
}

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
