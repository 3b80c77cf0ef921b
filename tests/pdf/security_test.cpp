// The standard security handler against qpdf's own computations, and encrypted documents
// opened by qpdf, poppler and mupdf with the user and the owner password.

#include "pdf/ErrorRaised.h"
#include "pdf/MiniPdf.h"
#include "pdf/OracleTools.h"
#include "pdf/PdfCheck.h"
#include "pdf/core/Md5.h"
#include "pdf/core/SecurityHandler.h"

#include <gtest/gtest.h>


using namespace tavlo;
using namespace tavlo::test;

namespace {

struct QpdfEncryption {
    Bytes id, owner, user, key;
    std::int32_t permissions = 0;
};

// Encrypts an empty document with qpdf (fixed ID) and reads back what it computed.
QpdfEncryption QpdfEncrypt(const ScratchDir& dir, const std::string& user, const std::string& owner,
                           const std::string& options)
{
    QpdfEncryption e;
    const std::string plain = dir.File("empty.pdf"), encrypted = dir.File("qpdf-encrypted.pdf");
    RunTool("qpdf --empty " + plain);
    const ToolResult made = RunTool("qpdf --allow-weak-crypto --static-id --encrypt " + Quote(user) + " " +
                                    Quote(owner) + " " + options + " -- " + plain + " " + encrypted + " 2>&1");
    EXPECT_EQ(made.exitCode, 0) << made.output;
    const std::string pw = " --password=" + Quote(owner) + " ";
    const std::string trailer = RunTool("qpdf --show-object=trailer" + pw + encrypted).output;
    e.id = FromHex(TokenAfter(trailer, "/ID [ <"));
    const std::string number = TokenAfter(trailer, "/Encrypt ", "0123456789");
    const std::string dict = RunTool("qpdf --show-object=" + number + pw + encrypted).output;
    e.owner = FromHex(TokenAfter(dict, "/O <"));
    e.user = FromHex(TokenAfter(dict, "/U <"));
    const std::string p = TokenAfter(dict, "/P ", "-0123456789");
    e.permissions = p.empty() ? 0 : std::stoi(p);
    const std::string shown = RunTool("qpdf --show-encryption-key --show-encryption" + pw + encrypted).output;
    e.key = FromHex(TokenAfter(shown, "Encryption key = "));
    return e;
}

std::string EncryptionKeyShownByQpdf(const std::string& file, const std::string& password)
{
    const std::string shown =
        RunTool("qpdf --show-encryption-key --show-encryption --password=" + Quote(password) + " " + file).output;
    return TokenAfter(shown, "Encryption key = ");
}

} // namespace

TEST(SecurityHandler, OwnerUserAndKeyEqualQpdfs)
{
    if (!ToolAvailable("qpdf"))
        FAIL() << "qpdf missing";
    ScratchDir dir;
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
    for (const Case& c : cases) {
        const QpdfEncryption q = QpdfEncrypt(dir, c.user, c.owner, c.options);
        ASSERT_EQ(q.id.size(), 16u) << c.options;
        const SecurityValues ours = ComputeSecurity(c.flags, c.owner, c.user, q.id);
        EXPECT_EQ(ours.permissions, q.permissions) << c.options;
        EXPECT_EQ(Hex(ours.ownerEntry), Hex(q.owner)) << c.options;
        EXPECT_EQ(Hex(ours.fileKey), Hex(q.key)) << c.options;
        // Revision 3 leaves the last 16 bytes of /U free; we write blanks there.
        const std::size_t significant = ours.revision == 3 ? 16 : 32;
        ASSERT_EQ(ours.userEntry.size(), 32u);
        EXPECT_EQ(Hex(Bytes(ours.userEntry.begin(), ours.userEntry.begin() + significant)),
                  Hex(Bytes(q.user.begin(), q.user.begin() + significant)))
            << c.options;
        if (ours.revision == 3) {
            EXPECT_EQ(TextOf(Bytes(ours.userEntry.begin() + 16, ours.userEntry.end())), std::string(16, ' '));
        }
    }
}

