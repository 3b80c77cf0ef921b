#pragma once
// Records what QDesktopServices would open (web pages, mailto: addresses, files and
// folders) instead of opening it; installed for its lifetime.

#include <QList>
#include <QObject>
#include <QUrl>

namespace quercino::test {

class AperturaRegistrata final : public QObject {
    Q_OBJECT
public:
    AperturaRegistrata();
    ~AperturaRegistrata() override;

    QList<QUrl> aperti;

public slots:
    void apri(const QUrl& url);
};

} // namespace quercino::test
