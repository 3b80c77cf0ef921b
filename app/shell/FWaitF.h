#pragma once
// "Attendere prego......": a small window with a turning wheel for long operations. The
// caller shows it, calls Update() now and then while it works, and closes it at the end.

#include <QDialog>
#include <QList>
#include <QPixmap>

class QLabel;
class QTimer;

namespace quercino {

class FWaitF : public QDialog {
    Q_OBJECT
public:
    static constexpr int Fotogrammi = 12;
    static constexpr int IntervalloMs = 200;

    explicit FWaitF(QWidget* parent = nullptr);

    // Lets the window repaint and turn its wheel while the caller works.
    void Update();

    // The frame the next tick shows (1 to 12).
    int Fotogramma() const { return fotogramma_; }
    // Timer1's tick: shows the current frame, then moves on to the next one.
    void Timer1_Timer();

    QLabel* lblTitle() const { return lblTitle_; }
    QLabel* fwSto() const { return fwSto_; }
    QLabel* Image1() const { return Image1_; }
    QTimer* Timer1() const { return Timer1_; }
    // ImageList1: the 12 frames, drawn by the program.
    const QList<QPixmap>& ImageList1() const { return ImageList1_; }

    // Frame n (1 to 12): twelve spokes, the nth dark and the ones before it fading.
    static QPixmap DisegnaFotogramma(int n, int lato);

private:
    QLabel* lblTitle_ = nullptr;
    QLabel* fwSto_ = nullptr;
    QLabel* Image1_ = nullptr;
    QTimer* Timer1_ = nullptr;
    QList<QPixmap> ImageList1_;
    int fotogramma_ = 1;
};

} // namespace quercino