TEST(SecurityHandler, PermissionWordsKeepDocumentedBitsOnly)
{
    const Bytes id = BytesOf("id");
    const std::int32_t r2[] = {4, 8, 16, 32};
    for (int subset = 0; subset < 16; ++subset) {
        std::int32_t flags = 0;
        for (int b = 0; b < 4; ++b)
            if (subset & (1 << b))
                flags |= r2[b];
        EXPECT_EQ(ComputeSecurity(flags, "o", "u", id).permissions, -64 + flags);
    }
    const std::int32_t r3[] = {4, 8, 16, 32, 256, 512, 1024, 2048};
    for (int subset = 0; subset < 256; ++subset) {
        std::int32_t flags = 0;
        for (int b = 0; b < 8; ++b)
            if (subset & (1 << b))
                flags |= r3[b];
        EXPECT_EQ(ComputeSecurity(4096 | flags, "o", "u", id).permissions, -3904 + flags);
    }
    EXPECT_EQ(ComputeSecurity(0, "o", "u", id).permissions, -64);
    EXPECT_EQ(ComputeSecurity(4096, "o", "u", id).permissions, -3904);
    EXPECT_EQ(ComputeSecurity(4096 + 4, "o", "u", id).permissions, -3900);
    // Undocumented bits used to carry into "modify forms"; now they are ignored.
    EXPECT_EQ(ComputeSecurity(4096 + 64, "o", "u", id).permissions, -3904);
    EXPECT_EQ(ComputeSecurity(4096 + 128 + 64 + 3, "o", "u", id).permissions, -3904);
    EXPECT_EQ(ComputeSecurity(1 | 2 | 64 | 128 | 256, "o", "u", id).permissions, -64);
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

TEST(SetProtection, StateVersionAndFileId)
{
    Tavlo tavlo;
    TavloTestPeer peer(tavlo);
    peer.State().InfoProducer = "Studio Rossi";
    tavlo.SetProtection(0, "   ", "utente");
    const TavloState& s = peer.State();
    EXPECT_TRUE(s.Encrypted);
    EXPECT_EQ(s.FileId, "Studio Rossi2.4.8");
    EXPECT_EQ(s.KeyLength, 10);
    EXPECT_EQ(s.VersionBump, 0);
    // A blank owner password is replaced by the user password.
    EXPECT_EQ(s.OwnerEntry, ComputeSecurity(0, "utente", "utente", BytesOf("Studio Rossi2.4.8")).ownerEntry);

    std::int32_t current = 0;
    peer.State().CurrentObject = 12;
    EXPECT_EQ(peer.ObjectKey(current).size(), 10u);
    EXPECT_EQ(current, 12);
    EXPECT_EQ(peer.MakeTextString(""), "()");

    peer.State().InfoProducer = "Altro";
    tavlo.SetProtection(4096, "o", "u");
    EXPECT_EQ(s.FileId, "Altro2.4.8");
    EXPECT_EQ(s.KeyLength, 16);
    EXPECT_EQ(s.VersionBump, 1);
    EXPECT_EQ(peer.ObjectKey(current).size(), 16u);

    tavlo.Abort();
    EXPECT_FALSE(s.Encrypted);
    EXPECT_EQ(peer.MakeTextString("a(b)\\"), "(a\\(b\\)\\\\)");
}

TEST(SetProtection, RefusedOnceObjectsAreWritten)
{
    Tavlo tavlo;
    TavloTestPeer peer(tavlo);
    tavlo.SetProtection(0, "o", "u");
    const Bytes key = peer.State().FileKey;
    peer.State().ObjectsWritten = true;
    EXPECT_EQ(ErrorRaised([&] { tavlo.SetProtection(4096, "x", "y"); }), 5)
        << "protection changed after objects were written";
    EXPECT_EQ(peer.State().FileKey, key);
    EXPECT_EQ(peer.State().KeyLength, 10);

    Tavlo plain;
    TavloTestPeer plainPeer(plain);
    plainPeer.State().ObjectsWritten = true;
    EXPECT_THROW(plain.SetProtection(0, "o", "u"), TavloError);
    EXPECT_FALSE(plainPeer.State().Encrypted);
}

TEST(SetProtection, AfterAPageIsRefusedAndTheDocumentStaysPlainAndValid)
{
    if (!ReadersAvailable())
        FAIL() << "readers missing";
    ScratchDir dir;
    const std::string path = dir.File("tardi.pdf");
    Tavlo pdf;
    pdf.BeginDoc(path);
    pdf.SetProtection(0, "o", "u");  // before any object: allowed
    EXPECT_TRUE(TavloTestPeer(pdf).State().Encrypted);
    pdf.BeginPage();
    pdf.EndPage();
    const Bytes key = TavloTestPeer(pdf).State().FileKey;
    EXPECT_EQ(ErrorRaised([&] { pdf.SetProtection(4096, "x", "y"); }), ErrorCode::InvalidArgument)
        << "protection re-keyed after a page was written";
    EXPECT_EQ(TavloTestPeer(pdf).State().FileKey, key);
    pdf.EndDoc();
    // The document opens with the first passwords, and the refused key never reached it.
    EXPECT_EQ(EncryptionKeyShownByQpdf(path, "u"), Hex(key));
    ExpectReadersAccept(path, "u");

    const std::string plainPath = dir.File("chiaro.pdf");
    Tavlo plain;
    plain.BeginDoc(plainPath);
    plain.BeginPage();
    plain.EndPage();
    EXPECT_THROW(plain.SetProtection(0, "o", "u"), TavloError);
    plain.EndDoc();
    EXPECT_EQ(ReadFile(plainPath).find("/Encrypt"), std::string::npos);
    ExpectReadersAccept(plainPath);
}

TEST(EncryptedDocument, OpensWithBothPasswordsInEveryReader)
{
    if (!ToolAvailable("qpdf") || !ToolAvailable("pdftotext") || !ToolAvailable("mutool"))
        FAIL() << "readers missing";
    ScratchDir dir;
    for (std::int32_t flags : {4 | 16, 4096 | 4 | 16 | 2048}) {
        for (std::uint32_t compression : {0u, 2u, 2u | 16u}) {
            Tavlo tavlo;
            TavloTestPeer(tavlo).State().InfoProducer = "Quercino";
            tavlo.SetCompression(compression, 2);
            tavlo.SetProtection(flags, "proprietario", "utente");
            MiniPdfContent content;
            content.extraStream = RandomBytes(5000, 1, 10);
            const std::string file = dir.File("enc.pdf");
            WriteFile(file, BuildMiniPdf(tavlo, content));
            const std::string label = "flags " + std::to_string(flags) + ", compression " + std::to_string(compression);

            const std::string key = Hex(TavloTestPeer(tavlo).State().FileKey);
            EXPECT_EQ(EncryptionKeyShownByQpdf(file, "utente"), key) << label;
            EXPECT_EQ(EncryptionKeyShownByQpdf(file, "proprietario"), key) << label;
            EXPECT_NE(RunTool("qpdf --check --password=sbagliata " + file + " >/dev/null 2>&1").exitCode, 0);
            for (const char* password : {"utente", "proprietario"}) {
                const ToolResult check =
                    RunTool("qpdf --check --password=" + std::string(password) + " " + file + " 2>&1");
                EXPECT_EQ(check.exitCode, 0) << label << ": " << check.output;
                EXPECT_TRUE(RunTool("qpdf --password=" + std::string(password) +
                                    " --show-object=7 --filtered-stream-data " + file)
                                .output == TextOf(content.extraStream))
                    << label;
            }
            const ToolResult poppler = RunTool("pdftotext -upw utente " + file + " -");
            EXPECT_NE(poppler.output.find("Ciao mondo"), std::string::npos) << label << poppler.output;
            const ToolResult info = RunTool("pdfinfo -opw proprietario " + file);
            EXPECT_NE(info.output.find(content.title), std::string::npos) << label << info.output;
            const ToolResult mupdf = RunTool("mutool draw -q -p utente -F txt -o - " + file + " 2>/dev/null");
            EXPECT_NE(mupdf.output.find("Ciao mondo"), std::string::npos) << label << mupdf.output;
        }
    }
}

TEST(EncryptedDocument, DecryptsToItsPlainTwin)
{
    if (!ToolAvailable("qpdf"))
        FAIL() << "qpdf missing";
    ScratchDir dir;
    MiniPdfContent content;
    content.title = "Titolo con (parentesi), \\ barre\r\ne a capo";
    content.extraStream = RandomBytes(3000, 5, 4);
    for (std::int32_t flags : {0, 4096}) {
        Tavlo plain, encrypted;
        plain.SetCompression(2, 1);
        encrypted.SetCompression(2, 1);
        encrypted.SetProtection(flags, "o", "u");
        // The twin declares the same version, so only the encryption differs.
        TavloTestPeer(plain).State().VersionBump = TavloTestPeer(encrypted).State().VersionBump;
        WriteFile(dir.File("plain.pdf"), BuildMiniPdf(plain, content));
        WriteFile(dir.File("enc.pdf"), BuildMiniPdf(encrypted, content));
        const std::string normalise = " --qdf --static-id --object-streams=disable --deterministic-id ";
        ASSERT_EQ(RunTool("qpdf" + normalise + dir.File("plain.pdf") + " " + dir.File("a.pdf")).exitCode, 0);
        ASSERT_EQ(
            RunTool("qpdf --password=u --decrypt" + normalise + dir.File("enc.pdf") + " " + dir.File("b.pdf")).exitCode,
            0);
        const std::string a = WithoutPieces(ReadFile(dir.File("a.pdf")), "/ID [", "]");
        const std::string b = WithoutPieces(ReadFile(dir.File("b.pdf")), "/ID [", "]");
        ASSERT_NE(a.find("Ciao mondo"), std::string::npos);
        EXPECT_TRUE(a == b) << "flags " << flags;
    }
}
