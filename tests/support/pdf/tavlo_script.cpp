#include "support/pdf/tavlo_script.h"

#include "pdf/tavlo_test_peer.h"
#include "pdf/core/Ascii85Encoder.h"
#include "pdf/core/AsciiHexEncoder.h"
#include "pdf/core/Colors.h"
#include "pdf/core/CreationDate.h"
#include "pdf/core/LinkTargets.h"
#include "pdf/core/LzwEncoder.h"
#include "pdf/core/Md5.h"
#include "pdf/core/PdfFormat.h"
#include "pdf/core/PdfName.h"
#include "pdf/core/Rc4.h"
#include "pdf/core/ResourceEntries.h"
#include "pdf/core/RunLengthEncoder.h"
#include "pdf/core/TableGrowth.h"
#include "pdf/core/TextReplace.h"
#include "pdf/draw/Code128Symbols.h"
#include "pdf/draw/EanSymbols.h"
#include "pdf/draw/TrueTypeReader.h"
#include "support/pdf/content_stream.h"
#include "support/pdf/golden_files.h"
#include "support/pdf/images.h"
#include "support/pdf/qpdf_json.h"
#include "support/pdf/rendering.h"
#include "support/pdf/text_boxes.h"
#include "support/pdf/tools.h"
#include "support/pdf/written_document.h"

#include <gtest/gtest.h>

#include <array>
#include <charconv>
#include <clocale>
#include <cmath>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <functional>
#include <locale>
#include <memory>
#include <optional>
#include <regex>
#include <sstream>

namespace tavlo::test {

namespace {

// An argument: a number, a quoted text or a bare word, or a list of numbers in brackets.
struct Arg {
    std::string text;
    bool quoted = false;
    std::vector<float> list;
};
using Args = std::vector<Arg>;

// C escapes (\xHH, \r, \n, \t, \0, any other character as itself), $TMP (the scratch folder) and
// $SRC (the source tree).
std::string Unescape(std::string_view s)
{
    static const std::string scratch = std::filesystem::path(TempPath("x")).parent_path().string();
    std::string out;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s.compare(i, 4, "$TMP") == 0 || s.compare(i, 4, "$SRC") == 0) {
            out += s[i + 1] == 'T' ? scratch : std::string(QUERCINO_SOURCE_DIR);
            i += 3;
        } else if (s[i] != '\\' || i + 1 == s.size()) {
            out += s[i];
        } else if (s[++i] == 'x') {
            out += static_cast<char>(std::stoi(std::string(s.substr(i + 1, 2)), nullptr, 16));
            i += 2;
        } else {
            const char c = s[i];
            out += c == 'r' ? '\r' : c == 'n' ? '\n' : c == 't' ? '\t' : c == '0' ? '\0' : c;
        }
    }
    return out;
}

// A number whatever the machine's locale ("0x7F", "inf" too); ok tells whether the whole text is one.
double Parse(const std::string& text, bool* ok = nullptr)
{
    double value = 0;
    const char* from = text.data() + (text.rfind('+', 0) == 0 ? 1 : 0);
    const bool hex = text.rfind("0x", 0) == 0;
    const auto [end, error] = hex ? std::from_chars(from + 2, text.data() + text.size(), value, std::chars_format::hex)
                                  : std::from_chars(from, text.data() + text.size(), value);
    if (ok)
        *ok = !text.empty() && error == std::errc() && end == text.data() + text.size();
    return value;
}

// A number, or flags joined by "|".
double Number(const std::string& text)
{
    if (text.find('|') == std::string::npos)
        return Parse(text);
    std::int64_t bits = 0;
    std::istringstream terms(text);
    for (std::string term; std::getline(terms, term, '|');)
        bits |= static_cast<std::int64_t>(Parse(term));
    return static_cast<double>(bits);
}

bool IsNumber(const std::string& text)
{
    bool ok = false;
    Parse(text, &ok);
    return ok;
}

template <class T>
T As(const Arg& a)
{
    if constexpr (std::is_same_v<T, std::string> || std::is_same_v<T, std::string_view>)
        return a.text;
    else if constexpr (std::is_same_v<T, bool>)
        return a.text == "true" || a.text == "1";
    else if constexpr (std::is_same_v<T, std::vector<float>>)
        return a.list;
    else if constexpr (std::is_same_v<T, Bytes>)
        return a.quoted ? BytesOf(a.text) : FromHex(a.text);
    else if constexpr (std::is_floating_point_v<T>)
        return static_cast<T>(Number(a.text));
    else
        return static_cast<T>(static_cast<std::int64_t>(Number(a.text)));
}

