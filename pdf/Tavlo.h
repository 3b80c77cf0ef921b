#pragma once
// Tavlo: a self-contained PDF writer. One instance writes one document at a time; every
// member shares the state held in TavloState (pdf/core/TavloState.h).
//
// Texts are std::string holding Windows-1252 bytes (the file's code page), those given and
// those returned alike: GetInfo's title, subject and author, ErrSource and ErrDescription too
// (the file name in a description converted from the file system's UTF-8, characters the
// code page lacks as "?"). File names are given as the file system takes them (UTF-8); the
// what() of a raised tavlo::TavloError is UTF-8, as exception texts are. Binary values
// (keys, digests, streams) are tavlo::Bytes. Members that trap their own errors record them
// for ErrNumber/ErrSource/ErrDescription (catch, then CaptureError with the member's name);
// every other member raises tavlo::TavloError. A member that refuses a call (5) or would
// write a number no reader takes (6, past 2147483647) writes nothing, records the error under
// its own name and raises it.
//
// The class is one interface over several folders: pdf/core (state, output, objects,
// security, compression), pdf/draw (drawing, text, fonts), pdf/media (images, import).
// Each member is implemented in the file of its concern; all of them share TavloState.
// Pure algorithms (digests, ciphers, encoders, number forms) are free functions in
// pdf/core that the members call.

