#include "app/widgets/Finestre.h"

#include <QApplication>
#include <QEvent>
#include <QPointer>
#include <QScreen>
#include <QWidget>

namespace quercino {

namespace {

QPointer<QWidget> principale;

// The frame the window manager adds around the window; before the first show the frame
// is not known yet and counts as none.
QSize Cornice(const QWidget* finestra)
{
    return finestra->frameGeometry().size() - finestra->size();
}

QRect Dentro(QRect cornice, const QRect& area)
{
    cornice.moveLeft(qBound(area.left(), cornice.left(), qMax(area.left(), area.right() - cornice.width() + 1)));
    cornice.moveTop(qBound(area.top(), cornice.top(), qMax(area.top(), area.bottom() - cornice.height() + 1)));
    return cornice;
}

class GuardiaSchermo final : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* oggetto, QEvent* evento) override
    {
        if (evento->type() == QEvent::Show && oggetto->isWidgetType()) {
            auto* finestra = static_cast<QWidget*>(oggetto);
            const Qt::WindowType tipo = finestra->windowType();
            if (finestra->isWindow() && tipo != Qt::Popup && tipo != Qt::ToolTip && tipo != Qt::SplashScreen)
                AdattaAlloSchermo(finestra);
        }
        return QObject::eventFilter(oggetto, evento);
    }
};

} // namespace

void ImpostaFinestraPrincipale(QWidget* finestra)
{
    principale = finestra;
}

QWidget* FinestraPrincipale()
{
    return principale;
}

QWidget* FinestraProprietaria()
{
    if (QWidget* attiva = QApplication::activeModalWidget())
        return attiva;
    if (QWidget* attiva = QApplication::activeWindow())
        return attiva;
    return FinestraPrincipale();
}

QRect AreaDisponibile(const QWidget* finestra)
{
    const QScreen* schermo = finestra ? finestra->screen() : nullptr;
    if (!schermo && principale)
        schermo = principale->screen();
    if (!schermo)
        schermo = QGuiApplication::primaryScreen();
    return schermo ? schermo->availableGeometry() : QRect();
}

void AdattaAlloSchermo(QWidget* finestra)
{
    const QRect area = AreaDisponibile(finestra);
    if (!finestra || area.isEmpty())
        return;
    const QSize cornice = Cornice(finestra);
    const QSize massima = (area.size() - cornice).expandedTo(QSize(1, 1));
    if (finestra->width() > massima.width() || finestra->height() > massima.height())
        finestra->resize(finestra->size().boundedTo(massima));
    const QRect fuori(finestra->pos(), finestra->size() + cornice);
    const QRect dentro = Dentro(fuori, area);
    if (dentro.topLeft() != fuori.topLeft())
        finestra->move(dentro.topLeft());
}

void CentraSullaPrincipale(QWidget* finestra)
{
    if (!finestra)
        return;
    AdattaAlloSchermo(finestra);
    const QRect area = AreaDisponibile(finestra);
    const QRect sopra = principale && principale != finestra && principale->isVisible()
        ? principale->frameGeometry()
        : area;
    QRect cornice(QPoint(), finestra->size() + Cornice(finestra));
    cornice.moveCenter(sopra.center());
    finestra->move(Dentro(cornice, area).topLeft());
}

void AdattaFinestreAlloSchermo(QApplication& applicazione)
{
    static GuardiaSchermo* guardia = nullptr;
    if (guardia)
        return;
    guardia = new GuardiaSchermo(&applicazione);
    applicazione.installEventFilter(guardia);
}

} // namespace quercino
