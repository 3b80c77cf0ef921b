#pragma once
// A message service for the shell's tests: records every message box and, when asked,
// shows a real modal dialog for it (closed at once by a timer), so that the focus moves
// to another window and back as it does with the program's own boxes.

#include "app/core/Messaggi.h"

#include <QApplication>
#include <QDialog>
#include <QTimer>

#include <functional>
#include <vector>

namespace quercino::test {

class MessaggiRegistrati : public ServizioMessaggi {
public:
    explicit MessaggiRegistrati(bool finestraVera = false) : finestraVera_(finestraVera)
    {
        ImpostaServizioMessaggi(this);
    }
    ~MessaggiRegistrati() override { ImpostaServizioMessaggi(nullptr); }

    int Mostra(const Messaggio& messaggio) override
    {
        mostrati.push_back(messaggio);
        if (mentreMostra)
            mentreMostra(messaggio);
        // A loop would show boxes for ever: stop showing them past a generous limit.
        if (finestraVera_ && mostrati.size() < 20) {
            QDialog box(QApplication::activeWindow());
            box.setWindowTitle(messaggio.titolo);
            QTimer::singleShot(0, &box, &QDialog::accept);
            box.exec();
        }
        return RispostaOk;
    }
    int MostraTask(const DialogoTask&) override { return PrimoPulsanteTask; }

    std::vector<Messaggio> mostrati;
    std::function<void(const Messaggio&)> mentreMostra;

private:
    bool finestraVera_;
};

} // namespace quercino::test
