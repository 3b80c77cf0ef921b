#pragma once
// Opening documents, folders and web pages with the desktop's own programs. Everything goes
// through QDesktopServices, never a shell command line; tests intercept the openings with
// QDesktopServices::setUrlHandler.

#include <QString>

#include <cstdint>

namespace quercino {

// The Revenue Agency's invoice-services portal.
inline const QString IndirizzoPortale =
    QStringLiteral("https://ivaservizi.agenziaentrate.gov.it/portale/");

// Runs a command of the forms the program uses: "EXPLORER " followed by a web address or a
// folder (quoted or not) opens it; any other text is taken as a document or folder path and
// opened with its default program. Returns at once: 1 when the opening was handed to the
// desktop, 0 when it failed or the text was empty.
std::int32_t Esegui(const QString& comando);

// Opens a document or folder with its default program; false when it could not be opened
// (a missing file is not an error worth a message: callers ignore the result).
bool ApriDocumento(const QString& percorso);

// Opens a web page or mailto: address; false when nothing could open it.
bool ApriIndirizzo(const QString& indirizzo);

} // namespace quercino
