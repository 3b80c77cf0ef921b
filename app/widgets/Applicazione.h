#pragma once
// The program's application object. Every event of every window passes through its notify:
// a failure that a handler did not catch itself (a database gone, a file that cannot be
// written) is shown to the user there and the program goes on. Qt cannot carry an
// exception out of an event handler; one that left it would end the program. Each event
// that starts from the event loop itself is one operation of the user (Database::Operation).

#include <QApplication>

namespace quercino {

class Applicazione : public QApplication {
public:
    Applicazione(int& argc, char** argv);

    bool notify(QObject* destinatario, QEvent* evento) override;
};

} // namespace quercino
