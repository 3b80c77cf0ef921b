#pragma once
// What .xlsx and .xlsb files share: a zip package whose parts are found through
// relationships (_rels/.rels names the workbook part, the workbook's own relationships its
// sheets, shared strings and styles) and typed by [Content_Types].xml.

#include "platform/sheets/XmlPullParser.h"
#include "platform/sheets/ZipArchive.h"

#include <functional>
#include <map>
#include <string>

namespace quercino::sheets {

struct RelazioneOpc {
    std::string Destinazione;   // the part's name inside the zip, resolved
    std::string Tipo;           // the relationship type (a URI)
};

// The relationships of `parte` ("" for the package's own), by id; external targets left out.
// Throws SheetError when the relationships part is malformed.
std::map<std::string, RelazioneOpc> LeggiRelazioni(const ZipArchive& archivio, const std::string& parte);

// The workbook part the package's relationships name; empty when there is none.
std::string ParteDocumento(const ZipArchive& archivio);

// The content type [Content_Types].xml gives `parte` (its override, or its extension's
// default); empty when it gives none.
std::string TipoContenuto(const ZipArchive& archivio, const std::string& parte);

// Whether the workbook part is the binary one of an .xlsb file: by its content type, or by
// its name where the package does not type it.
bool CartellaBinaria(const ZipArchive& archivio, const std::string& parteCartella);

// Resolves a relationship target against the folder of the part that holds it.
std::string RisolviParte(const std::string& cartella, const std::string& destinazione);

bool FiniscePer(const std::string& s, std::string_view coda);

// Every start tag of a small XML part read whole, its attributes read by `visita`; the
// elements come with the package's namespaces (SpaziXml.h).
void PerOgniElemento(const std::string& testo, const OrigineXml& origine, const std::function<void(const XmlPullParser&)>& visita);

} // namespace quercino::sheets
