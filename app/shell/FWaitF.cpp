#include "app/shell/FWaitF.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QTimer>
#include <QVBoxLayout>
#include <QtMath>

namespace quercino {

QPixmap FWaitF::DisegnaFotogramma(int n, int lato)
{
    QPixmap immagine(lato, lato);
    immagine.fill(Qt::transparent);
    QPainter p(&immagine);
    p.setRenderHint(QPainter::Antialiasing);
    p.translate(lato / 2.0, lato / 2.0);
    const qreal esterno = lato / 2.0 - 2.0;
    const qreal interno = esterno * 0.45;
    for (int raggio = 0; raggio < Fotogrammi; ++raggio) {
        // Spoke n is the darkest; the ones it has passed fade behind it.
        const int distanza = ((n - 1) - raggio + Fotogrammi) % Fotogrammi;
        QColor colore(30, 70, 140);
        colore.setAlphaF(1.0 - distanza * (0.85 / (Fotogrammi - 1)));
        QPen penna(colore, lato / 12.0, Qt::SolidLine, Qt::RoundCap);
        p.setPen(penna);
        const qreal angolo = qDegreesToRadians(raggio * 360.0 / Fotogrammi - 90.0);
        p.drawLine(QPointF(qCos(angolo) * interno, qSin(angolo) * interno),
                   QPointF(qCos(angolo) * esterno, qSin(angolo) * esterno));
    }
    return immagine;
}

FWaitF::FWaitF(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FWaitF"));
    setWindowTitle(QStringLiteral("Attendere prego......"));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);

    constexpr int lato = 48;
    for (int n = 1; n <= Fotogrammi; ++n)
        ImageList1_.append(DisegnaFotogramma(n, lato));

    Image1_ = new QLabel(this);
    Image1_->setObjectName(QStringLiteral("Image1"));
    Image1_->setFixedSize(lato, lato);
    lblTitle_ = new QLabel(QStringLiteral("Attendere prego......"), this);
    lblTitle_->setObjectName(QStringLiteral("lblTitle"));
    QFont grassetto = lblTitle_->font();
    grassetto.setBold(true);
    lblTitle_->setFont(grassetto);
    fwSto_ = new QLabel(QStringLiteral("Elaborazione in corso"), this);
    fwSto_->setObjectName(QStringLiteral("fwSto"));

    auto* testi = new QVBoxLayout;
    testi->addWidget(lblTitle_);
    testi->addWidget(fwSto_);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(Image1_);
    layout->addLayout(testi);

    Timer1_ = new QTimer(this);
    Timer1_->setObjectName(QStringLiteral("Timer1"));
    Timer1_->setInterval(IntervalloMs);
    connect(Timer1_, &QTimer::timeout, this, &FWaitF::Timer1_Timer);
    Timer1_->start();
    Timer1_Timer();
}

void FWaitF::Timer1_Timer()
{
    Image1_->setPixmap(ImageList1_.at(fotogramma_ - 1));
    fotogramma_ = fotogramma_ % Fotogrammi + 1;
}

void FWaitF::Update()
{
    QCoreApplication::processEvents();
}

} // namespace quercino
