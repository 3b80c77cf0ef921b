#include "pdf/Tavlo.h"

#include "pdf/core/AsciiCase.h"
#include "pdf/core/Colors.h"
#include "pdf/core/PatternTwins.h"
#include "pdf/core/PdfFormat.h"
#include "pdf/core/PdfName.h"
#include "pdf/core/TavloState.h"

#include <cctype>

namespace tavlo {

void Tavlo::AddGradient(const std::string& alias, std::int32_t style, const std::string& startColor,
                        const std::string& endColor, float xStart, float yStart, float xEnd, float yEnd, float rStart,
                        float rEnd, bool extendBefore, bool extendAfter)
try {
    TavloState& s = *s_;
    // Both colours are checked before anything is written.
    const std::string c0 = HexColorToRgb(ParseColor(startColor).form);
    const std::string c1 = HexColorToRgb(ParseColor(endColor).form);

    // The pattern's coordinates are those of the drawing members: from the top-left corner
    // inside the margins on a page. A recorded object is drawn in that space already, so the
    // twin used inside objects keeps the coordinates as they are.
    PatternRecipe recipe;
    recipe.head = "<</Type /Pattern /PatternType 2 /Matrix [ ";
    recipe.tail = "] /Shading <<\r\n/ColorSpace /DeviceRGB\r";
    if (style == 1)
        recipe.tail += "/ShadingType 3 /Coords [" + PdfScaledNumber(xStart) + " " + PdfScaledNumber(yStart) + " " +
                       PdfScaledNumber(rStart) + " " + PdfScaledNumber(xEnd) + " " + PdfScaledNumber(yEnd) + " " +
                       PdfScaledNumber(rEnd) + "]\r";
    else
        recipe.tail += "/ShadingType 2 /Coords [" + PdfScaledNumber(xStart) + " " + PdfScaledNumber(yStart) + " " +
                       PdfScaledNumber(xEnd) + " " + PdfScaledNumber(yEnd) + "]\r";
    recipe.tail += "/Extend [" + PdfBoolean(extendBefore) + " " + PdfBoolean(extendAfter) + "] \r/Function \r" +
                   "<< /FunctionType 3 /Domain [0.000 1.000] /Bounds [] /Encode [0 1 ] \r/Functions [\r" +
                   "<< /FunctionType 2 /Domain [0.000 1.000] /C0 [" + c0 + "] /C1 [" + c1 + "] /N 1 >>]\r>>\r>>\r>>";
    const double top = s.PageHeight - s.MarginTop;
    recipe.frame = PatternFrame(s.MarginLeft, top);
    const std::string onPage = recipe.head + PatternPageMatrix(recipe, s.MarginLeft, top) + recipe.tail;
    const std::string inObject = recipe.head + "1 0 0 1 0 0" + recipe.tail;

    const std::int32_t n = NewObj();
    PutLine(onPage);
    EndObj();
    const std::int32_t twin = NewObj();
    PutLine(inObject);
    EndObj();
    std::string name = alias;
    const std::size_t first = name.find_first_not_of(' ');
    name = first == std::string::npos ? std::string() : name.substr(first, name.find_last_not_of(' ') - first + 1);
    name = AsciiUpper(name);
    s.Patterns += PdfName(name) + " " + std::to_string(n) + " 0 R \r";
    s.Patterns += PdfName(PatternTwinName(name)) + " " + std::to_string(twin) + " 0 R \r";
    s.doc.PatternRecipes[name] = std::move(recipe);
} catch (...) {
    RaiseRecorded("AddGradient");
}

} // namespace tavlo
