#pragma once
// Everything one Tavlo instance knows, in one place. Every part of the writer (core,
// drawing, images) reads and writes these fields; Abort resets them (Tavlo.cpp).

#include "pdf/core/Bytes.h"
#include "pdf/core/DocumentTables.h"
#include "pdf/core/OutputFile.h"
#include "pdf/core/Rc4.h"
#include "pdf/core/StringBuffer.h"
#include "pdf/core/deflate/FlateEncoder.h"
#include "pdf/core/ImageEntry.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace tavlo {

struct TavloState {
    // Output file
    OutputFile file;
    std::string FileName;
    std::int32_t FileLength = 0;
    std::int32_t VersionBump = 0;

    // Objects
    std::int32_t LastObjectNumber = 0;
    std::vector<std::string> XrefEntries;  // by object number, entry 0 unused
    std::int32_t CurrentObject = 0;
    bool ObjectsWritten = false;           // set when an object is begun; SetProtection then refuses

    // Document information
    std::string InfoTitle, InfoSubject, InfoKeywords, InfoAuthor, InfoCreator, InfoProducer;
    std::string CreationDate;

    // Page set-up (points)
    double PageWidth = 596, PageHeight = 842, Scale = 1;
    double MarginLeft = 0, MarginRight = 0, MarginTop = 0, MarginBottom = 0;
    bool ClipToMargins = false;
    std::int32_t DefaultRotation = 0, PageRotation = 0;
    std::string DefaultTransition, PageTransition;
    double DefaultDuration = 0, PageDuration = 0;

    // Pages
    std::int32_t PageCount = 0;
    std::vector<std::int32_t> PageObjects;
    std::string PageKids, PageLabels, PageAnnots;
    double CurrentX = 0, CurrentY = 0;

    // Content targets
    StringBuffer PageContent, ObjectContent, TilingContent, InflateOutput;
    bool InPage = false, InObject = false, InTiling = false, ColorLocked = false;

    // Drawing settings reset per page
    std::string FillColor = "#FFFFFF", LineColor = "#000000", TextColor = "#000000";
    double CharSpacing = 0, WordSpacing = 0, HorizontalScaling = 100, LineSpacing = 1.0;
    float LineWidth = 0;  // points, as the line-width setter stored it (note box borders)

    // Shared resource texts
    std::string FontResources, ImageResources, XObjectResources, ExtGStates, Patterns;

    // Interactive parts
    std::int32_t FieldCount = 0;
    std::string FieldRefs, CalcOrder;
    std::array<std::string, 9> DocScripts;
    std::int32_t BookmarkCount = 0, DestinationCount = 0, LayerCount = 0;

    // Other tables (their records belong to the parts that fill them)
    std::int32_t FontCount = 0, CurrentFont = 0, ImageCount = 0, RecordedCount = 0, StateDepth = 0;
    std::int32_t SourceCount = 0, CurrentSource = 0;
    // Images[0 .. ImageCount - 1]; records past ImageCount are stale ones of an earlier document.
    std::vector<ImageEntry> Images;

    // Security
    bool Encrypted = false;
    Bytes OwnerEntry, UserEntry, FileKey;
    std::int32_t Permissions = 0;
    int KeyLength = 0;       // object key length: 10 or 16
    std::string FileId;
    Rc4Cache rc4;

    // Settings
    std::int32_t ViewerPreferences = 0;
    int MemoryUsage = 1;
    std::uint32_t Compression = 0;
    std::uint8_t CompressionLevel = 0;
    deflate::FlateWorkspace flate;

    // Record tables of the document (fonts, outline, layers, recorded objects...)
    DocumentTables doc;

    // Errors
    std::int32_t LastErrNumber = 0;
    std::string LastErrSource, LastErrDescription;
};

} // namespace tavlo
