#include "pdf/Tavlo.h"

#include "pdf/core/AsciiHexEncoder.h"
#include "pdf/core/TavloState.h"
#include "pdf/core/Windows1252.h"

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <random>
#include <spawn.h>
#include <sys/wait.h>

extern char** environ;

namespace tavlo {

namespace {

std::string GeneratedFileName()
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    const long stamp = local.tm_mday * 1000000L + local.tm_hour * 10000L + local.tm_min * 100L + local.tm_sec;
    std::random_device device;
    char name[32];
    std::snprintf(name, sizeof name, "~%lX%u.pdf", stamp, device() % 10);
    return name;
}

} // namespace

std::string Tavlo::BeginDoc(const std::string& fileName)
{
    TavloState& s = *s_;
    std::string path = fileName;
    auto trapped = [&](auto step) {
        try {
            step();
        } catch (const std::exception& error) {
            CaptureError("BeginDoc", path, error);
        }
    };
    // An unfinished document is dropped: the earlier file of its name stays.
    trapped([&] { s.file.Discard(); });
    // Objects of an earlier document would be numbered and listed again in this one.
    if (s.ObjectsWritten) {
        CaptureError("BeginDoc", path,
                     TavloError(ErrorCode::InvalidArgument,
                                "Il documento precedente non è stato azzerato: chiamare Abort prima di BeginDoc"));
        return path;
    }
    trapped([&] {
        if (path.empty())
            path = GeneratedFileName();
    });
    trapped([&] {
        s.FileName = path;
        s.file.Open(path);
    });
    trapped([&] { PutLine("%PDF-1.3\n% Tavlo Library rel. " + Version()); });
    trapped([&] { s.LastObjectNumber = 3; });
    // Fonts chosen before the file existed get their objects now.
    trapped([&] {
        if (s.file.IsOpen())
            WritePendingFonts();
    });
    return path;
}

void Tavlo::SetDocProperty(const std::string& title, const std::string& subject, const std::string& author,
                           const std::string& creator, const std::string& producer, const std::string& keywords)
{
    TavloState& s = *s_;
    s.InfoTitle = title;
    if (!s.doc.Bookmarks.empty())
        s.doc.Bookmarks.front().title = title;
    s.InfoSubject = subject;
    s.InfoKeywords = keywords;
    if (!author.empty())
        s.InfoAuthor = author;
    if (!creator.empty())
        s.InfoCreator = creator;
    if (!producer.empty())
        s.InfoProducer = producer;
}

void Tavlo::SetViewerPreferences(std::int32_t flags)
{
    s_->ViewerPreferences = flags;
}

void Tavlo::OpenDoc()
{
    // The desktop's default handler, started in the background so that nothing waits for it.
    const std::string script = "xdg-open \"$1\" >/dev/null 2>&1 &";
    std::string shell = "/bin/sh", dashC = "-c", argv0 = "sh", file = s_->FileName;
    char* argv[] = {shell.data(), dashC.data(), const_cast<char*>(script.c_str()), argv0.data(), file.data(), nullptr};
    pid_t child = 0;
    if (posix_spawn(&child, "/bin/sh", nullptr, nullptr, argv, environ) != 0)
        throw TavloError(ErrorCode::FileNotFound);
    int status = 0;
    waitpid(child, &status, 0);
}

void Tavlo::EndDoc()
{
    TavloState& s = *s_;
    // A recording left open would be named in the resources and played without its object.
    EndObject();
    EndTiling();
    // A name played but never recorded gets an empty object: readers refuse a page whose
    // resources lack what it names. Recorded with no placement flags, it is never played again.
    for (const std::string& name : std::set<std::string>(s.doc.PlayedNames)) {
        const auto& recorded = s.doc.RecordedObjects;
        if (std::none_of(recorded.begin(), recorded.end(), [&](const ObjectEntry& e) { return e.name == name; })) {
            BeginObject(name, 0);
            EndObject();
        }
    }
    if (s.PageCount < 1)
        BeginPage();
    if (s.InPage)
        EndPage();

    const std::int32_t outlines = s.BookmarkCount > 1 ? WriteOutlines() : 0;
    const std::int32_t encryption = WriteEncryptionDictionary();
    std::array<std::int32_t, 6> scripts{};
    std::int32_t names = 0;
    WriteDocumentScripts(scripts, names);
    std::vector<std::int32_t> groups;
    WriteLayerGroups(groups);

    const std::int32_t metadata = NewObj();
    PutLine("<< /Type /Metadata /Subtype /XML");
    Bytes xmp = BytesOf(BuildXmpMetadata());
    WriteStream(xmp, 0, "", 0);
    EndObj();

    const std::int32_t destinations = WriteNamedDestinations();
    std::string properties;
    for (std::size_t i = 0; i < groups.size(); ++i)
        properties += "/_LAY_" + std::to_string(i + 1) + " " + std::to_string(groups[i]) + " 0 R ";
    WriteResourceDictionary(3, false, properties);
    WriteResourceDictionary(2, true, properties);

    std::int32_t pages = 1;
    NewObj(pages);
    PutLine("<<\r/Type /Pages /Count " + std::to_string(s.PageCount) + "\r/Kids [" + s.PageKids + "] \r>>");
    EndObj();

    const std::int32_t catalog = WriteCatalog(outlines, metadata, destinations, names, scripts, groups);

    const std::int32_t info = NewObj();
    auto text = [&](const std::string& value) { return MakeTextString(PdfTextFromWindows1252(value)); };
    PutLine("<<\r/Title " + text(s.InfoTitle) + "\r/Author " + text(s.InfoAuthor) + "\r/Creator " +
            text(s.InfoCreator) + "\r/Producer " + text(s.InfoProducer) + "\r/CreationDate " +
            MakeTextString(s.CreationDate) + "\r/Subject " + text(s.InfoSubject) + "\r/Keywords " +
            text(s.InfoKeywords) + "\r>>");
    EndObj();

    const std::int32_t xref = CheckedInt32(s.file.Position());
    const std::string size = std::to_string(static_cast<std::int64_t>(s.LastObjectNumber) + 1);
    PutLine("xref\n0 " + size + "\n0000000000 65535 f\r");
    for (std::int32_t i = 1; i <= s.LastObjectNumber; ++i)
        PutLine(s.XrefEntries[static_cast<std::size_t>(i)]);
    PutLine("trailer\n<< /Size " + size + " /Info " + std::to_string(info) + " 0 R /Root " +
            std::to_string(catalog) + " 0 R");
    if (encryption) {
        const std::string id = HexText(BytesOf(s.FileId));
        PutLine("/Encrypt " + std::to_string(encryption) + " 0 R /ID [<" + id + "><" + id + ">]");
    }
    PutLine(">>\nstartxref\n" + std::to_string(xref) + "\n%%EOF");

    const std::int32_t length = CheckedInt32(s.file.Position());
    if (s.VersionBump != 0)
        s.file.Overwrite("%PDF-1." + std::to_string(3 + s.VersionBump));
    // Only a whole document takes the place of the earlier file; a failed one is removed.
    s.file.Commit();
    s.FileLength = length;
}

} // namespace tavlo