#include "pdf/core/Bytes.h"
#include "pdf/core/StreamEncoding.h"
#include "pdf/core/TavloError.h"

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace tavlo {

struct TavloState;
struct RasterImage;
struct VectorDrawing;
struct VectorPlacement;
struct StateEntry;
class StringBuffer;
struct BarCodeFrame;
enum class ContentTarget;

class Tavlo {
public:
    Tavlo();
    ~Tavlo();
    Tavlo(const Tavlo&) = delete;
    Tavlo& operator=(const Tavlo&) = delete;

    // The default author, creator and producer of every new document: the host sets it
    // (the application passes its current declarant's display name), empty otherwise.
    static void SetDefaultAuthorSource(std::function<std::string()> source);

    // State and errors
    void Abort();
    void SetMemoryUsage(std::int32_t level);
    std::string Version() const;
    std::int32_t ErrNumber() const;
    std::string ErrSource() const;
    std::string ErrDescription() const;
    std::int32_t FileSize() const;

    // Security: allowed only while no object of the document has been written.
    void SetProtection(std::int32_t flags, const std::string& ownerPassword, const std::string& userPassword);

    // Compression: flags are the tavlo::Filter bits, level 0..3 (higher becomes 3).
    void SetCompression(std::uint32_t flags, std::uint8_t level);
    // Replaces data by its zlib stream; lastIndex receives the index of its last byte.
    void zzToFlateDecode(Bytes& data, std::int32_t& lastIndex, std::uint8_t level);

    // Document lifecycle. BeginDoc traps its errors (ErrNumber...) and returns the path used.
    // The document takes that name only once EndDoc has written it whole: a failed EndDoc
    // (61 for a full disk) or an Abort leaves the earlier file of that name as it was.
    std::string BeginDoc(const std::string& fileName);
    void EndDoc();
    void SetDocProperty(const std::string& title, const std::string& subject, const std::string& author,
                        const std::string& creator, const std::string& producer, const std::string& keywords);
    void SetViewerPreferences(std::int32_t flags);
    void OpenDoc();

    // Page settings and position (user units; Scale points per unit)
    void SetPaperSize(std::int32_t code, float width = 0, float height = 0);
    void SetScale(std::int32_t unit, float factor = 1);
    void SetMargins(float left, float right, float top, float bottom, bool clip);
    void SetPageView(std::int32_t rotation);
    void SetPageTransition(std::int32_t style, float duration, float transitionDuration);
    void SetLabel(std::int32_t style, const std::string& prefix, std::int16_t first);
    void SetXY(float x, float y);
    float GetX() const;
    float GetY() const;
    std::int32_t GetPage() const;
    float GetPageWidth(bool withinMargins) const;
    float GetPageHeight(bool withinMargins) const;

    // Pages
    std::int32_t BeginPage();
    void EndPage();

    // Bookmarks: returns "@" and the record number, empty when nothing was added.
    std::string AddBookmark(const std::string& title, std::int16_t level, std::int32_t fit, float x, float y,
                            float w, float h, float zoom, const std::string& colour, std::int32_t style);

    // Form fields, notes, links and scripts. Rectangles are in user units, y downwards.
    // extra: the maximum length (text field) or selected option (lists) as a number, the
    // script of a push button as a text.
    void AddField(const std::string& name, std::int32_t kind, float x, float y, float w, float h,
                  const std::string& value, std::int32_t extra, const std::string& tooltip, std::int32_t options);
    void AddField(const std::string& name, std::int32_t kind, float x, float y, float w, float h,
                  const std::string& value, const std::string& extra, const std::string& tooltip,
                  std::int32_t options);
    void AddNoteBox(const std::string& text, float x, float y, float w, float h, std::int32_t align,
                    std::int32_t border, float dash, float gap, std::int32_t flags);
    void AddNoteIcon(const std::string& text, std::int32_t icon, float x, float y, bool open, std::int32_t flags);
    void LinkTo(const std::string& target, std::int16_t border, std::int32_t highlight, std::int32_t fit = 0,
                float x = 0, float y = 0, float w = 0, float h = 0, float zoom = 0);
    void DefineRef(const std::string& name, std::int32_t fit, float x, float y, float w, float h, float zoom);
    void OnDocEvent(std::int32_t event, const std::string& script, bool replace);
    void OnFieldEvent(std::int32_t event, const std::string& name, const std::string& script);

    // Layers
    void BeginLayer(const std::string& name, std::int16_t visible, std::int16_t listed);
    void EndLayer();

    // Recorded objects and tiling patterns
    void BeginObject(const std::string& name, std::int32_t flags);
    void EndObject();
    void PlayObject(const std::string& name);
    void BeginTiling(const std::string& name, float x1, float y1, float x2, float y2, float xStep, float yStep,
                     std::int32_t uncoloured);
    void EndTiling();

    // Colours, gradients and transparency
    void SetColorFill(const std::string& color);
    void SetColorLine(const std::string& color);
    void SetColorText(const std::string& color);
    void SetAlpha(std::int16_t value);
    void AddGradient(const std::string& alias, std::int32_t style, const std::string& startColor,
                     const std::string& endColor, float xStart, float yStart, float xEnd, float yEnd,
                     float rStart = 0, float rEnd = 0, bool extendBefore = false, bool extendAfter = false);

    // Coordinate transforms: act on everything drawn after them until the graphics state
    // is restored. Angles in degrees, translations in user units, factors unscaled.
    void AxisRotation(float angle);
    void AxisScaling(float scaleX, float scaleY);
    void AxisSkewing(float angleX, float angleY);
    void AxisTranslation(float translateX, float translateY);

    // Drawing spaces: a saved graphics state with its origin moved to newX, newY (user
    // units), its axes scaled by the factors and turned by angle (degrees); the position
    // moves to the new origin. EndSpace ends the last space still open in the content being
    // recorded; the spaces left open are ended with the page, recorded object or tiling cell.
    void BeginSpace(float newX, float newY, float scaleX, float scaleY, float angle);
    void EndSpace();

    // Tables from the top-left corner x, y (user units): row by row, BeginRow(height), then
    // BeginColumn(width) ... EndColumn for each cell, EndRow; or column by column the other
    // way round. Each cell is a drawing space whose origin is its top-left corner, painted
    // in the fill colour and, with a line width above 0, bordered in the stroke colour. A
    // table begun in a cell lies inside it; the outer table goes on after its EndTable.
    void BeginTable(float x, float y);
    void EndTable();
    void BeginRow(float height);
    void EndRow();
    void BeginColumn(float width);
    void EndColumn();

    // Paths and shapes in user units, y downwards. options: the paint-style bits (4 fill,
    // 1 fill only or leave the path open, 2 close, 128 clip), see PaintPath.
    void MoveTo(float x, float y);
    void DrawLine(float x1, float y1, float x2, float y2, std::int32_t options);
    void DrawLineTo(float x, float y, std::int32_t options);
    void DrawCurve(std::int16_t curveType, float x1, float y1, float x2, float y2, float x3, float y3,
                   std::int32_t options);
    void DrawRect(float x, float y, float width, float height, std::int32_t options, float ray = 0,
                  std::int32_t roundedCorner = 0);
    void DrawEllipse(float x, float y, float xRay, float yRay, std::int32_t options);
    void DrawCircle(float x, float y, float ray, std::int32_t options);
    void DrawArc(float x, float y, float ray, float startAngle, float endAngle, float ratio, bool pie,
                 std::int16_t quality, std::int32_t options);
    void DrawPolygon(float x, float y, float ray, std::int16_t sides, std::int32_t options);
    // points: x and y of each point in turn.
    void DrawPolyline(const std::vector<float>& points, std::int32_t options);

    // How paths are stroked from now on: width in user units (a negative one is ignored);
    // style bits 16-112 the cap, 0-7 the join, a miter limit from 1; a dash pattern by name
    // (SOLID, DASH, DOT, DASHDOT, DASHDOTDOT) or as lengths in user units split by ";".
    void SetLineWidth(float width);
    void SetLineStyle(std::int32_t style, float miterLimit);
    void SetDash(const std::string& pattern, float phase);

    // Fonts
    void SetFont(const std::string& fontFamily, float size, std::int32_t style, std::int32_t encoding);
    void SetFontSize(float size);
    // A TrueType file made usable for text under fontAlias (its own name when empty), its
    // whole file embedded when embedded is not 0, read as Mac Roman when encoding is 1.
    // Returns the name SetFont finds it by, "" when the file is missing or not a TrueType
    // font it can read (the error is recorded: ErrNumber...).
    std::string AddFont(const std::string& ttfFile, const std::string& fontAlias, std::int16_t embedded,
                        std::int32_t encoding);

    // Images: a BMP, GIF (frame: which image of the file, from 1), JPEG (.JPG, .JPEG) or TGA file,
    // a Windows metafile (.WMF) or an EPS or Illustrator file (.EPS, .AI) placed with its
    // top-left corner at x, y (user units); a width or height of 0 is derived from the
    // picture (one pixel a point). colorMask: a colour of a BMP file left transparent.
    // Errors reading the file are recorded (ErrNumber), not raised; nothing is placed then.
    void DrawImage(const std::string& fileName, float x, float y, float width, float height,
                   std::int16_t frame = 1, const std::string& colorMask = "");

    // Existing PDF files (classic cross-reference tables, not encrypted). GetInfo reads a file
    // once per document (names compared in upper case) and returns its page count with its
    // title, subject and author, written only on success; a file it cannot read returns 0
    // with the error recorded (ErrNumber: 53 missing, 321 refused, with the reason).
    std::int32_t GetInfo(const std::string& fileName, std::string& pdfTitle, std::string& pdfSubject,
                         std::string& pdfAuthor, std::int16_t& pdfEncrypted);
    // Places page pageNumber (from 1) of a PDF file with its top-left corner at destX, destY
    // and the size xDim by yDim (user units; 0 derives it from the page, keeping its
    // proportions). The page is copied once per document as a form, drawn from a page's
    // initial colours, line and text settings whatever this page set; a page beyond the file's
    // count places nothing, a damaged one records its error and places nothing.
    void ImportPage(const std::string& fileName, std::int32_t pageNumber, float destX, float destY, float xDim,
                    float yDim);

    // Barcodes: 0 EAN-13, 1 Code 39, 2 Interleaved 2 of 5, 3 POSTNET, 4 Code 128, 5 EAN-8.
    // x, y: left edge of the quiet zone and top of the bars (user units); zoom clamped to
    // 0.8 ... 2.0; height of bars and text together, 0 for the default. Returns the width
    // drawn, quiet zones included; 0 when nothing was drawn (unknown type, text the
    // symbology cannot carry). addCheck appends the optional check character of Code 39 and
    // Interleaved 2 of 5. POSTNET takes 5, 9 (with or without one separator) or 11 digits
    // and its own fixed height. EAN-13 takes 12 digits and EAN-8 7, or one more in the check
    // digit's place, which is computed all the same; their refusals are recorded (ErrNumber).
    float DrawBarCode(std::int32_t barCodeType, const std::string& code, float x, float y, bool showCode,
                      float zoomFactor, float height, bool addCheck);

    // Text state: spacings in points, scaling in percent, written as text-state operators
    // that stay in force until changed; the line spacing is a factor kept for the text
    // members (a negative one is ignored). Modes outside 0-7 are left out.
    void SetCharSpacing(float w);
    void SetWordSpacing(float w);
    void SetTextHorizontalScaling(float percent);
    void SetTextLineSpacing(float value);
    void SetTextMode(std::int32_t mode);
    // The width of a Windows-1252 text in the current font with the spacings and scaling
    // applied, and the height of one line, in user units; 0 with no font chosen.
    float TextLength(const std::string& phrase) const;
    float TextHeight() const;
    // One line of text with its baseline at y, from x (align 1 and every value but these), ending
    // at x (2) or centred on x (4); the position moves behind it.
    void DrawText(float x, float y, const std::string& text, std::int32_t align = 1);
    // Paragraphs (split at CR LF) broken into lines that fit the box, each paragraph's first
    // line indented; align adds the horizontal alignment of DrawText's lines (1, 2, 4, 64
    // justify, 128 shrink, 256 fit) to the vertical one (32 centre, 16 bottom, else top);
    // options paints the box (paint-style bits; 1 none). Returns what did not fit, to
    // continue in another box. With no font or no line height it records an error (ErrNumber)
    // and returns the whole text.
    std::string DrawTextBox(float x, float y, float width, float height, const std::string& text,
                            float indentation = 0, std::int32_t align = 9, std::int32_t options = 1);
    // A piece of the current line at the current position: textStyle 0 normal, 1 superscript,
    // 2 subscript, 3 reduced on the baseline, at percenteSize % of the font size; the position
    // moves behind it.
    void WriteText(const std::string& text, std::int32_t textStyle = 0, float percenteSize = 66);
    // A line at the current position, then the left edge one line lower (also for "").
    void WriteTextLn(const std::string& text);

    // "dd/mm/yyyy": the next Abort takes the date of the document from it.
    std::string DocDate;

private:
    friend class TavloTestPeer;

    // Errors
    void CaptureError(const std::string& member, const std::string& extra, const TavloError& error);
    void CaptureError(const std::string& member, const std::string& extra, const std::exception& error);
    // The handler of a member's function-try-block: a refused call (5) or an overflow (a number
    // past what readers take, among others) is recorded under the member's name, then raised on.
    [[noreturn]] void RaiseRecorded(const char* member);

    // Output primitives
    void PutLine(std::string_view line);
    void PutContent(std::string_view line);
    // The content being recorded: the object's, the tiling cell's or the page's; nullptr with
    // none open.
    StringBuffer* ActiveContent();
    std::string MakeTextString(std::string_view value);
    std::string PdfScaledNumber(double value) const;
    void RequireVersion(std::int32_t increment);

    // Security
    Bytes ObjectKey(std::int32_t& objectNumber);
    Bytes Rc4Crypt(const Bytes& key, const Bytes& data);
    // Encrypts stream data in place under the key of the object (0: the current one).
    void EncryptStreamData(Bytes& data, std::int32_t objectNumber);

    // Stream data through the chosen filters (not yet encrypted).
    EncodedStream EncodeStreamData(Bytes data, const std::string& presetFilters);
    // Flate data of a source PDF decoded (the deflate blocks, without the zlib header) into
    // InflateOutput, whose text it returns; damaged data raise TavloError.
    std::string InflateData(const Bytes& data);

    // Indirect objects and streams
    std::int32_t NewObj(std::int32_t& number);
    std::int32_t NewObj();
    void EndObj();
    void WriteStream(Bytes& data, std::int32_t number, const std::string& presetFilters, std::int32_t length1);
    std::int32_t WriteTextStreamObject(const std::string& text);

    // Font and image objects
    std::int32_t WriteFont(const std::string& resourceName, const Bytes& fontProgram, std::int32_t programLength,
                           const std::string& descriptorEntries);
    // softMask: one alpha byte per pixel, written as the image's soft mask (PDF 1.4);
    // decode: the entries of a /Decode array.
    // The samples are taken, not copied: at the pixel limit they are hundreds of megabytes.
    std::int32_t WriteImageXObject(const std::string& kind, Bytes pixels, const Bytes& palette,
                                   std::int32_t width, std::int32_t height, std::uint8_t bitsPerPixel,
                                   const std::string& name, const std::string& colourSpace,
                                   const std::string& presetFilters, const std::string& mask,
                                   Bytes softMask = {}, const std::string& decode = {});
    void WritePendingFonts();
    // Each reads the file at path into image record index (from 1), writes its object and
    // resource entry; records its errors instead of raising them.
    void LoadBmp(std::int32_t index, const std::string& path, const std::string& keyColour);
    void LoadGif(std::int32_t index, const std::string& path, std::int16_t frame);
    void LoadJpeg(std::int32_t index, const std::string& path);
    void LoadTga(std::int32_t index, const std::string& path);
    void LoadRaster(std::int32_t index, const std::string& path, const std::string& kind,
                    const std::function<RasterImage(const Bytes&)>& decode);
    // Copies a page of a source file into the output as the form named name; false, with the
    // error recorded, when the source cannot give it.
    bool WriteImportedPage(std::int32_t source, std::int32_t pageNumber, const std::string& name);
    // Vector pictures drawn into the content target; their errors are recorded.
    void PlayWmf(const std::string& path, float x, float y, float width, float height);
    void ImportEps(const std::string& path, float x, float y, float width, float height);
    void DrawVectorPicture(const std::string& path, float x, float y, float width, float height,
                           VectorDrawing (*translate)(const Bytes&, const VectorPlacement&));
    // Built-in fonts: each fills the newest record of the font table.
    void LoadArialMetrics(std::int32_t style);
    void LoadTimesNewRomanMetrics(std::int32_t style);
    void LoadCourierNewMetrics(std::int32_t style);
    void LoadSymbolMetrics();
    void LoadZapfDingbatsMetrics();

    // Pages, outline and the objects written at the end
    void PlayAutoObjects(bool atEnd);
    void WriteFieldWidgets(std::int32_t pageObject);
    std::int32_t WriteOutlines();
    std::int32_t WriteEncryptionDictionary();
    void WriteDocumentScripts(std::array<std::int32_t, 6>& eventScripts, std::int32_t& namesDictionary);
    void WriteLayerGroups(std::vector<std::int32_t>& groups);
    std::int32_t WriteNamedDestinations();
    // One annotation object from the dictionary text built by its member; its reference goes
    // to the open page or to the object being recorded.
    void WriteAnnotation(std::string dictionary, const std::string& contents, const std::string& title,
                         const std::string& appearance, const std::string& target);
    // The ZapfDingbats font under the name viewers draw check marks with ("ZaDb"), once
    // per document, in the shared font resources.
    void WriteCheckMarkFont();
    std::int32_t WriteCatalog(std::int32_t outlines, std::int32_t metadata, std::int32_t destinations,
                              std::int32_t names, const std::array<std::int32_t, 6>& scripts,
                              const std::vector<std::int32_t>& layerGroups);
    std::string PageLabelsEntry();
    std::string OptionalContentEntry(const std::vector<std::int32_t>& layerGroups);
    void WriteResourceDictionary(std::int32_t number, bool withPatterns, const std::string& layerProperties);
    std::string BuildXmpMetadata() const;

    // Text lines: the one writer of every line of text. width is the width aligned in (flags
    // 2 right, 4 centre, 64 justify, 128 shrink, 256 fit, compared after masking with
    // 0x1C7; anything else left); nextLine moves the position to the start of the next line.
    void EmitTextLine(float x, float y, float width, const std::string& text, float indent, std::int32_t flags,
                      bool nextLine);

    // Colours
    void SetColor(const std::string& color, std::string& current, std::string& alternate, const char* rgbOp,
                  const char* spaceOp, const char* patternOp);
    std::string PatternForPage(const std::string& name);

    // One conversion from user units to page space (points, y upwards, margins included).
    double PageSpaceX(double x) const;
    double PageSpaceY(double y) const;
    void SetLastBox(double left, double top, double right, double bottom);
    // The painting operator of a path for the paint-style bits.
    void PaintPath(std::int32_t options);

    // Drawing-state stack: position, scale, colours, font and line width of the class,
    // saved and written back.
    void PushGraphicState();
    void PopGraphicState();
    void RestoreDrawingState(const StateEntry& entry, bool write);

    // Graphics states opened by spaces, tables and cells, counted in each content stream.
    ContentTarget ActiveTarget() const;
    std::int32_t* OpenSpaces(ContentTarget target);
    void OpenSpace(const std::string& transform);
    void CloseSpacesTo(std::int32_t count);
    // What a page, recorded object or tiling cell being finished has left open.
    void CloseSpacesAtEnd(ContentTarget target);
    void BeginCell(float width, float height);
    void EndCell();
    // Row by row, a row holds cells that are columns; column by column the other way round.
    void BeginRowOrColumn(bool row, float size);
    void EndRowOrColumn(bool row);
    // The table around the one just ended, if any, becomes the open one again.
    void ResumeOuterTable();

    // Barcode encoders and the human-readable line under them. draw writes the symbol in a
    // graphics state of its own (and with showCode, between a push and a pop of the
    // drawing state) however it ends, and returns its width.
    float DrawInSavedState(bool showCode, const std::function<float()>& draw);
    // The caption of Code 128, Code 39 and Interleaved 2 of 5 under the bars, centred on the
    // whole width to right (the end of the right quiet zone), and that width.
    float FinishLinearBarCode(const std::string& code, float x, float y, float right, const BarCodeFrame& frame,
                              bool showCode);
    float EncodeCode39(const std::string& code, float x, float y, bool showCode, float zoomFactor, float height,
                       bool addCheck);
    float EncodeInterleaved2of5(const std::string& code, float x, float y, bool showCode, float zoomFactor,
                                float height, bool addCheck);
    float EncodePostnet(const std::string& code, float x, float y, bool showCode, float zoomFactor);
    float EncodeCode128(const std::string& code, float x, float y, bool showCode, float zoomFactor, float height);
    float EncodeEan13(const std::string& code, float x, float y, bool showCode, float zoomFactor, float height);
    float EncodeEan8(const std::string& code, float x, float y, bool showCode, float zoomFactor, float height);
    float EncodeEan(const std::string& code, float x, float y, bool showCode, float zoomFactor, float height,
                    bool ean13);
    // Courier New at fontSize points, beginning at atX or centred on it.
    void BarCodeCaption(const std::string& text, float atX, float baseline, float fontSize, bool centred);

    std::unique_ptr<TavloState> s_;
};

} // namespace tavlo
