#pragma once
// Opening documents, folders and web pages with the desktop's own programs, never through a
// shell command line. What cannot be opened is told in Italian: a document or folder that is
// missing (and where it was looked for), or one that no program of the desktop takes.
//
// On X11 and Wayland desktops the opening goes through xdg-open, whose exit status tells
// whether any program took it (the answer comes later: the message then appears by itself);
// elsewhere, and in tests, through QDesktopServices, which tests intercept with
// QDesktopServices::setUrlHandler.

#include <QString>
#include <QUrl>

#include <cstdint>
#include <functional>

namespace quercino {

// The Revenue Agency's invoice-services portal.
inline const QString IndirizzoPortale =
    QStringLiteral("https://ivaservizi.agenziaentrate.gov.it/portale/");

// Titles of the messages below.
inline const QString TitoloNonTrovato = QStringLiteral("Documento non trovato");
inline const QString TitoloNessunProgramma = QStringLiteral("Nessun programma disponibile");

// Runs a command of the forms the program uses: "EXPLORER " followed by a web address or a
// folder (quoted or not) opens it; any other text is taken as a document or folder path and
// opened with its default program. Returns at once: 1 when the opening was handed to the
// desktop, 0 when it failed or the text was empty.
std::int32_t Esegui(const QString& comando);

// Opens a document or folder with its default program; false (after saying so) when it is
// missing or nothing could open it.
bool ApriDocumento(const QString& percorso);

// Opens a web page or mailto: address; false (after saying so) when nothing could open it.
bool ApriIndirizzo(const QString& indirizzo);

// Hands `url` to the desktop; `esito` learns, at once or when the launcher exits, whether a
// program took it. False when the failure is known at once.
bool ConsegnaAlDesktop(const QUrl& url, std::function<void(bool preso)> esito);

// The program that hands files and addresses to the desktop and exits with 0 only when one
// took them ("xdg-open" on X11 and Wayland); empty: the platform's own service.
QString Lanciatore();
void ImpostaLanciatore(const QString& programma);

} // namespace quercino
