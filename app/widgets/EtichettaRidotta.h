#pragma once
// A one-line label whose text never widens its window: what does not fit is elided ("…")
// and the whole text is in the tooltip. For names and paths that may be of any length.

#include <QLabel>

namespace quercino {

class EtichettaRidotta : public QLabel {
    Q_OBJECT
public:
    // `dove`: where the text is cut (Qt::ElideRight for names, Qt::ElideMiddle for paths,
    // whose file name matters most).
    explicit EtichettaRidotta(QWidget* parent = nullptr, Qt::TextElideMode dove = Qt::ElideRight);

    // The text as drawn at the present width.
    QString TestoVisibile() const;

    QSize minimumSizeHint() const override;
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* evento) override;
    bool event(QEvent* evento) override;

private:
    Qt::TextElideMode dove_;
};

} // namespace quercino
