// The XMP packet: well-formed for xmllint whatever the information texts hold, UTF-8,
// its byte count, and the same through encryption and compression.

#include "pdf/PdfCheck.h"
#include "pdf/TavloTestPeer.h"

#include <gtest/gtest.h>

using namespace tavlo;
using namespace tavlo::test;

namespace {

class XmpTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!ReadersAvailable() || !ToolAvailable("xmllint"))
            FAIL() << "qpdf, poppler, mupdf or xmllint missing";
    }
    // The decoded metadata stream, found through the catalog.
    std::string Packet(const std::string& path, const std::string& password = "")
    {
        const std::string root = ObjectOf(path, "trailer", password);
        const std::string catalog = ObjectOf(path, TokenAfter(root, "/Root ", "0123456789"), password);
        return StreamOf(path, std::stoi(TokenAfter(catalog, "/Metadata ", "0123456789")), password);
    }
    ToolResult Lint(const std::string& packet)
    {
        const std::string file = dir.File("packet.xml");
        WriteFile(file, packet);
        return RunTool("xmllint --noout " + file + " 2>&1");
    }
    ScratchDir dir;
};

} // namespace

TEST_F(XmpTest, MarkupAndAccentsInEveryText)
{
    Tavlo pdf;
    const std::string path = dir.File("xmp.pdf");
    // Windows-1252: è is E8, € is 80.
    pdf.SetDocProperty("Fatture <2026> & note", "Oggetto \"citato\" 'qui'", "Societ\xE0 & C.", "Quercino \x80",
                       "Prod\x01uttore", "a<b");
    pdf.BeginDoc(path);
    pdf.EndDoc();
    ExpectReadersAccept(path);
    const std::string packet = Packet(path);
    const ToolResult lint = Lint(packet);
    EXPECT_EQ(lint.exitCode, 0) << lint.output << packet;
    EXPECT_NE(packet.find("<pdf:Title>Fatture &lt;2026&gt; &amp; note</pdf:Title>"), std::string::npos) << packet;
    EXPECT_NE(packet.find("<pdf:Author>Societ\xC3\xA0 &amp; C.</pdf:Author>"), std::string::npos) << packet;
    EXPECT_NE(packet.find("<dc:creator>Quercino \xE2\x82\xAC</dc:creator>"), std::string::npos) << packet;
    EXPECT_NE(packet.find("<pdf:Producer>Prod uttore</pdf:Producer>"), std::string::npos) << packet;
    EXPECT_NE(packet.find("<pdf:Keywords>a&lt;b</pdf:Keywords>"), std::string::npos) << packet;
    const std::string shown = RunTool("xmllint --xpath 'string(//*[local-name()=\"title\"])' " +
                                      dir.File("packet.xml")).output;
    EXPECT_EQ(shown, "Fatture <2026> & note\n");
}

TEST_F(XmpTest, PacketFormAndByteCount)
{
    Tavlo pdf;
    TavloTestPeer peer(pdf);
    const std::string path = dir.File("count.pdf");
    pdf.SetDocProperty("Titolo \xE8", "", "", "", "", "");
    peer.State().CreationDate = "D:20261206103000+01'00'";
    pdf.BeginDoc(path);
    pdf.EndDoc();
    ExpectReadersAccept(path);
    const std::string packet = Packet(path);
    ASSERT_EQ(Lint(packet).exitCode, 0) << packet;
    const std::string head = "<?xpacket begin='' id='W5M0MpCehiHzreSzNTczkc9d' bytes='";
    ASSERT_EQ(packet.rfind(head, 0), 0u);
    const std::size_t body = packet.find("'?>\r") + 4;
    EXPECT_EQ(std::stoul(packet.substr(head.size())), packet.size() - body + 64);
    EXPECT_EQ(packet.substr(packet.size() - 19), "<?xpacket end='r'?>");
    EXPECT_NE(packet.find("\r  <xap:CreateDate>D:20261206103000+01'00'</xap:CreateDate>\r"), std::string::npos);
    EXPECT_NE(packet.find("\r  <pdf:Subject></pdf:Subject>\r"), std::string::npos);
    EXPECT_NE(packet.find("\r  <dc:description></dc:description>\r"), std::string::npos);
    // A long title is no reason to fail.
    Tavlo big;
    const std::string longPath = dir.File("long.pdf");
    big.SetDocProperty(std::string(40000, 'x'), "", "", "", "", "");
    big.BeginDoc(longPath);
    big.EndDoc();
    ExpectReadersAccept(longPath);
    EXPECT_EQ(Lint(Packet(longPath)).exitCode, 0);
}

TEST_F(XmpTest, EncryptedAndCompressedPacketDecodes)
{
    Tavlo pdf;
    const std::string path = dir.File("secret.pdf");
    pdf.SetProtection(4096 | 4, "", "utente");
    pdf.SetCompression(2 | 8, 3);
    pdf.SetDocProperty("Riservato & cifrato", "", "", "", "", "");
    pdf.BeginDoc(path);
    pdf.EndDoc();
    ExpectReadersAccept(path, "utente");
    const std::string packet = Packet(path, "utente");
    EXPECT_EQ(Lint(packet).exitCode, 0) << packet;
    EXPECT_NE(packet.find("Riservato &amp; cifrato"), std::string::npos);
}

TEST_F(XmpTest, CreationDateInPdfDateForm)
{
    Tavlo pdf;
    const std::string path = dir.File("date.pdf");
    pdf.BeginDoc(path);
    pdf.EndDoc();
    ExpectReadersAccept(path);
    const std::string info = ObjectOf(path, TokenAfter(ObjectOf(path, "trailer"), "/Info ", "0123456789"));
    const std::string date = TokenAfter(info, "/CreationDate (", "D:0123456789+-'Z");
    ASSERT_GE(date.size(), 17u) << info;
    const std::string zone = date.substr(16);
    EXPECT_TRUE(zone == "Z" || (zone.size() == 7 && zone[3] == '\'' && zone[6] == '\'')) << date;
    // poppler turns a valid date into a calendar date.
    const std::string shown = RunTool("pdfinfo " + Quote(path) + " | grep CreationDate").output;
    EXPECT_NE(shown.find(date.substr(2, 4)), std::string::npos) << shown;
}
