#pragma once
// A written document as qpdf reads it: `qpdf --json` (version 2, which decrypts with the
// password and decodes the streams) parsed into a tree, with the objects, the trailer, the
// pages, the outlines, the form fields, the page labels and the encryption that qpdf reports.
// Queries follow indirect references, so a test names what it wants ("Root/Pages/Count")
// rather than searching the file's bytes.

#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace tavlo::test {

class Json {
public:
    enum class Kind { Null, Bool, Number, String, Array, Object };
    Kind kind = Kind::Null;
    std::string text;  // a string's value, a number as written, "true" / "false"
    std::vector<Json> items;
    std::map<std::string, Json> members;

    bool IsNull() const { return kind == Kind::Null; }
    bool Has(const std::string& key) const { return members.count(key) != 0; }
    // A missing member or item is a null value.
    const Json& operator[](const std::string& key) const;
    const Json& operator[](std::size_t index) const;
    std::size_t Size() const { return kind == Kind::Array ? items.size() : members.size(); }
    double Number() const;
};

Json ParseJson(std::string_view text);

class QpdfDocument {
public:
    // Empty (and a test failure) when qpdf cannot read the file. Streams come decoded, their
    // dictionaries without /Filter then; `decoded` false keeps them as written, without data.
    explicit QpdfDocument(const std::string& path, const std::string& password = "", bool decoded = true);

    // The whole output: "qpdf" (objects), "pages", "outlines", "acroform", "pagelabels", "encrypt".
    const Json& Root() const { return json_; }
    const Json& Trailer() const;
    // An object by reference ("5 0 R"): a stream's dictionary for a stream.
    const Json& Object(const std::string& reference) const;
    // The value itself, or the object an indirect reference names.
    const Json& Resolve(const Json& value) const;
    // Follows a path of keys (without their slash) and array indices from the trailer, or
    // from the object a leading reference names: "Root/Pages/Kids/0/MediaBox", "5 0 R/Type";
    // keys may hold the #xx escapes of names as the file writes them.
    const Json& Get(const std::string& path) const;
    // Get, shown as qpdf's value: names "/A", numbers as written, text strings decoded,
    // arrays "[a b]", dictionaries "<< /K v >>"; "<none>" when the path leads nowhere.
    std::string Text(const std::string& path) const;
    // The decoded data of a stream given by reference or by path.
    std::string StreamData(const std::string& referenceOrPath) const;
    // The references of the pages, in order, and one page's content streams joined.
    std::vector<std::string> Pages() const;
    std::string PageContent(int page) const;
    // The outline's titles depth first, each indented by two spaces a level.
    std::vector<std::string> OutlineTitles() const;

private:
    Json json_;
};

// A value as QpdfDocument::Text shows it.
std::string Show(const Json& value);
// A qpdf string ("u:text" or "b:hex") as its bytes; anything else as Show gives it.
std::string StringValue(const Json& value);

} // namespace tavlo::test
