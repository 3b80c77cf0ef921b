// The deflate decoder against zlib on the same bytes. Whatever zlib decodes within the
// output cap we decode to the same bytes; where zlib's output passes the cap we raise the
// overflow error. (We are laxer than zlib in a few places the encoder may use, such as
// distance codes 30 and 31, so a stream zlib refuses may still decode here.)

#include "fuzz/FuzzHarness.h"
#include "pdf/core/TavloError.h"
#include "pdf/media/Inflate.h"

#include <zlib.h>

#include <cstdlib>
#include <optional>

namespace {

constexpr std::size_t Limite = 1 << 20;

struct Zlib {
    std::optional<tavlo::Bytes> byte;   // the output when the final block ended
    bool oltreLimite = false;
};

Zlib Decodifica(const std::uint8_t* data, std::size_t size)
{
    Zlib esito;
    z_stream z{};
    if (inflateInit2(&z, -15) != Z_OK)
        std::abort();
    tavlo::Bytes uscita(Limite + 1);
    z.next_in = const_cast<Bytef*>(data);
    z.avail_in = static_cast<uInt>(size);
    z.next_out = uscita.data();
    z.avail_out = static_cast<uInt>(uscita.size());
    const int rc = inflate(&z, Z_FINISH);
    const std::size_t prodotti = z.total_out;
    inflateEnd(&z);
    if (prodotti > Limite) {
        esito.oltreLimite = true;
    } else if (rc == Z_STREAM_END) {
        uscita.resize(prodotti);
        esito.byte = std::move(uscita);
    }
    return esito;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const Zlib zlib = Decodifica(data, size);
    try {
        const tavlo::Bytes nostri = tavlo::inflate::InflateData(data, size, Limite);
        if (zlib.oltreLimite || (zlib.byte && *zlib.byte != nostri))
            std::abort();
    } catch (const tavlo::TavloError& errore) {
        if (zlib.byte || (zlib.oltreLimite && errore.Number() != tavlo::ErrorCode::Overflow))
            std::abort();
    }
    return 0;
}
