// The XMP packet: well-formed for xmllint whatever the information texts hold, UTF-8, its
// byte count, and the same through encryption and compression.

#include "pdf/TavloTestPeer.h"
#include "support/pdf/qpdf_json.h"
#include "support/pdf/tools.h"
#include "support/pdf/written_document.h"

#include <gtest/gtest.h>

using namespace tavlo;
using namespace tavlo::test;

namespace {

// The decoded metadata stream, found through the catalog, and xmllint's verdict on it.
std::string Packet(const std::string& path, const std::string& password = "")
{
    const std::string packet = QpdfDocument(path, password).StreamData("Root/Metadata");
    const std::string file = TempPath("packet.xml");
    WriteFile(file, packet);
    const ToolResult lint = RunTool("xmllint --noout " + Quote(file) + " 2>&1");
    EXPECT_EQ(lint.exitCode, 0) << lint.output << packet;
    return packet;
}

} // namespace

TEST(Xmp, MarkupAndAccentsInEveryText)
{
    // Windows-1252: à is E0, € is 80.
    const std::string path = WriteDocument("xmp.pdf", [](Tavlo&) {},
                                           {[](Tavlo& pdf) {
                                               pdf.SetDocProperty("Fatture <2026> & note", "Oggetto \"citato\" 'qui'",
                                                                  "Societ\xE0 & C.", "Quercino \x80", "Prod\x01uttore",
                                                                  "a<b");
                                           }})
                                 .path;
    const std::string packet = Packet(path);
    for (const char* element : {"<pdf:Title>Fatture &lt;2026&gt; &amp; note</pdf:Title>",
                                "<pdf:Author>Societ\xC3\xA0 &amp; C.</pdf:Author>",
                                "<dc:creator>Quercino \xE2\x82\xAC</dc:creator>", "<pdf:Producer>Prod uttore</pdf:Producer>",
                                "<pdf:Keywords>a&lt;b</pdf:Keywords>"})
        EXPECT_NE(packet.find(element), std::string::npos) << element << "\n" << packet;
    EXPECT_EQ(RunTool("xmllint --xpath 'string(//*[local-name()=\"title\"])' " + Quote(TempPath("packet.xml"))).output,
              "Fatture <2026> & note\n");
}

TEST(Xmp, PacketFormAndByteCount)
{
    const std::string path = WriteDocument("count.pdf", [](Tavlo&) {},
                                           {[](Tavlo& pdf) {
                                               pdf.SetDocProperty("Titolo \xE8", "", "", "", "", "");
                                               TavloTestPeer(pdf).State().CreationDate = "D:20261206103000+01'00'";
                                           }})
                                 .path;
    const std::string packet = Packet(path);
    const std::string head = "<?xpacket begin='' id='W5M0MpCehiHzreSzNTczkc9d' bytes='";
    ASSERT_EQ(packet.rfind(head, 0), 0u);
    const std::size_t body = packet.find("'?>\r") + 4;
    EXPECT_EQ(std::stoul(packet.substr(head.size())), packet.size() - body + 64);
    EXPECT_EQ(packet.substr(packet.size() - 19), "<?xpacket end='r'?>");
    for (const char* line : {"\r  <xap:CreateDate>D:20261206103000+01'00'</xap:CreateDate>\r",
                             "\r  <pdf:Subject></pdf:Subject>\r", "\r  <dc:description></dc:description>\r"})
        EXPECT_NE(packet.find(line), std::string::npos) << line;
    // A long title is no reason to fail.
    Packet(WriteDocument("long.pdf", [](Tavlo&) {},
                         {[](Tavlo& pdf) { pdf.SetDocProperty(std::string(40000, 'x'), "", "", "", "", ""); }})
               .path);
}

TEST(Xmp, EncryptedAndCompressedPacketDecodes)
{
    const std::string path = WriteDocument("secret.pdf", [](Tavlo&) {},
                                           {[](Tavlo& pdf) {
                                                pdf.SetProtection(4096 | 4, "", "utente");
                                                pdf.SetCompression(2 | 8, 3);
                                                pdf.SetDocProperty("Riservato & cifrato", "", "", "", "", "");
                                            },
                                            "utente"})
                                 .path;
    EXPECT_NE(Packet(path, "utente").find("Riservato &amp; cifrato"), std::string::npos);
}