std::string Joined(const std::vector<std::string>& items, const std::string& separator)
{
    std::string out;
    for (const std::string& item : items)
        out += (&item == items.data() ? "" : separator) + item;
    return out;
}

template <class T>
std::string Shown(const T& v)
{
    if constexpr (std::is_same_v<T, bool>)
        return v ? "true" : "false";
    else if constexpr (std::is_integral_v<T>)
        return std::to_string(v);
    else if constexpr (std::is_floating_point_v<T>) {
        char text[32];
        return std::string(text, std::to_chars(text, text + sizeof text, v, std::chars_format::general, 9).ptr);
    } else if constexpr (std::is_same_v<T, Bytes>)
        return Hex(v);
    else if constexpr (std::is_same_v<T, std::vector<std::string>>)
        return Joined(v, "\n");
    else if constexpr (std::is_same_v<T, std::vector<int>>) {
        std::vector<std::string> items;
        for (int i : v)
            items.push_back(std::to_string(i));
        return Joined(items, " ");
    } else
        return std::string(v);
}

// The parameter types and result of a member or function.
template <class M>
struct Signature;
template <class R, class... A>
struct Signature<R (*)(A...)> {
    using Result = R;
    using Params = std::tuple<std::decay_t<A>...>;
};
template <class R, class C, class... A>
struct Signature<R (C::*)(A...)> : Signature<R (*)(A...)> {};
template <class R, class C, class... A>
struct Signature<R (C::*)(A...) const> : Signature<R (*)(A...)> {};

template <auto F>
constexpr std::size_t Arity()
{
    return std::tuple_size_v<typename Signature<decltype(F)>::Params>;
}

// F called with the arguments converted to its parameter types, on object when it is a member.
template <auto F, class... Object>
std::string Invoke(const Args& a, Object&... object)
{
    using S = Signature<decltype(F)>;
    return [&]<std::size_t... I>(std::index_sequence<I...>) {
        if constexpr (std::is_void_v<typename S::Result>) {
            std::invoke(F, object..., As<std::tuple_element_t<I, typename S::Params>>(a[I])...);
            return std::string();
        } else {
            return Shown(std::invoke(F, object..., As<std::tuple_element_t<I, typename S::Params>>(a[I])...));
        }
    }(std::make_index_sequence<Arity<F>()>());
}

struct Run {
    std::string name;
    std::unique_ptr<Tavlo> pdf = std::make_unique<Tavlo>();
    int documents = 0;
    std::string path, bytes, password;
    bool owner = false;
    std::unique_ptr<QpdfDocument> qpdf, raw;
    std::unique_ptr<std::map<std::string, std::string>> facts;
    std::vector<std::pair<std::string, Image>> images;

    void Written(const std::string& file)
    {
        path = file;
        bytes = ReadFile(file);
        qpdf.reset(), raw.reset(), facts.reset();
    }
    const QpdfDocument& Qpdf()
    {
        if (!qpdf)
            qpdf = std::make_unique<QpdfDocument>(path, password);
        return *qpdf;
    }
    // The interactive summary of interactive_summary.py, "<none>" for a fact it does not hold.
    const std::map<std::string, std::string>& Facts()
    {
        if (facts)
            return *facts;
        facts = std::make_unique<std::map<std::string, std::string>>();
        std::istringstream lines(RunTool("qpdf" + QpdfPassword(password) + " --json --json-key=qpdf "
                                         "--json-stream-data=inline " + Quote(path) + " | /usr/bin/python3 " +
                                         QUERCINO_SOURCE_DIR "/tests/support/pdf/interactive_summary.py")
                                     .output);
        for (std::string line; std::getline(lines, line);)
            if (const std::size_t tab = line.find('\t'); tab != std::string::npos)
                (*facts)[line.substr(0, tab)] = line.substr(tab + 1);
        return *facts;
    }
    std::string Fact(const std::string& key)
    {
        const auto found = Facts().find(key);
        return found == Facts().end() ? "<none>" : found->second;
    }
};

// A call: how many parameters, what it does, the values of the last ones when left out.
struct Verb {
    std::size_t arity;
    std::function<std::string(Run&, const Args&)> run;
    std::vector<std::string> defaults = {};
};

