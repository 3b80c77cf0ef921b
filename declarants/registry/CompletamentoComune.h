#pragma once
// The registered office's town completes itself while it is typed (the rest of the
// first matching name selected, so the next letter replaces it) and brings its
// province; leaving the box with a whole town name sets the province too.

#include <QString>

#include <map>
#include <optional>
#include <utility>

namespace quercino {

class ElencoComuni;

struct StatoComune {
    QString testo;                   // the box's new text
    std::optional<QString> provincia;  // set when a town was found
    int inizioSelezione = 0;         // caret
    int lunghezzaSelezione = 0;      // selected characters after the caret
};

// After a key is released in the town box. Only the letter keys (codes 65 to 90) act;
// leading blanks are dropped and the text up to the caret is completed to the first
// town, in name order, beginning with it (case ignored). Nothing when the key does not
// act or the text or the part before the caret is empty; the dropped blanks are
// reported even when no town is found.
std::optional<StatoComune> CompletaComune(const QString& testo, int cursore, int tasto,
                                          const ElencoComuni& comuni);

// Which key releases in the town box may complete: only that of a key whose press changed
// the text and was no shortcut. A key that typed nothing (an arrow, a letter over the
// length limit) or a shortcut whose Ctrl was let go before its letter (Ctrl+A: ctrl down,
// a down, ctrl up, a up) must not complete, or the selection the user made is lost.
class TastiComune {
public:
    // Before the box handles the press, with the box's text then.
    void Premuto(int tasto, Qt::KeyboardModifiers modificatori, bool ripetuto, const QString& testo);
    // At the release, with the box's text now: true when the key's press changed the text.
    bool Rilasciato(int tasto, bool ripetuto, const QString& testo);

private:
    // The box handles a press right after it is seen: by the next key event the text shows
    // what the press did.
    void Assesta(const QString& testo);

    std::map<int, bool> scritto_;      // each key held: whether its press changed the text
    std::optional<std::pair<int, QString>> inAttesa_;   // the last press not yet judged, and the text before it
};

// The province of the town whose whole name is `testo` (case and blanks around
// ignored; a name whose quotes were cleaned to blanks still matches); nothing when no
// town has that name.
std::optional<QString> ProvinciaDelComune(const QString& testo, const ElencoComuni& comuni);

} // namespace quercino
