// The standard security handler against qpdf's own computations, and an encrypted document
// decrypted by qpdf to its plain twin (encrypted documents in every reader:
// scripts/security.txt).

#include "pdf/TavloTestPeer.h"
#include "pdf/core/Md5.h"
#include "pdf/core/SecurityHandler.h"
#include "support/pdf/qpdf_json.h"
#include "support/pdf/tools.h"
#include "support/pdf/written_document.h"

#include <gtest/gtest.h>

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
// undocumented bits used to carry into "modify forms", now they are ignored.
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
