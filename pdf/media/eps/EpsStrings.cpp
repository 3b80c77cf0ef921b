// The EPS reader's strings, conversions and reading from the file, and its fonts: a font is
// found, scaled and chosen as PostScript does, as a dictionary, but what would show it or
// measure it is refused, so no glyph's shape or width is ever needed.

#include "pdf/media/eps/EpsInterpreter.h"

#include <charconv>
#include <cmath>
#include <string>

namespace tavlo {

namespace {

constexpr std::size_t kEncodingSize = 256;

// The text cvs writes for a value.
std::string Text(const EpsValue& v, std::string_view operatorName)
{
    switch (v.kind) {
    case EpsValue::kNumber: {
        if (v.integer && std::fabs(v.number) < 1e15)
            return std::to_string(static_cast<std::int64_t>(v.number));
        char text[32];
        const auto written = std::to_chars(text, text + sizeof text, static_cast<float>(v.number));
        std::string result(text, written.ptr);
        if (result.find_first_of(".e") == std::string::npos)
            result += ".0";
        return result;
    }
    case EpsValue::kBoolean: return v.number != 0 ? "true" : "false";
    case EpsValue::kName: return std::string(v.text);
    case EpsValue::kString: return std::string(v.Bytes());
    case EpsValue::kOperator: return std::string(operatorName);
    default: return "--nostringval--";
    }
}

} // namespace

EpsValue EpsInterpreter::TokenOf(const EpsToken& token)
{
    switch (token.kind) {
    case EpsToken::kName: return EpsValue::Name(Intern(std::string(token.text)), true);
    case EpsToken::kLiteralName: return EpsValue::Name(Intern(std::string(token.text)), false);
    case EpsToken::kNumber: case EpsToken::kString: return TokenValue(token);
    default:
        // A procedure or an array read as data: not followed here.
        Unfollowed("token");
    }
}

void EpsInterpreter::RunStrings(EpsBuiltin op)
{
    using B = EpsBuiltin;
    switch (op) {
    case B::kCountDictStack:
        // systemdict and globaldict below the file's own.
        PushNumber(static_cast<double>(dicts_.size() + 2), true);
        break;
    case B::kLanguageLevel: PushNumber(3, true); break;
    case B::kBitShift: {
        const std::int64_t shift = PopInteger(), value = PopInteger();
        const auto bits = static_cast<std::uint32_t>(value);
        PushNumber(static_cast<double>(static_cast<std::int32_t>(
                       shift >= 32 || shift <= -32 ? 0u : shift >= 0 ? bits << shift : bits >> -shift)),
                   true);
        break;
    }
    case B::kCvs: {
        EpsValue into = PopString();
        const EpsValue v = Pop();
        std::string_view name;
        if (v.kind == EpsValue::kOperator && v.op < 0x8000)
            name = EpsBuiltinAt(v.op).name;
        const std::string text = Text(v, name);
        if (text.size() > into.length)
            Fail();
        into.bytes->replace(into.start, text.size(), text);
        into.length = static_cast<std::uint32_t>(text.size());
        Push(std::move(into));
        break;
    }
    case B::kCvn: {
        const EpsValue v = PopString();
        Push(EpsValue::Name(Intern(std::string(v.Bytes())), v.executable));
        break;
    }
    case B::kGetInterval: {
        const std::int64_t count = PopInteger(), index = PopInteger();
        EpsValue from = Pop();
        const std::size_t size = from.kind == EpsValue::kArray    ? from.items->size()
                                 : from.kind == EpsValue::kString ? from.length
                                                                  : 0;
        if ((from.kind != EpsValue::kArray && from.kind != EpsValue::kString) || index < 0 || count < 0 ||
            static_cast<std::size_t>(index + count) > size)
            Fail();
        Step(static_cast<std::uint64_t>(count));
        if (from.kind == EpsValue::kString) {
            // The same bytes: a change through either shows in both.
            from.start += static_cast<std::uint32_t>(index);
            from.length = static_cast<std::uint32_t>(count);
            Push(std::move(from));
        } else {
            EpsValue part;
            part.kind = EpsValue::kArray;
            part.executable = from.executable;
            part.items = NewArray({from.items->begin() + index, from.items->begin() + index + count});
            Push(std::move(part));
        }
        break;
    }
    case B::kPutInterval: {
        const EpsValue from = Pop();
        const std::int64_t index = PopInteger();
        const EpsValue into = Pop();
        if (from.kind == EpsValue::kArray && into.kind == EpsValue::kArray && index >= 0 &&
            static_cast<std::size_t>(index) + from.items->size() <= into.items->size()) {
            Step(from.items->size());
            const std::vector<EpsValue> items = *from.items;
            std::copy(items.begin(), items.end(), into.items->begin() + index);
        } else if (from.kind == EpsValue::kString && into.kind == EpsValue::kString && index >= 0 &&
                   static_cast<std::size_t>(index) + from.length <= into.length) {
            Step(from.length / 16);
            const std::string bytes(from.Bytes());
            into.bytes->replace(into.start + static_cast<std::size_t>(index), bytes.size(), bytes);
        } else {
            Fail();
        }
        break;
    }
    case B::kToken: {
        const EpsValue from = Pop();
        EpsToken token;
        if (from.kind == EpsValue::kFile && from.number == 0 && source_) {
            if (source_->Next(token)) {
                Push(TokenOf(token));
                Push(EpsValue::Boolean(true));
            } else {
                Push(EpsValue::Boolean(false));
            }
            break;
        }
        if (from.kind != EpsValue::kString)
            Fail();
        const std::string bytes(from.Bytes());
        EpsTokenizer tokens(bytes);
        if (!tokens.Next(token) || token.kind == EpsToken::kComment) {
            Push(EpsValue::Boolean(false));
            break;
        }
        const EpsValue value = TokenOf(token);
        // What follows the token, the blank that ends it read with it.
        std::size_t used = static_cast<std::size_t>(token.text.data() - bytes.data()) + token.text.size();
        if (used < bytes.size() && (bytes[used] == ' ' || bytes[used] == '\t' || bytes[used] == '\r' ||
                                    bytes[used] == '\n' || bytes[used] == '\f' || bytes[used] == '\0'))
            ++used;
        EpsValue rest = from;
        rest.start += static_cast<std::uint32_t>(used);
        rest.length -= static_cast<std::uint32_t>(used);
        Push(std::move(rest));
        Push(value);
        Push(EpsValue::Boolean(true));
        break;
    }
    case B::kCurrentFile: {
        EpsValue file;
        file.kind = EpsValue::kFile;
        Push(std::move(file));
        break;
    }
    case B::kReadLine: {
        EpsValue into = PopString();
        const EpsValue from = Pop();
        if (from.kind != EpsValue::kFile)
            Fail();
        if (from.number != 0 || !source_)
            Unfollowed("readline");  // from a filter: its data is not decoded here
        std::string_view line;
        const bool ended = source_->ReadLine(line);
        if (line.size() > into.length)
            Fail();
        Step(line.size() / 16);
        into.bytes->replace(into.start, line.size(), line);
        into.length = static_cast<std::uint32_t>(line.size());
        Push(std::move(into));
        Push(EpsValue::Boolean(ended));
        break;
    }
    case B::kFilter: {
        // Made, not read: what reads it (image, readstring...) is refused.
        const EpsValue name = Pop();
        if (name.kind != EpsValue::kName)
            Fail();
        if (!stack_.empty() && stack_.back().kind == EpsValue::kDict)
            Pop();
        Pop();
        EpsValue file;
        file.kind = EpsValue::kFile;
        file.number = 1;
        Push(std::move(file));
        break;
    }
    case B::kGState: {
        EpsValue state;
        state.kind = EpsValue::kGState;
        Push(std::move(state));
        break;
    }
    default: Fail();
    }
}

EpsValue EpsInterpreter::FontWithMatrix(const EpsValue& font, const std::vector<double>& m)
{
    if (font.kind != EpsValue::kDict || font.dict->entries.count("FontMatrix") == 0)
        Fail();
    const EpsValue& old = font.dict->entries.at("FontMatrix");
    if (old.kind != EpsValue::kArray || old.items->size() != 6)
        Fail();
    EpsMatrix f{}, n{};
    for (std::size_t i = 0; i < 6; ++i) {
        if ((*old.items)[i].kind != EpsValue::kNumber)
            Fail();
        f[i] = (*old.items)[i].number;
        n[i] = m[i];
    }
    const EpsMatrix product = EpsConcat(f, n);
    EpsValue scaled;
    scaled.kind = EpsValue::kDict;
    scaled.dict = NewDict();
    scaled.dict->entries = font.dict->entries;
    EpsValue matrix;
    matrix.kind = EpsValue::kArray;
    matrix.items = NewArray({});
    for (const double v : product)
        matrix.items->push_back(EpsValue::Number(v));
    scaled.dict->entries["FontMatrix"] = std::move(matrix);
    return scaled;
}

void EpsInterpreter::RunFonts(EpsBuiltin op)
{
    using B = EpsBuiltin;
    auto find = [&](const std::string& name) {
        const auto known = fonts_->entries.find(name);
        if (known != fonts_->entries.end())
            return known->second;
        // Any font is found, as Ghostscript finds a substitute: only its name and its
        // 1/1000 em matrix are given, enough to choose it and scale it.
        EpsValue font;
        font.kind = EpsValue::kDict;
        font.dict = NewDict();
        font.dict->entries["FontName"] = EpsValue::Name(Intern(name), false);
        font.dict->entries["FontType"] = EpsValue::Number(1, true);
        font.dict->entries["PaintType"] = EpsValue::Number(0, true);
        font.dict->entries["FID"] = EpsValue();
        RunFonts(B::kStandardEncoding);
        font.dict->entries["Encoding"] = Pop();
        EpsValue matrix;
        matrix.kind = EpsValue::kArray;
        matrix.items = NewArray({});
        for (const double v : {0.001, 0.0, 0.0, 0.001, 0.0, 0.0})
            matrix.items->push_back(EpsValue::Number(v));
        font.dict->entries["FontMatrix"] = std::move(matrix);
        fonts_->entries[name] = font;
        return font;
    };
    switch (op) {
    case B::kFindFont: Push(find(KeyText(Pop()))); break;
    case B::kDefineFont: {
        EpsValue font = PopDict();
        const std::string name = KeyText(Pop());
        font.dict->entries["FID"] = EpsValue();
        fonts_->entries[name] = font;
        Push(std::move(font));
        break;
    }
    case B::kScaleFont: {
        const double scale = PopNumber();
        const EpsValue font = PopDict();
        Push(FontWithMatrix(font, {scale, 0, 0, scale, 0, 0}));
        break;
    }
    case B::kMakeFont: {
        const std::vector<double> m = PopMatrix();
        const EpsValue font = PopDict();
        Push(FontWithMatrix(font, m));
        break;
    }
    case B::kSetFont: currentFont_ = PopDict(); break;
    case B::kCurrentFont:
        if (currentFont_.kind != EpsValue::kDict)
            Unfollowed("currentfont");  // the device's default font
        Push(currentFont_);
        break;
    case B::kSelectFont: {
        const std::vector<double> m = Top().kind == EpsValue::kArray ? PopMatrix() : std::vector<double>{};
        const double scale = m.empty() ? PopNumber() : 0;
        const EpsValue font = find(KeyText(Pop()));
        currentFont_ = FontWithMatrix(font, m.empty() ? std::vector<double>{scale, 0, 0, scale, 0, 0} : m);
        break;
    }
    case B::kStandardEncoding:
        // The glyph names reach nothing but text, which is refused: one array of .notdef
        // serves both encodings.
        if (encoding_.kind != EpsValue::kArray) {
            encoding_.kind = EpsValue::kArray;
            encoding_.items = NewArray(std::vector<EpsValue>(kEncodingSize, EpsValue::Name(".notdef", false)));
        }
        Push(encoding_);
        break;
    case B::kFontDirectory: {
        EpsValue d;
        d.kind = EpsValue::kDict;
        d.dict = fonts_;
        Push(std::move(d));
        break;
    }
    default: Fail();
    }
}

} // namespace tavlo
