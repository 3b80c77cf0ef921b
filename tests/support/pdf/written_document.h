#pragma once
// Writing a whole document for a test and the checks every written file must pass: qpdf
// --check without warnings, poppler (pdftoppm) and mupdf (mutool draw) painting it without
// complaint, and a cross-reference table whose offsets point exactly at the objects they
// name. Also pdfinfo's and pdffonts' reports of a file.

#include "pdf/Tavlo.h"

#include <functional>
#include <map>
#include <string>

namespace tavlo::test {

struct WriteOptions {
    // Called before BeginDoc: protection, compression, properties, a font chosen early.
    std::function<void(Tavlo&)> before;
    // The user password the readers open the file with (the owner's when owner is set).
    std::string password{};
    bool owner = false;
    // false: write only, for files the readers are meant to refuse or that a test reads itself.
    bool check = true;
};

struct WrittenPdf {
    std::string path;
    std::string bytes;
};

// Opens a document at TempPath(name), lets draw add to it, closes it and checks it.
WrittenPdf WriteDocument(const std::string& name, const std::function<void(Tavlo&)>& draw,
                      const WriteOptions& options = {});
// The same with the caller's writer, whose state the test reads afterwards.
WrittenPdf WriteDocument(Tavlo& pdf, const std::string& name, const std::function<void(Tavlo&)>& draw,
                      const WriteOptions& options = {});

// The checks of real readers on a finished file.
void ExpectReadersAccept(const std::string& path, const std::string& password = "", bool owner = false);
// Every in-use entry of the one-subsection table points at "n 0 obj" for its own n, and
// startxref points at "xref".
void ExpectCrossReferenceExact(const std::string& pdf);
// mupdf's notes about the missing output colour profile removed from its messages.
std::string MupdfComplaints(const std::string& errors);

// pdfinfo's fields (with -f 1 -l 99: "Page    2 size", "Page    2 rot"...), values trimmed.
std::map<std::string, std::string> PdfInfo(const std::string& path, const std::string& password = "");
// A field of PdfInfo, "<none>" when pdfinfo did not report it.
std::string InfoField(const std::string& path, const std::string& key, const std::string& password = "");
// pdffonts' table.
std::string FontsListed(const std::string& path, const std::string& password = "");

} // namespace tavlo::test
