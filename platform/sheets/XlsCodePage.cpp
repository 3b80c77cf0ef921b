#include "platform/sheets/XlsCodePage.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include <string>

namespace quercino::sheets {

namespace {

// The Windows numbers of the code pages the format names, as the C library calls them.
const char* NomeIconv(std::uint16_t numero)
{
    switch (numero) {
    case 367: return "US-ASCII";
    case 437: return "CP437";
    case 737: return "CP737";
    case 775: return "CP775";
    case 850: return "CP850";
    case 852: return "CP852";
    case 855: return "CP855";
    case 857: return "CP857";
    case 858: return "CP858";
    case 860: return "CP860";
    case 861: return "CP861";
    case 862: return "CP862";
    case 863: return "CP863";
    case 864: return "CP864";
    case 865: return "CP865";
    case 866: return "CP866";
    case 869: return "CP869";
    case 874: return "CP874";
    case 932: return "CP932";
    case 936: return "CP936";
    case 949: return "CP949";
    case 950: return "CP950";
    case 1250: return "CP1250";
    case 1251: return "CP1251";
    case 1253: return "CP1253";
    case 1254: return "CP1254";
    case 1255: return "CP1255";
    case 1256: return "CP1256";
    case 1257: return "CP1257";
    case 1258: return "CP1258";
    case 1361: return "JOHAB";
    case 10000:
    case 32768: return "MACINTOSH";
    default: return "CP1252";
    }
}

} // namespace

XlsCodePage::~XlsCodePage()
{
    if (conversione_)
        iconv_close(static_cast<iconv_t>(conversione_));
}

void XlsCodePage::Imposta(std::uint16_t numero)
{
    if (conversione_)
        iconv_close(static_cast<iconv_t>(conversione_));
    conversione_ = nullptr;
    utf16_ = numero == 1200;
    iconv_t c = iconv_open("UTF-16LE", NomeIconv(numero));
    if (c == reinterpret_cast<iconv_t>(-1))
        c = iconv_open("UTF-16LE", "CP1252");
    if (c != reinterpret_cast<iconv_t>(-1))
        conversione_ = c;
}

QString XlsCodePage::Testo(std::string_view byte) const
{
    if (byte.empty())
        return {};
    // Some programs write Excel 5.0 files that name UTF-16 and hold each text either in
    // ASCII bytes or, when it has other characters, in UTF-16.
    if (utf16_) {
        const bool ascii = std::all_of(byte.begin(), byte.end(), [](char c) { return static_cast<unsigned char>(c) - 1u < 0x7Fu; });
        if (!ascii && byte.size() % 2 == 0) {
            QString testo(static_cast<qsizetype>(byte.size() / 2), Qt::Uninitialized);
            for (qsizetype i = 0; i < testo.size(); ++i)
                testo[i] = QChar(static_cast<char16_t>(static_cast<unsigned char>(byte[2 * i]) | (static_cast<unsigned char>(byte[2 * i + 1]) << 8)));
            return testo;
        }
    }
    if (!conversione_)
        return QString::fromLatin1(byte.data(), static_cast<qsizetype>(byte.size()));
    auto* c = static_cast<iconv_t>(conversione_);
    iconv(c, nullptr, nullptr, nullptr, nullptr);
    // A byte makes at most one UTF-16 unit in these code pages (a held base letter and its
    // accent make one); twice that and more for safety.
    std::u16string uscita(2 * byte.size() + 4, u'\0');
    char* in = const_cast<char*>(byte.data());
    std::size_t restanti = byte.size();
    char* out = reinterpret_cast<char*>(uscita.data());
    std::size_t spazio = uscita.size() * 2;
    // Code pages with accents as characters of their own (1258, 1255) hold a letter back
    // until they know no accent follows: only this call gives it out.
    const auto svuota = [&] { iconv(c, nullptr, nullptr, &out, &spazio); };
    while (restanti > 0) {
        if (iconv(c, &in, &restanti, &out, &spazio) != static_cast<std::size_t>(-1) || errno == E2BIG)
            break;
        // A byte the code page does not define becomes U+FFFD, as a spreadsheet would show
        // an unknown character; a double-byte character cut at the end, too.
        svuota();
        if (spazio < 2)
            break;
        const char16_t sostituto = u'\uFFFD';
        std::memcpy(out, &sostituto, 2);
        out += 2;
        spazio -= 2;
        ++in;
        --restanti;
    }
    svuota();
    const auto unita = static_cast<qsizetype>((out - reinterpret_cast<char*>(uscita.data())) / 2);
    return QString(reinterpret_cast<const QChar*>(uscita.data()), unita);
}

} // namespace quercino::sheets
