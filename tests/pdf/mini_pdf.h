#pragma once
// A small complete document around a page and one extra stream of any bytes, written with
// the writer's own string, stream and encryption members, so qpdf can decode the stream
// that each combination of filters and protection makes.

#include "pdf/tavlo_test_peer.h"
#include "pdf/core/AsciiHexEncoder.h"
#include "pdf/core/PdfFormat.h"

#include <string>
#include <vector>

namespace tavlo::test {

struct MiniPdfContent {
    std::string title = "Prova (titolo) \\ cifrato";
    std::string author = "Rossi & C.";
    std::string pageText = "Ciao mondo";
    Bytes extraStream;  // written as object 7
};

inline std::string BuildMiniPdf(Tavlo& tavlo, const MiniPdfContent& content)
{
    TavloTestPeer peer(tavlo);
    TavloState& s = peer.State();
    std::string file = "%PDF-1." + std::to_string(3 + s.VersionBump) + "\n%\xE2\xE3\xCF\xD3\n";
    std::vector<std::size_t> offsets(1, 0);

    auto begin = [&](int number) {
        offsets.push_back(file.size());
        s.CurrentObject = number;
        file += std::to_string(number) + " 0 obj\n";
    };
    auto end = [&] { file += "endobj\n"; };
    auto stream = [&](int number, const Bytes& data) {
        begin(number);
        EncodedStream encoded = peer.EncodeStreamData(data, "");
        peer.EncryptStreamData(encoded.data, 0);
        file += "<<";
        if (!encoded.filters.empty())
            file += " /Filter [" + encoded.filters + "]";
        file += " /Length " + std::to_string(encoded.data.size()) + " >>\nstream\n";
        file += TextOf(encoded.data);
        file += "\nendstream\n";
        end();
    };

    begin(1);
    file += "<< /Type /Catalog /Pages 2 0 R >>\n";
    end();
    begin(2);
    file += "<< /Type /Pages /Kids [3 0 R] /Count 1 >>\n";
    end();
    begin(3);
    file += "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 300 200] /Contents 4 0 R"
            " /Resources << /Font << /F1 5 0 R >> >> >>\n";
    end();
    // Strings inside a content stream are covered by the stream's own encryption.
    stream(4, BytesOf("BT /F1 14 Tf 20 100 Td (" + EscapeString(content.pageText) + ") Tj ET"));
    begin(5);
    file += "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica /Encoding /WinAnsiEncoding >>\n";
    end();
    begin(6);
    file += "<< /Title " + peer.MakeTextString(content.title) + " /Author " + peer.MakeTextString(content.author) +
            " >>\n";
    end();
    stream(7, content.extraStream);
    int size = 8;
    if (s.Encrypted) {
        begin(8);
        file += "<< /Filter /Standard /O (" + EscapeString(TextOf(s.OwnerEntry)) + ") /U (" +
                EscapeString(TextOf(s.UserEntry)) + ") /P " + std::to_string(s.Permissions) +
                (s.KeyLength == 10 ? " /V 1 /R 2 >>\n" : " /V 2 /R 3 /Length 128 >>\n");
        end();
        size = 9;
    }
    const std::size_t xref = file.size();
    file += "xref\n0 " + std::to_string(size) + "\n0000000000 65535 f \n";
    for (int i = 1; i < size; ++i) {
        char line[32];
        std::snprintf(line, sizeof line, "%010zu 00000 n \n", offsets[static_cast<std::size_t>(i)]);
        file += line;
    }
    file += "trailer\n<< /Size " + std::to_string(size) + " /Root 1 0 R /Info 6 0 R";
    if (s.Encrypted) {
        const std::string id = HexText(BytesOf(s.FileId));
        file += " /Encrypt 8 0 R /ID [<" + id + "><" + id + ">]";
    }
    file += " >>\nstartxref\n" + std::to_string(xref) + "\n%%EOF\n";
    return file;
}

} // namespace tavlo::test
