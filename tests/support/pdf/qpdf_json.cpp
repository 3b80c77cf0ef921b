#include "support/pdf/qpdf_json.h"
#include "support/pdf/tools.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>

namespace tavlo::test {

namespace {

const Json& Null()
{
    static const Json null;
    return null;
}

void AppendUtf8(std::string& out, unsigned code)
{
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | code >> 6);
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | code >> 12);
        out += static_cast<char>(0x80 | (code >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | code >> 18);
        out += static_cast<char>(0x80 | (code >> 12 & 0x3F));
        out += static_cast<char>(0x80 | (code >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

struct Parser {
    std::string_view s;
    std::size_t at = 0;

    void Space()
    {
        while (at < s.size() && (s[at] == ' ' || s[at] == '\n' || s[at] == '\r' || s[at] == '\t'))
            ++at;
    }
    unsigned Hex4()
    {
        const unsigned v = static_cast<unsigned>(std::strtoul(std::string(s.substr(at, 4)).c_str(), nullptr, 16));
        at += 4;
        return v;
    }
    std::string String()
    {
        std::string out;
        ++at;  // opening quote
        while (at < s.size() && s[at] != '"') {
            char c = s[at++];
            if (c != '\\') {
                out += c;
                continue;
            }
            c = s[at++];
            switch (c) {
            case 'n': out += '\n'; break;
            case 'r': out += '\r'; break;
            case 't': out += '\t'; break;
            case 'b': out += '\b'; break;
            case 'f': out += '\f'; break;
            case 'u': {
                unsigned code = Hex4();
                if (code >= 0xD800 && code < 0xDC00 && s.substr(at, 2) == "\\u") {
                    at += 2;
                    code = 0x10000 + ((code - 0xD800) << 10) + (Hex4() - 0xDC00);
                }
                AppendUtf8(out, code);
                break;
            }
            default: out += c;
            }
        }
        ++at;
        return out;
    }
    Json Value()
    {
        Space();
        Json v;
        if (at >= s.size())
            return v;
        const char c = s[at];
        if (c == '{') {
            v.kind = Json::Kind::Object;
            ++at;
            for (Space(); at < s.size() && s[at] != '}'; Space()) {
                std::string key = String();
                Space();
                ++at;  // colon
                v.members[key] = Value();
                Space();
                if (s[at] == ',')
                    ++at;
            }
            ++at;
        } else if (c == '[') {
            v.kind = Json::Kind::Array;
            ++at;
            for (Space(); at < s.size() && s[at] != ']'; Space()) {
                v.items.push_back(Value());
                Space();
                if (s[at] == ',')
                    ++at;
            }
            ++at;
        } else if (c == '"') {
            v.kind = Json::Kind::String;
            v.text = String();
        } else if (s.substr(at, 4) == "null") {
            at += 4;
        } else if (c == 't' || c == 'f') {
            v.kind = Json::Kind::Bool;
            v.text = c == 't' ? "true" : "false";
            at += c == 't' ? 4 : 5;
        } else {
            v.kind = Json::Kind::Number;
            const std::size_t end = s.find_first_of(",]} \n\r\t", at);
            v.text = std::string(s.substr(at, end - at));
            at = end;
        }
        return v;
    }
};

bool IsReference(const std::string& text)
{
    return text.size() > 4 && text.compare(text.size() - 4, 4, " 0 R") == 0;
}

std::string Base64Decode(const std::string& text)
{
    static const std::string alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    unsigned bits = 0;
    int count = 0;
    for (char c : text) {
        const std::size_t v = alphabet.find(c);
        if (v == std::string::npos)
            continue;
        bits = bits << 6 | static_cast<unsigned>(v);
        if ((count += 6) >= 8) {
            count -= 8;
            out += static_cast<char>(bits >> count & 0xFF);
        }
    }
    return out;
}

} // namespace

const Json& Json::operator[](const std::string& key) const
{
    const auto found = members.find(key);
    return found == members.end() ? Null() : found->second;
}

const Json& Json::operator[](std::size_t index) const
{
    return index < items.size() ? items[index] : Null();
}

double Json::Number() const
{
    return kind == Kind::Number ? std::strtod(text.c_str(), nullptr) : 0.0;
}

Json ParseJson(std::string_view text)
{
    Parser parser{text};
    return parser.Value();
}

std::string StringValue(const Json& value)
{
    if (value.kind == Json::Kind::String && value.text.compare(0, 2, "u:") == 0)
        return value.text.substr(2);
    if (value.kind == Json::Kind::String && value.text.compare(0, 2, "b:") == 0)
        return TextOf(FromHex(value.text.substr(2)));
    return Show(value);
}

std::string Show(const Json& value)
{
    switch (value.kind) {
    case Json::Kind::Null: return "<none>";
    case Json::Kind::String:
        return value.text.compare(0, 2, "u:") == 0 || value.text.compare(0, 2, "b:") == 0 ? StringValue(value)
                                                                                          : value.text;
    case Json::Kind::Array: {
        std::string out = "[";
        for (const Json& item : value.items)
            out += (out.size() > 1 ? " " : "") + Show(item);
        return out + "]";
    }
    case Json::Kind::Object: {
        std::string out = "<<";
        for (const auto& [key, member] : value.members)
            out += " " + key + " " + Show(member);
        return out + " >>";
    }
    default: return value.text;
    }
}

QpdfDocument::QpdfDocument(const std::string& path, const std::string& password, bool decoded)
{
    const ToolResult run = RunTool(std::string("qpdf --json --json-key=qpdf --json-key=pages --json-key=outlines"
                                               " --json-key=acroform --json-key=pagelabels --json-key=encrypt"
                                               " --show-encryption-key") +
                                   (decoded ? " --json-stream-data=inline --decode-level=generalized"
                                            : " --json-stream-data=none --decode-level=none") +
                                   QpdfPassword(password) + " " + Quote(path) + " 2>/dev/null");
    // qpdf exits with 3 for warnings; the JSON is complete then too.
    if (run.exitCode != 0 && run.exitCode != 3)
        ADD_FAILURE() << "qpdf cannot read " << path;
    json_ = ParseJson(run.output);
}

const Json& QpdfDocument::Trailer() const
{
    return json_["qpdf"][1]["trailer"]["value"];
}

const Json& QpdfDocument::Object(const std::string& reference) const
{
    const Json& object = json_["qpdf"][1]["obj:" + reference];
    return object.Has("stream") ? object["stream"]["dict"] : object["value"];
}

const Json& QpdfDocument::Resolve(const Json& value) const
{
    const Json* v = &value;
    for (int depth = 0; depth < 32 && v->kind == Json::Kind::String && IsReference(v->text); ++depth) {
        const Json& next = Object(v->text);
        if (next.IsNull())
            break;
        v = &next;
    }
    return *v;
}

const Json& QpdfDocument::Get(const std::string& path) const
{
    std::size_t from = 0;
    const Json* v = &Trailer();
    const std::size_t firstEnd = path.find('/');
    const std::string first = path.substr(0, firstEnd);
    if (IsReference(first)) {
        v = &Object(first);
        from = firstEnd == std::string::npos ? path.size() : firstEnd + 1;
    }
    while (from < path.size()) {
        std::size_t end = path.find('/', from);
        if (end == std::string::npos)
            end = path.size();
        // A name's #xx escapes, as the file writes them, are the bytes qpdf shows.
        std::string key;
        for (std::size_t i = from; i < end; ++i)
            if (path[i] == '#' && i + 2 < end) {
                key += static_cast<char>(std::stoi(path.substr(i + 1, 2), nullptr, 16));
                i += 2;
            } else {
                key += path[i];
            }
        v = &Resolve(*v);
        if (v->kind == Json::Kind::Array)
            v = &(*v)[static_cast<std::size_t>(std::stoul(key))];
        else
            v = &(*v)["/" + key];
        from = end + 1;
    }
    return Resolve(*v);
}

std::string QpdfDocument::Text(const std::string& path) const
{
    return Show(Get(path));
}

std::string QpdfDocument::StreamData(const std::string& referenceOrPath) const
{
    std::string reference = referenceOrPath;
    if (!IsReference(reference)) {
        // The path's last step is the reference itself: resolve up to the step before.
        const std::size_t slash = reference.rfind('/');
        const Json& holder = slash == std::string::npos ? Trailer() : Get(reference.substr(0, slash));
        const std::string key = reference.substr(slash + 1);
        const Json& value = holder.kind == Json::Kind::Array ? holder[static_cast<std::size_t>(std::stoul(key))]
                                                             : holder["/" + key];
        reference = value.text;
    }
    return Base64Decode(json_["qpdf"][1]["obj:" + reference]["stream"]["data"].text);
}

std::vector<std::string> QpdfDocument::Pages() const
{
    std::vector<std::string> pages;
    for (const Json& page : json_["pages"].items)
        pages.push_back(page["object"].text);
    return pages;
}

std::string QpdfDocument::PageContent(int page) const
{
    std::string content;
    for (const Json& stream : json_["pages"][static_cast<std::size_t>(page - 1)]["contents"].items)
        content += StreamData(stream.text) + "\n";
    return content;
}

std::vector<std::string> QpdfDocument::OutlineTitles() const
{
    std::vector<std::string> titles;
    const std::function<void(const Json&, const std::string&)> walk = [&](const Json& items, const std::string& indent) {
        for (const Json& item : items.items) {
            titles.push_back(indent + StringValue(item["title"]));
            walk(item["kids"], indent + "  ");
        }
    };
    walk(json_["outlines"], "");
    return titles;
}

} // namespace tavlo::test