// Members of the writer (the last parameters' values given for when they are left out), of
// its test door, and functions of its own.
#define MEMBER(name, ...)                                                                                              \
    {#name, {Arity<&Tavlo::name>(), [](Run& r, const Args& a) { return Invoke<&Tavlo::name>(a, *r.pdf); }, {__VA_ARGS__}}}
#define PEER(name)                                                                                                     \
    {#name, {Arity<&TavloTestPeer::name>(), [](Run& r, const Args& a) {                                                \
                 TavloTestPeer peer(*r.pdf);                                                                           \
                 return Invoke<&TavloTestPeer::name>(a, peer);                                                         \
             }}}
#define FUNCTION(name) {#name, {Arity<&name>(), [](Run&, const Args& a) { return Invoke<&name>(a); }}}

const std::map<std::string, Verb>& Calls()
{
    static const std::map<std::string, Verb> calls = {
        MEMBER(Abort), MEMBER(SetMemoryUsage), MEMBER(Version), MEMBER(ErrNumber), MEMBER(ErrSource),
        MEMBER(ErrDescription), MEMBER(FileSize), MEMBER(SetProtection), MEMBER(SetCompression),
        MEMBER(SetDocProperty), MEMBER(SetViewerPreferences), MEMBER(SetPaperSize, "0", "0"),
        MEMBER(SetScale, "1"), MEMBER(SetMargins), MEMBER(SetPageView), MEMBER(SetPageTransition),
        MEMBER(SetLabel), MEMBER(SetXY), MEMBER(GetX), MEMBER(GetY), MEMBER(GetPage), MEMBER(GetPageWidth),
        MEMBER(GetPageHeight), MEMBER(BeginPage), MEMBER(EndPage), MEMBER(AddBookmark), MEMBER(AddNoteBox),
        MEMBER(AddNoteIcon), MEMBER(LinkTo, "0", "0", "0", "0", "0", "0"), MEMBER(DefineRef), MEMBER(OnDocEvent),
        MEMBER(OnFieldEvent), MEMBER(BeginLayer), MEMBER(EndLayer), MEMBER(BeginObject), MEMBER(EndObject),
        MEMBER(PlayObject), MEMBER(BeginTiling), MEMBER(EndTiling), MEMBER(SetColorFill), MEMBER(SetColorLine),
        MEMBER(SetColorText), MEMBER(SetAlpha), MEMBER(AddGradient, "0", "0", "false", "false"),
        MEMBER(AxisRotation), MEMBER(AxisScaling), MEMBER(AxisSkewing), MEMBER(AxisTranslation),
        MEMBER(BeginSpace), MEMBER(EndSpace), MEMBER(BeginTable), MEMBER(EndTable), MEMBER(BeginRow),
        MEMBER(EndRow), MEMBER(BeginColumn), MEMBER(EndColumn), MEMBER(MoveTo), MEMBER(DrawLine),
        MEMBER(DrawLineTo), MEMBER(DrawCurve), MEMBER(DrawRect, "0", "0"), MEMBER(DrawEllipse), MEMBER(DrawCircle),
        MEMBER(DrawArc), MEMBER(DrawPolygon), MEMBER(DrawPolyline), MEMBER(SetLineWidth), MEMBER(SetLineStyle),
        MEMBER(SetDash), MEMBER(SetFont), MEMBER(SetFontSize), MEMBER(AddFont), MEMBER(DrawImage, "1", ""),
        MEMBER(ImportPage), MEMBER(DrawBarCode), MEMBER(SetCharSpacing), MEMBER(SetWordSpacing),
        MEMBER(SetTextHorizontalScaling), MEMBER(SetTextLineSpacing), MEMBER(SetTextMode), MEMBER(TextLength),
        MEMBER(TextHeight), MEMBER(DrawText, "1"), MEMBER(DrawTextBox, "0", "9", "1"), MEMBER(WriteText, "0", "66"),
        MEMBER(WriteTextLn), PEER(PutContent), PEER(SetLastBox), PEER(EmitTextLine), PEER(RequireVersion),
        FUNCTION(HexColorToRgb), FUNCTION(PdfNumber), FUNCTION(PdfScaledNumber), FUNCTION(PdfColorComponent),
        FUNCTION(PdfBoolean), FUNCTION(Round3), FUNCTION(EscapeString), FUNCTION(PdfName), FUNCTION(ReplaceText),
        FUNCTION(SplitText), FUNCTION(UniqueEntries), FUNCTION(LeadingNumber), FUNCTION(LinkTargetPage),
        FUNCTION(InitialUpperBound), FUNCTION(GrownUpperBound), FUNCTION(Code128Values), FUNCTION(Code128Modules),
        FUNCTION(RunLengthEncode), FUNCTION(LzwEncode), FUNCTION(Ascii85Encode), FUNCTION(AsciiHexEncode),
        FUNCTION(ReadBigEndian), FUNCTION(CreationDateText),
        {"AddField", {10, [](Run& r, const Args& a) {
                          if (a[7].quoted)
                              r.pdf->AddField(a[0].text, As<int>(a[1]), As<float>(a[2]), As<float>(a[3]),
                                              As<float>(a[4]), As<float>(a[5]), a[6].text, a[7].text, a[8].text,
                                              As<int>(a[9]));
                          else
                              r.pdf->AddField(a[0].text, As<int>(a[1]), As<float>(a[2]), As<float>(a[3]),
                                              As<float>(a[4]), As<float>(a[5]), a[6].text, As<int>(a[7]), a[8].text,
                                              As<int>(a[9]));
                          return std::string();
                      }}},
        {"ParseColor", {1, [](Run&, const Args& a) {
                            const ParsedColor parsed = ParseColor(a[0].text);
                            return parsed.second.empty() ? parsed.form : parsed.form + "\n" + parsed.second;
                        }}},
        {"Md5Digest", {1, [](Run&, const Args& a) {
                           const Md5Value digest = Md5Digest(std::string_view(a[0].text));
                           return Hex(Bytes(digest.begin(), digest.end()));
                       }}},
        {"Rc4Crypt", {2, [](Run&, const Args& a) { return Hex(Rc4Crypt(As<Bytes>(a[0]), As<Bytes>(a[1]))); }}},
        {"MakeEanSymbol", {2, [](Run&, const Args& a) {
                               const EanSymbol symbol = MakeEanSymbol(a[0].text, As<std::size_t>(a[1]));
                               return symbol.digits + "\n" + symbol.modules;
                           }}},
        {"WholeNumber", {1, [](Run&, const Args& a) {
                             const auto value = WholeNumber(a[0].text);
                             return value ? Shown(*value) : "none";
                         }}},
        {"CreationDate", {1, [](Run& r, const Args& a) {
                              TavloTestPeer(*r.pdf).State().CreationDate = a[0].text;
                              return std::string();
                          }}},
        // A filled box in user units, recorded as the last shape the way the drawing members record theirs.
        {"PaintBox", {4, [](Run& r, const Args& a) {
                          TavloTestPeer peer(*r.pdf);
                          const double x = As<double>(a[0]), y = As<double>(a[1]), w = As<double>(a[2]),
                                       h = As<double>(a[3]), scale = peer.State().Scale;
                          peer.PutContent(PdfNumber(x * scale) + " " + PdfNumber(y * scale) + " " +
                                          PdfNumber(w * scale) + " " + PdfNumber(h * scale) + " re f");
                          peer.SetLastBox(peer.PageSpaceX(x), peer.PageSpaceY(y), peer.PageSpaceX(x + w),
                                          peer.PageSpaceY(y + h));
                          return std::string();
                      }}},
    };
    return calls;
}

