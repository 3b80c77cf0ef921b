#include "pdf/Tavlo.h"

#include "pdf/core/TavloState.h"
#include "pdf/core/Windows1252.h"
#include "pdf/draw/BarCodeFrame.h"
#include "pdf/draw/EanSymbols.h"

#include <string>

namespace tavlo {

float Tavlo::EncodeEan13(const std::string& code, float x, float y, bool showCode, float zoomFactor, float height)
{
    return EncodeEan(code, x, y, showCode, zoomFactor, height, true);
}

float Tavlo::EncodeEan8(const std::string& code, float x, float y, bool showCode, float zoomFactor, float height)
{
    return EncodeEan(code, x, y, showCode, zoomFactor, height, false);
}

float Tavlo::EncodeEan(const std::string& code, float x, float y, bool showCode, float zoomFactor, float height,
                       bool ean13)
{
    const EanSymbol symbol = MakeEanSymbol(code, ean13 ? 12 : 7);
    if (symbol.digits.empty()) {
        const char* wanted = ean13 ? "Il codice EAN-13 richiede 12 cifre (13 con quella di controllo)"
                                   : "Il codice EAN-8 richiede 7 cifre (8 con quella di controllo)";
        CaptureError("DrawBarCode", Utf8FromWindows1252(code), TavloError(ErrorCode::InvalidArgument, wanted));
        return 0;
    }
    const BarCodeFrame f =
        MakeBarCodeFrame(zoomFactor, static_cast<float>(s_->Scale), showCode, height, 0.936f, ean13 ? 64.8f : 48.96f);
    const float m = f.module;
    const float h = f.barHeight;
    const float t = f.textBand;
    const auto at = [&](std::size_t modules) { return x + static_cast<float>(modules) * m; };

    return DrawInSavedState(showCode, [&] {
        if (showCode) {
            const float baseline = y + h + 1.6f * t;
            const float size = f.zoom * 10.08f;
            if (ean13) {
                BarCodeCaption(symbol.digits.substr(0, 1), at(3), baseline, size, false);
                BarCodeCaption(symbol.digits.substr(1, 6), at(35), baseline, size, true);
                BarCodeCaption(symbol.digits.substr(7, 6), at(82), baseline, size, true);
            } else {
                BarCodeCaption(symbol.digits.substr(0, 4), at(28), baseline, size, true);
                BarCodeCaption(symbol.digits.substr(4, 4), at(61), baseline, size, true);
            }
        }

        // The symbol starts after a quiet zone of eleven modules. Guards reach into the band
        // of the digits.
        const std::string& modules = symbol.modules;
        const std::size_t middle = modules.size() / 2 - 2;  // first module of the centre guard
        const std::string heightOfGuard = PdfScaledNumber(h + t);
        const std::string top = " " + PdfScaledNumber(y) + " ";
        for (std::size_t n : {std::size_t{0}, std::size_t{2}, middle + 1, middle + 3, modules.size() - 3,
                              modules.size() - 1})
            PutContent(PdfScaledNumber(at(11 + n)) + top + PdfScaledNumber(m) + " " + heightOfGuard + " re f*");

        // Data bars, one rectangle per bar: adjacent one-module rectangles leave seams in
        // anti-aliased rendering that scanners read as spaces.
        const std::string heightOfData = PdfScaledNumber(h);
        auto dataRuns = [&](std::size_t from, std::size_t to) {
            std::size_t n = from;
            while (n < to) {
                if (modules[n] != '1') {
                    ++n;
                    continue;
                }
                std::size_t end = n;
                while (end < to && modules[end] == '1')
                    ++end;
                PutContent(PdfScaledNumber(at(11 + n)) + top + PdfScaledNumber(static_cast<float>(end - n) * m) + " " +
                           heightOfData + " re f*");
                n = end;
            }
        };
        dataRuns(3, middle);
        dataRuns(middle + 5, modules.size() - 3);

        return static_cast<float>(11 + modules.size() + 7) * m;
    });
}

} // namespace tavlo
