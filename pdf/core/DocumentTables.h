#pragma once
// The record tables of one document: fonts, outline, layers, recorded objects, named
// destinations, page labels and the widgets of the open page. Abort renews them with the
// rest of the document state; the counters in ResourceState and InteractiveState follow their sizes.

#include "pdf/core/Bytes.h"

#include <array>
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace tavlo {

struct FontEntry {
    std::string Key;            // upper-cased resource name the record was made under
    std::int16_t FontType = 0;  // 0 built-in, -1 TrueType
    std::string BaseFont;
    std::array<std::int16_t, 256> Widths{};
    std::int16_t LineHeight = 0;
    std::int32_t Descent = 0;
    std::int32_t EncodingFlag = 0;  // 1 Mac Roman, otherwise Windows ANSI
    std::string ResourceName;       // as written in the resources, without "/"
    bool Written = false;           // a font chosen before BeginDoc is written by it
    // A TrueType font's descriptor entries, and its file while it waits to be embedded.
    std::string Descriptor;
    Bytes Program;
};

struct BookmarkEntry {
    std::string title;
    std::int16_t level = 0;
    std::int32_t page = 1;
    std::string colour;
    std::int16_t style = 0;
    std::string destination;
    std::int32_t parent = 0, own = 0, first = 0, last = 0, next = 0, prev = 0;
};

struct LayerEntry {
    std::string name;
    bool visible = false;
    bool listed = false;
};

struct ObjectEntry {
    std::string name;
    std::string annotations;  // " n 0 R " of annotations made while it was recorded
    std::int32_t flags = 0;
};

struct DestEntry {
    std::int32_t page = 1;  // -1: the last page
    std::string view;
    std::string name;       // with its leading "/", already a valid name token
};

struct PageLabelEntry {
    std::int32_t style = 1;
    std::string prefix;
    std::int32_t first = -1;
};

struct FieldEntry {
    std::string name, head, extra, actions;
    bool inCalcOrder = false;
    std::string caption, appearance, look, tooltip, value;
    std::int16_t defaultIndex = 0;
    std::int32_t kind = 0;
};

// What is needed to write a tiling pattern or gradient again for pages whose margins or
// height put the drawing members' origin elsewhere: its text around the matrix, and the cell.
struct PatternRecipe {
    bool tiling = false;
    std::string head, tail, cell;
    double cellHeight = 0;                        // points
    std::string frame;                            // the origin the first object was made for
    std::map<std::string, std::string> variants;  // origin -> resource name written for it
};

struct DocumentTables {
    std::vector<FontEntry> Fonts;             // record n at index n - 1
    std::vector<BookmarkEntry> Bookmarks;
    std::vector<LayerEntry> Layers;
    std::vector<ObjectEntry> RecordedObjects;
    std::vector<DestEntry> Destinations;
    std::vector<FieldEntry> Fields;           // widgets of the open page
    std::map<std::int32_t, PageLabelEntry> PageLabels;  // by 0-based page index
    std::set<std::string> PlayedNames;        // every name PlayObject placed, recorded or not
    std::map<std::string, PatternRecipe> PatternRecipes;  // by upper-case pattern name

    // Current font
    std::string FontResource, FontName;
    std::int32_t FontStyle = 0;
    float FontSize = 0;

    // Colours given to uncoloured patterns, transparency states
    std::string FillColorAlt, LineColorAlt, TextColorAlt;
    std::int32_t AlphaCount = 0;
    bool OpaqueState = false;                 // /GSTATE_0 written: full opacity, for imported pages

    // Tiling pattern being recorded; its twin for recorded objects differs only in the matrix
    std::string TilingName, TilingHead, TilingObjectHead;
    PatternRecipe TilingRecipe;

    // Layer sections open in the recorded object, the tiling cell and the page
    std::int32_t ObjectLayers = 0, TilingLayers = 0, PageLayers = 0;

    // Bounding box of the last shape drawn, in page space
    std::array<double, 4> LastBox{};
};

} // namespace tavlo