using Question = std::function<std::string(Run&, const Args&)>;

std::vector<std::string> Rest(const Args& a, std::size_t from)
{
    std::vector<std::string> out;
    for (std::size_t i = from; i < a.size(); ++i)
        out.push_back(a[i].text);
    return out;
}

std::string BoxOf(const TextBox& b)
{
    return b.text + " " + Shown(b.left) + " " + Shown(b.top) + " " + Shown(b.right) + " " + Shown(b.bottom);
}

// Questions about the document written last.
const std::map<std::string, Question>& Questions()
{
    static const std::map<std::string, Question> questions = {
        {"qpdf", [](Run& r, const Args& a) { return r.Qpdf().Text(Joined(Rest(a, 0), " ")); }},
        {"qpdf-raw", [](Run& r, const Args& a) {
             if (!r.raw)
                 r.raw = std::make_unique<QpdfDocument>(r.path, r.password, false);
             return r.raw->Text(Joined(Rest(a, 0), " "));
         }},
        {"json", [](Run& r, const Args& a) {
             const Json* v = &r.Qpdf().Root();
             std::istringstream keys(a[0].text);
             for (std::string key, slash; std::getline(keys, key, '/');)  // "label//P": the key "/P"
                 if (key.empty())
                     slash = "/";
                 else
                     v = IsNumber(key) ? &(*v)[std::stoul(key)] : &(*v)[std::exchange(slash, "") + key];
             return Show(*v);
         }},
        {"ops", [](Run& r, const Args& a) {
             return Shown(LinesOf(Operations(r.Qpdf().PageContent(As<int>(a[0]))), Rest(a, 1)));
         }},
        {"stream", [](Run& r, const Args& a) {
             return Shown(LinesOf(Operations(r.Qpdf().StreamData(a[0].text)), Rest(a, 1)));
         }},
        {"op", [](Run& r, const Args& a) {
             const auto lines = LinesOf(Operations(r.Qpdf().PageContent(As<int>(a[0]))), Rest(a, 2));
             return As<std::size_t>(a[1]) < lines.size() ? lines[As<std::size_t>(a[1])] : std::string("none");
         }},
        // The operation lines of a page that begin with the text.
        {"lines", [](Run& r, const Args& a) {
             std::vector<std::string> lines;
             for (const std::string& line : LinesOf(Operations(r.Qpdf().PageContent(As<int>(a[0])))))
                 if (line.rfind(a[1].text, 0) == 0)
                     lines.push_back(line);
             return Shown(lines);
         }},
        {"data", [](Run& r, const Args& a) { return r.Qpdf().StreamData(Joined(Rest(a, 0), " ")); }},
        {"count", [](Run& r, const Args& a) {
             return Shown(CountOf(Operations(r.Qpdf().PageContent(As<int>(a[0]))), a[1].text));
         }},
        {"balanced", [](Run& r, const Args& a) {
             const std::string content =
                 IsNumber(a[0].text) ? r.Qpdf().PageContent(As<int>(a[0])) : r.Qpdf().StreamData(a[0].text);
             return Shown(SavesBalanced(Operations(content)));
         }},
        {"info", [](Run& r, const Args& a) { return InfoField(r.path, a[0].text, r.password); }},
        {"readers", [](Run& r, const Args& a) {
             ExpectReadersAccept(r.path, a[0].text, a.size() > 1);
             return std::string();
         }},
        // xmllint's complaints about a stream (none when it is well-formed), or given an XPath
        // expression what xmllint finds there.
        {"xmllint", [](Run& r, const Args& a) {
             const std::string file = TempPath("stream.xml");
             WriteFile(file, r.Qpdf().StreamData(a[0].text));
             const std::string what = a.size() > 1 ? "--xpath " + Quote(a[1].text) : "--noout";
             return RunTool("xmllint " + what + " " + Quote(file) + " 2>&1").output;
         }},
        // A shell command's exit code.
        {"run", [](Run&, const Args& a) { return Shown(RunTool(Joined(Rest(a, 0), " ") + " >/dev/null 2>&1").exitCode); }},
        // ImageMagick's convert run with the arguments: whether it succeeded.
        {"convert", [](Run&, const Args& a) { return Shown(Convert(Joined(Rest(a, 0), " "))); }},
        // Whether qpdf opens the document with the password.
        {"opens", [](Run& r, const Args& a) {
             return Shown(RunTool("qpdf --check" + QpdfPassword(a[0].text) + " " + Quote(r.path) + " >/dev/null 2>&1").exitCode == 0);
         }},
        {"exists", [](Run&, const Args& a) { return Shown(std::filesystem::exists(a[0].text)); }},
        {"filesize", [](Run& r, const Args&) { return Shown(r.bytes.size()); }},
        {"file", [](Run& r, const Args&) { return r.bytes; }},
        {"fonts", [](Run& r, const Args&) { return FontsListed(r.path, r.password); }},
        {"fact", [](Run& r, const Args& a) { return r.Fact(a[0].text); }},
        {"summary", [](Run& r, const Args&) {
             std::string text;
             for (const auto& [key, value] : r.Facts())
                 text += key + "\t" + value + "\n";
             return text;
         }},
        {"bytes", [](Run& r, const Args& a) { return r.bytes.substr(As<std::size_t>(a[0]), As<std::size_t>(a[1])); }},
        {"outline", [](Run& r, const Args&) { return Shown(r.Qpdf().OutlineTitles()); }},
        {"poppler-text", [](Run& r, const Args& a) { return PopplerText(r.path, r.password, Joined(Rest(a, 0), " ")); }},
        {"mupdf-text", [](Run& r, const Args&) { return MupdfText(r.path, r.password); }},
        {"words", [](Run& r, const Args& a) { return Shown(PopplerWords(r.path, As<int>(a[0])).size()); }},
        {"word", [](Run& r, const Args& a) {
             const auto words = PopplerWords(r.path, As<int>(a[0]));
             const std::size_t at = As<std::size_t>(a[1]);
             return at < words.size() ? BoxOf(words[at]) : std::string("none");
         }},
        // Every word poppler finds on a page (0: on every page), one a line.
        {"wordboxes", [](Run& r, const Args& a) {
             std::string boxes;
             for (const TextBox& word : PopplerWords(r.path, As<int>(a[0])))
                 boxes += BoxOf(word) + "\n";
             return boxes;
         }},
        {"char", [](Run& r, const Args& a) {
             const auto chars = MupdfCharacters(r.path, As<int>(a[0]));
             const int at = As<int>(a[1]) < 0 ? static_cast<int>(chars.size()) + As<int>(a[1]) : As<int>(a[1]);
             return at >= 0 && at < static_cast<int>(chars.size()) ? BoxOf(chars[at]) : std::string("none");
         }},
        {"js", [](Run& r, const Args&) {
             const std::string pw = r.password.empty() ? "" : " -upw " + Quote(r.password);
             return RunTool("pdfinfo -js" + pw + " " + Quote(r.path)).output;
         }},
        {"mutool-show", [](Run& r, const Args& a) {
             return RunTool("mutool show -b " + Quote(r.path) + " " + a[0].text).output;
         }},
        // The first annotation of page 1 lies over the box poppler draws (annotations hidden),
        // within a point; the box is wider than the number given.
        {"covers", [](Run& r, const Args& a) {
             RenderOptions hidden;
             hidden.annotations = false;
             const auto drawn = DarkBox(RenderPage(r.path, 1, Reader::Poppler, hidden));
             std::array<double, 4> rect{};
             std::istringstream(r.Fact("page1.annot1.rect")) >> rect[0] >> rect[1] >> rect[2] >> rect[3];
             EXPECT_GT(drawn[2] - drawn[0], As<double>(a[0]));
             for (int i = 0; i < 4; ++i)
                 EXPECT_NEAR(rect[i], drawn[i], 1.0) << "side " << i;
             return std::string();
         }},
        {"render", [](Run& r, const Args& a) {
             RenderOptions options;
             options.password = r.password;
             for (const std::string& option : Rest(a, 2)) {
                 options.dpi = IsNumber(option) ? std::stoi(option) : options.dpi;
                 options.colour |= option == "colour";
                 options.annotations &= option != "noannots";
             }
             r.images.clear();
             for (const std::string& reader : {std::string("poppler"), std::string("mupdf")})
                 if (a[1].text == reader || a[1].text == "both")
                     r.images.emplace_back(reader, RenderPage(r.path, As<int>(a[0]),
                                                              reader == "poppler" ? Reader::Poppler : Reader::Mupdf,
                                                              options));
             return std::string();
         }},
    };
    return questions;
}

