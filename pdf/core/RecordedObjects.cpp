#include "pdf/Tavlo.h"

#include "pdf/core/AsciiCase.h"
#include "pdf/core/LayerSections.h"
#include "pdf/core/PatternTwins.h"
#include "pdf/core/PdfFormat.h"
#include "pdf/core/PdfName.h"
#include "pdf/core/TavloState.h"

#include <algorithm>
#include <cctype>

namespace tavlo {

namespace {

std::string TrimmedUpper(const std::string& text)
{
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos)
        return std::string();
    return AsciiUpper(text.substr(first, text.find_last_not_of(' ') - first + 1));
}

bool PlayedOnPage(std::int32_t flags, std::int32_t page)
{
    const bool first = page == 1;
    const bool notFirst = (flags & 8) != 0;
    if ((flags & 7) == 7 && !(first && notFirst))
        return true;
    if ((flags & 2) && page % 2 == 0)
        return true;
    if ((flags & 4) && page % 2 == 1 && !(first && notFirst))
        return true;
    return (flags & 1) && first && !notFirst;
}

} // namespace

void Tavlo::BeginObject(const std::string& name, std::int32_t flags)
{
    TavloState& s = *s_;
    if (s.InObject)
        return;
    s.InObject = true;
    s.doc.RecordedObjects.push_back(ObjectEntry{name, std::string(), flags});
    s.RecordedCount = static_cast<std::int32_t>(s.doc.RecordedObjects.size());
    CloseSpacesAtEnd(ContentTarget::Object);
    s.ObjectContent.Reset();
    s.doc.ObjectLayers = 0;
}

void Tavlo::EndObject()
{
    TavloState& s = *s_;
    // Without an open recording there is nothing to write: another copy of the last
    // object would only add a second resource of the same name.
    if (!s.InObject)
        return;
    const ObjectEntry& entry = s.doc.RecordedObjects.back();
    CloseSpacesAtEnd(ContentTarget::Object);
    CloseLayerSections(s.ObjectContent, s.doc.ObjectLayers);
    Bytes data = BytesOf(s.ObjectContent.Text());
    const std::int32_t n = NewObj();
    PutLine("<< /Type /XObject /Subtype /Form /FormType 1 /Name " + PdfName(entry.name) + "\r/BBox [" +
            PdfNumber(-2 * s.PageWidth) + " " + PdfNumber(-2 * s.PageHeight) + " " + PdfNumber(2 * s.PageWidth) +
            " " + PdfNumber(2 * s.PageHeight) + "]\r/Matrix [1 0 0 1 0 0]");
    WriteStream(data, 0, "", 0);
    EndObj();
    s.XObjectResources += PdfName(entry.name) + " " + std::to_string(n) + " 0 R \r";
    s.InObject = false;
}

void Tavlo::PlayObject(const std::string& name)
{
    PutContent("q " + PdfName(name) + " Do Q");
    s_->doc.PlayedNames.insert(name);
}

void Tavlo::PlayAutoObjects(bool atEnd)
{
    TavloState& s = *s_;
    const std::int32_t page = s.PageCount;
    // The object still being recorded is not finished: playing it would put it inside itself.
    const std::size_t finished = s.doc.RecordedObjects.size() - (s.InObject ? 1 : 0);
    for (std::size_t i = 0; i < finished; ++i) {
        const ObjectEntry& entry = s.doc.RecordedObjects[i];
        if (((entry.flags & 16) != 0) != atEnd)
            continue;
        if (!PlayedOnPage(entry.flags, page))
            continue;
        PlayObject(entry.name);
        s.PageAnnots += entry.annotations;
    }
}

void Tavlo::BeginTiling(const std::string& name, float x1, float y1, float x2, float y2, float xStep, float yStep,
                        std::int32_t uncoloured)
