#include "pdf/Tavlo.h"

#include "pdf/core/TavloState.h"
#include "pdf/core/Windows1252.h"

namespace tavlo {

namespace {

// Element text: markup characters escaped, controls that XML does not allow replaced by a blank.
std::string XmlValue(const std::string& text)
{
    std::string out;
    for (char c : Utf8FromWindows1252(text)) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        default:
            if (static_cast<unsigned char>(c) < 0x20 && c != '\t' && c != '\n' && c != '\r')
                out += ' ';
            else
                out += c;
        }
    }
    return out;
}

} // namespace

std::string Tavlo::BuildXmpMetadata() const
{
    const TavloState& s = *s_;
    const std::string title = XmlValue(s.InfoTitle), subject = XmlValue(s.InfoSubject);
    const std::string author = XmlValue(s.InfoAuthor), creator = XmlValue(s.InfoCreator);
    const std::string producer = XmlValue(s.InfoProducer), keywords = XmlValue(s.InfoKeywords);
    const std::string date = XmlValue(s.CreationDate);
    const std::string pdfNs = "http://ns.adobe.com/pdf/1.3/", xapNs = "http://ns.adobe.com/xap/1.0/",
                      dcNs = "http://purl.org/dc/elements/1.1/";

    const std::string lines[] = {
        "<rdf:RDF xmlns:rdf='http://www.w3.org/1999/02/22-rdf-syntax-ns#' xmlns:iX='http://ns.adobe.com/iX/1.0/'>",
        " <rdf:Description about='' xmlns='" + pdfNs + "' xmlns:pdf='" + pdfNs + "'>",
        "  <pdf:Producer>" + producer + "</pdf:Producer>",
        "  <pdf:Author>" + author + "</pdf:Author>",
        "  <pdf:Creator>" + creator + "</pdf:Creator>",
        "  <pdf:ModDate>" + date + "</pdf:ModDate>",
        "  <pdf:Title>" + title + "</pdf:Title>",
        "  <pdf:CreationDate>" + date + "</pdf:CreationDate>",
        "  <pdf:Subject>" + subject + "</pdf:Subject>",
        "  <pdf:Keywords>" + keywords + "</pdf:Keywords>",
        " </rdf:Description>",
        " <rdf:Description about='' xmlns='" + xapNs + "' xmlns:xap='" + xapNs + "'>",
        "  <xap:Author>" + author + "</xap:Author>",
        "  <xap:ModifyDate>" + date + "</xap:ModifyDate>",
        "  <xap:Title>",
        "   <rdf:Alt>",
        "  <rdf:li xml:lang='x-default'>" + title + "</rdf:li>",
        "   </rdf:Alt>",
        "  </xap:Title>",
        "  <xap:CreateDate>" + date + "</xap:CreateDate>",
        "  <xap:Description>",
        "   <rdf:Alt>",
        "  <rdf:li xml:lang='x-default'>" + subject + "</rdf:li>",
        "   </rdf:Alt>",
        "  </xap:Description>",
        "  <xap:MetadataDate>" + date + "</xap:MetadataDate>",
        " </rdf:Description>",
        " <rdf:Description about='' xmlns='" + dcNs + "' xmlns:dc='" + dcNs + "'>",
        "  <dc:creator>" + creator + "</dc:creator>",
        "  <dc:title>" + title + "</dc:title>",
        "  <dc:description>" + subject + "</dc:description>",
        " </rdf:Description>",
        "</rdf:RDF>",
        "<?xpacket end='r'?>",
    };
    std::string body;
    for (const std::string& line : lines) {
        if (!body.empty())
            body += '\r';
        body += line;
    }
    // The byte count of the UTF-8 body, whatever its size.
    return "<?xpacket begin='' id='W5M0MpCehiHzreSzNTczkc9d' bytes='" + std::to_string(body.size() + 64) + "'?>\r" +
           body;
}

} // namespace tavlo