using ImageQuestion = std::function<std::string(const Image&, const Args&)>;

// Questions about the pages rendered last, in pixels from the top-left corner.
const std::map<std::string, ImageQuestion>& ImageQuestions()
{
    static const std::map<std::string, ImageQuestion> questions = {
        {"dark", [](const Image& i, const Args& a) {
             return Shown(DarkPixelsIn(i, As<int>(a[0]), As<int>(a[1]), As<int>(a[2]), As<int>(a[3])));
         }},
        {"red", [](const Image& i, const Args& a) {
             return Shown(RedPixelsIn(i, As<int>(a[0]), As<int>(a[1]), As<int>(a[2]), As<int>(a[3])));
         }},
        {"darkbox", [](const Image& i, const Args&) {
             const auto box = DarkBox(i);
             return Shown(box[0]) + " " + Shown(box[1]) + " " + Shown(box[2]) + " " + Shown(box[3]);
         }},
        // The dark runs along row Y from X0 to X1.
        {"runs", [](const Image& i, const Args& a) {
             int runs = 0;
             for (int x = As<int>(a[1]), y = As<int>(a[0]); x < As<int>(a[2]); ++x)
                 runs += i.Dark(x, y) && !i.Dark(x - 1, y) ? 1 : 0;
             return Shown(runs);
         }},
        {"pixel", [](const Image& i, const Args& a) {
             return Shown(i.At(As<int>(a[0]), As<int>(a[1]), a.size() > 2 ? As<int>(a[2]) : 0));
         }},
        // 'r' strong red, 'k' black, 'g' grey, 'w' white.
        {"ink", [](const Image& i, const Args& a) {
             const int x = As<int>(a[0]), y = As<int>(a[1]), grey = i.At(x, y, 1);
             return std::string(1, i.Red(x, y) ? 'r' : grey < 60 ? 'k' : grey < 200 ? 'g' : 'w');
         }},
    };
    return questions;
}