try {
    TavloState& s = *s_;
    if (!s.InTiling) {
        // The cells start where the drawing members' coordinates do, at the top-left corner
        // inside the margins, so a shape drawn at a multiple of the steps holds whole cells.
        // The head is made before anything changes: a number no reader takes raises with no
        // recording left open under an old head.
        const std::string cellHeight = PdfScaledNumber(static_cast<double>(y2) - y1);
        PatternRecipe recipe;
        recipe.tiling = true;
        recipe.cellHeight = (static_cast<double>(y2) - y1) * s.Scale;
        recipe.frame = PatternFrame(s.MarginLeft, s.PageHeight - s.MarginTop);
        const std::string matrix = PatternPageMatrix(recipe, s.MarginLeft, s.PageHeight - s.MarginTop);
        const std::string head = std::string("<< /Type /Pattern /PatternType 1 /PaintType ") +
                                 (uncoloured == 0 ? "1" : "2") + "\r/TilingType 1\r/BBox [" + PdfScaledNumber(x1) +
                                 " " + PdfScaledNumber(y1) + " " + PdfScaledNumber(x2) + " " + PdfScaledNumber(y2) +
                                 "]\r/Resources 3 0 R\r/XStep " + PdfScaledNumber(xStep) + " /YStep " +
                                 PdfScaledNumber(yStep) + "\r/Matrix [";
        s.InTiling = true;
        s.doc.TilingName = TrimmedUpper(name);
        s.doc.TilingHead = head + matrix + "]";
        // Inside a recorded object the space is the one it is played in, already flipped and
        // moved inside the margins: the twin only turns the cell upright again.
        s.doc.TilingObjectHead = head + "1 0 0 -1 0 " + cellHeight + "]";
        recipe.head = head;
        recipe.tail = "]";
        s.doc.TilingRecipe = std::move(recipe);
        CloseSpacesAtEnd(ContentTarget::Tiling);
        s.TilingContent.Reset();
        s.doc.TilingLayers = 0;
        s.TilingContent.Append("1 0 0 -1 0 " + cellHeight + " cm");
    }
    s.ColorLocked = uncoloured == 1;
} catch (...) {
    RaiseRecorded("BeginTiling");
}

void Tavlo::EndTiling()
{
    TavloState& s = *s_;
    // A pattern without an open recording would be an empty cell under a name already used.
    if (!s.InTiling)
        return;
    CloseSpacesAtEnd(ContentTarget::Tiling);
    CloseLayerSections(s.TilingContent, s.doc.TilingLayers);
    Bytes data = BytesOf(s.TilingContent.Text());
    s.InTiling = false;
    s.ColorLocked = false;
    s.doc.TilingRecipe.cell = s.TilingContent.Text();
    s.doc.PatternRecipes[s.doc.TilingName] = s.doc.TilingRecipe;
    Bytes twin = data;
    const std::int32_t n = NewObj();
    PutLine(s.doc.TilingHead);
    WriteStream(data, 0, "", 0);
    EndObj();
    s.Patterns += PdfName(s.doc.TilingName) + " " + std::to_string(n) + " 0 R \r";
    const std::int32_t t = NewObj();
    PutLine(s.doc.TilingObjectHead);
    WriteStream(twin, 0, "", 0);
    EndObj();
    s.Patterns += PdfName(PatternTwinName(s.doc.TilingName)) + " " + std::to_string(t) + " 0 R \r";
}

std::string PatternTwinName(const std::string& name)
{
    // Pattern names are upper case: a lower-case suffix never meets a caller's name.
    return name + "_obj";
}

std::string PatternFrame(double marginLeft, double top)
{
    return PdfNumber(marginLeft) + " " + PdfNumber(top);
}

std::string PatternPageMatrix(const PatternRecipe& recipe, double marginLeft, double top)
{
    // A tiling cell is drawn downwards from its top edge, a gradient in the page's own flip.
    if (recipe.tiling)
        return "1 0 0 1 " + PdfNumber(marginLeft) + " " + PdfNumber(top - recipe.cellHeight);
    return "1 0 0 -1 " + PdfNumber(marginLeft) + " " + PdfNumber(top);
}

std::string Tavlo::PatternForPage(const std::string& name)
{
    TavloState& s = *s_;
    const auto found = s.doc.PatternRecipes.find(name);
    if (found == s.doc.PatternRecipes.end())
        return name;
    PatternRecipe& recipe = found->second;
    const double top = s.PageHeight - s.MarginTop;
    const std::string frame = PatternFrame(s.MarginLeft, top);
    if (frame == recipe.frame)
        return name;
    const auto written = recipe.variants.find(frame);
    if (written != recipe.variants.end())
        return written->second;
    // Lower-case suffix: never a caller's (upper-case) pattern name.
    const std::string variant = name + "_p" + std::to_string(recipe.variants.size() + 1);
    const std::int32_t n = NewObj();
    PutLine(recipe.head + PatternPageMatrix(recipe, s.MarginLeft, top) + recipe.tail);
    if (recipe.tiling) {
        Bytes cell = BytesOf(recipe.cell);
        WriteStream(cell, 0, "", 0);
    }
    EndObj();
    s.Patterns += PdfName(variant) + " " + std::to_string(n) + " 0 R \r";
    recipe.variants.emplace(frame, variant);
    return variant;
}

} // namespace tavlo