// expected: a text; numbers equal to a millionth; with a last word "~t", the words of the
// answer one by one, numbers within t, "_" any word.
void Expect(const std::string& op, const std::string& expected, const std::string& actual)
{
    std::string shown = actual;
    for (std::size_t at; (at = shown.find('\n')) != std::string::npos;)
        shown.replace(at, 1, " | ");
    if (op == "has" || op == "lacks") {
        EXPECT_EQ(actual.find(expected) == std::string::npos, op == "lacks") << op << " " << expected << " in\n"
                                                                           << actual;
    } else if (op == "matches") {
        EXPECT_TRUE(std::regex_match(actual, std::regex(expected))) << actual;
    } else if (op == ">" || op == "<") {
        EXPECT_TRUE(op == ">" ? Number(actual) > Number(expected) : Number(actual) < Number(expected)) << actual;
    } else if (op == "golden") {
        ExpectGolden(expected, actual.empty() || actual.back() == '\n' ? actual : actual + "\n");
    } else if (expected.size() > 1 && expected[expected.rfind(' ') + 1] == '~') {
        std::istringstream want(expected), got(shown);
        const double tolerance = Parse(expected.substr(expected.rfind(' ') + 2));
        std::string w, g;
        while (want >> w && w[0] != '~') {
            ASSERT_TRUE(got >> g) << "gave " << shown;
            if (w != "_" && w != g) {
                EXPECT_TRUE(IsNumber(w) && IsNumber(g) && std::fabs(Number(w) - Number(g)) <= tolerance)
                    << w << " against " << g << " in " << shown;
            }
        }
        EXPECT_FALSE(got >> g) << "gave more: " << shown;
    } else if (shown != expected && actual != expected) {
        const double e = Number(expected);
        EXPECT_TRUE(IsNumber(expected) && IsNumber(shown) && std::fabs(Number(shown) - e) <= 1e-6 * std::max(1.0, std::fabs(e)))
            << "gave " << shown;
    }
}

Args Tokens(const std::string& line, std::size_t& end)
{
    Args args;
    std::size_t at = 0;
    while ((at = line.find_first_not_of(' ', at)) != std::string::npos) {
        Arg arg;
        std::size_t stop;
        if (line[at] == '"') {
            stop = at + 1;
            while (stop < line.size() && line[stop] != '"')
                stop += line[stop] == '\\' ? 2 : 1;
            arg.text = Unescape(line.substr(at + 1, stop - at - 1));
            arg.quoted = true;
            if (++stop < line.size() && line[stop] == '*') {  // "text"*N: the text N times
                const std::size_t times = std::stoul(line.substr(stop + 1), &at);
                for (std::string once = std::exchange(arg.text, ""); arg.text.size() < times * once.size();)
                    arg.text += once;
                stop += 1 + at;
            }
        } else {
            stop = std::min(line.find(' ', at), line.size());
            arg.text = line.substr(at, stop - at);
            for (const std::string op : {"=>", "has", "lacks", "matches", ">", "<", "golden"})
                if (arg.text == op) {
                    end = at;
                    return args;
                }
            if (arg.text[0] == '[') {
                stop = line.find(']', at) + 1;
                std::istringstream items(line.substr(at + 1, stop - at - 2));
                for (std::string item; items >> item;)
                    arg.list.push_back(static_cast<float>(Parse(item)));
            }
            arg.text = Unescape(arg.text);
        }
        args.push_back(arg);
        at = stop;
    }
    end = line.size();
    return args;
}

void Line(Run& r, const std::string& line)
{
    std::size_t end = 0;
    Args args = Tokens(line, end);
    const std::string verb = args.front().text;
    args.erase(args.begin());
    std::string op, expected;
    if (end < line.size()) {
        const std::size_t space = line.find(' ', end);
        op = line.substr(end, space - end);
        expected = space == std::string::npos ? "" : line.substr(line.find_first_not_of(' ', space));
        if (expected.size() > 1 && expected.front() == '"' && expected.back() == '"')
            expected = expected.substr(1, expected.size() - 2);
        expected = Unescape(expected);
    }
    const bool expectsError = op == "=>" && expected.rfind("error ", 0) == 0;
    if (verb == "new") {
        r.pdf = std::make_unique<Tavlo>();
        r.password.clear(), r.owner = false;
    } else if (verb == "password") {
        r.password = args.empty() ? "" : args[0].text;
        r.owner = args.size() > 1;
    } else if (verb == "locale") {
        ASSERT_TRUE(std::setlocale(LC_ALL, args[0].text.c_str())) << args[0].text;
        std::locale::global(args[0].text == "C" ? std::locale::classic() : std::locale(args[0].text));
    } else if (verb == "timezone") {
        ::setenv("TZ", args[0].text.c_str(), 1);
        ::tzset();
    } else if (verb == "decrypt") {
        const std::string copy = r.path + ".decrypted.pdf";
        ASSERT_EQ(RunTool("qpdf" + QpdfPassword(r.password) + " --decrypt " + Quote(r.path) + " " + Quote(copy)).exitCode, 0);
        r.password.clear();
        r.Written(copy);
    } else if (verb == "BeginDoc" || verb == "EndDoc" || Calls().count(verb)) {
        std::int32_t error = 0;
        std::string result;
        try {
            if (verb == "BeginDoc") {
                result = r.pdf->BeginDoc(args.empty() ? TempPath(r.name + "-" + std::to_string(++r.documents) + ".pdf")
                                                      : args[0].text);
                r.path = result;
            } else if (verb == "EndDoc") {
                r.pdf->EndDoc();
                r.Written(r.path);
                if (!expectsError && args.empty())
                    ExpectReadersAccept(r.path, r.password, r.owner);
            } else {
                const Verb& call = Calls().at(verb);
                const std::size_t missing = call.arity - std::min(call.arity, args.size());
                ASSERT_LE(missing, call.defaults.size()) << "too few arguments";
                ASSERT_LE(args.size(), call.arity) << "too many arguments";
                for (std::size_t i = call.defaults.size() - missing; i < call.defaults.size(); ++i)
                    args.push_back({call.defaults[i], false, {}});
                result = call.run(r, args);
            }
        } catch (const TavloError& e) {
            error = e.Number();
        }
        if (expectsError)
            EXPECT_EQ(error, std::stoi(expected.substr(6)));
        else if (error != 0)
            ADD_FAILURE() << "raised error " << error;
        else if (!op.empty())
            Expect(op, expected, result);
    } else if (Questions().count(verb)) {
        const std::string answer = Questions().at(verb)(r, args);
        if (!op.empty())
            Expect(op, expected, answer);
    } else if (ImageQuestions().count(verb)) {
        ASSERT_FALSE(r.images.empty()) << "no page rendered";
        for (const auto& [reader, image] : r.images) {
            SCOPED_TRACE(reader);
            ASSERT_GT(image.width, 0);
            Expect(op, expected, ImageQuestions().at(verb)(image, args));
        }
    } else {
        ADD_FAILURE() << "unknown: " << verb;
    }
}

// The lines of a script file; "include NAME" runs the lines of another file of the folder.
void RunLines(Run& run, const std::string& name)
{
    const std::string file = std::string(QUERCINO_SOURCE_DIR "/tests/pdf/scripts/") + name;
    std::istringstream lines(ReadFile(file));
    ASSERT_FALSE(lines.str().empty()) << "no script " << file;
    std::string line;
    int number = 0;
    for (std::string next; std::getline(lines, next);) {
        ++number;
        const std::size_t from = next.find_first_not_of(" \t");
        if (from == std::string::npos || (line.empty() && next[from] == '#'))
            continue;
        const bool more = next.size() > 1 && next.compare(next.size() - 2, 2, " \\") == 0;
        line += next.substr(from, next.size() - from - (more ? 1 : 0));
        if (more)
            continue;
        const ::testing::ScopedTrace trace(file.c_str(), number, line);
        if (line.rfind("include ", 0) == 0)
            RunLines(run, line.substr(8));
        else
            Line(run, line);
        line.clear();
    }
}

} // namespace

void RunScript(const std::string& name)
{
    const char* zone = std::getenv("TZ");
    const std::optional<std::string> savedZone = zone ? std::optional<std::string>(zone) : std::nullopt;
    Run run;
    run.name = name.substr(0, name.find('.'));
    RunLines(run, name);
    std::setlocale(LC_ALL, "C");
    std::locale::global(std::locale::classic());
    savedZone ? ::setenv("TZ", savedZone->c_str(), 1) : ::unsetenv("TZ");
    ::tzset();
}

} // namespace tavlo::test
