#include "app/shell/FCale.h"

#include "app/core/Globals.h"

#include <QCalendarWidget>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QLocale>
#include <QMouseEvent>
#include <QScreen>
#include <QScrollBar>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace quercino {

namespace {

const QString FormatoData = QStringLiteral("dd/MM/yyyy");

// Month names in Italian whatever the machine's locale, first letter upper case.
QString NomeMese(int mese)
{
    const QString nome = QLocale(QLocale::Italian, QLocale::Italy).standaloneMonthName(mese);
    return nome.isEmpty() ? nome : nome.left(1).toUpper() + nome.mid(1);
}

QString TestoData(const QDate& data)
{
    return data.isValid() ? data.toString(FormatoData) : QString();
}

} // namespace

QDate FCale::LeggiDataProposta(const QString& testo)
{
    const QDate data = QDate::fromString(testo.trimmed(), FormatoData);
    if (!data.isValid() || data.year() < AnnoMinimo || data.year() > AnnoMassimo)
        return QDate::currentDate();
    return data;
}

FCale::FCale(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FCale"));
    setWindowTitle(QStringLiteral("Seleziona una data"));

    MyDate_ = new QLabel(this);
    MyDate_->setObjectName(QStringLiteral("MyDate"));
    MyDate_->setAlignment(Qt::AlignCenter);
    MyDate_->setFrameShape(QFrame::Panel);
    MyDate_->setFrameShadow(QFrame::Sunken);
    MyDate_->installEventFilter(this);

    Command2_ = new QToolButton(this);
    Command2_->setObjectName(QStringLiteral("Command2"));
    Command2_->setArrowType(Qt::LeftArrow);
    Command2_->setToolTip(QStringLiteral("Decrementa Mesi "));
    Command3_ = new QToolButton(this);
    Command3_->setObjectName(QStringLiteral("Command3"));
    Command3_->setArrowType(Qt::RightArrow);
    Command3_->setToolTip(QStringLiteral("Incrementa Mesi "));
    lblMESE_ = new QLabel(this);
    lblMESE_->setObjectName(QStringLiteral("lblMESE"));
    lblMESE_->setMinimumWidth(90);
    lblMESE_->setAlignment(Qt::AlignCenter);
    lblMESE_->installEventFilter(this);
    cmdMESI_ = new QToolButton(this);
    cmdMESI_->setObjectName(QStringLiteral("cmdMESI"));
    cmdMESI_->setArrowType(Qt::DownArrow);
    cmdMESI_->setToolTip(QStringLiteral("Lista Mesi "));
    lblANNO_ = new QLabel(this);
    lblANNO_->setObjectName(QStringLiteral("lblANNO"));
    lblANNO_->setToolTip(QStringLiteral("Riporta all'Anno Corrente"));
    lblANNO_->setAlignment(Qt::AlignCenter);
    lblANNO_->setMinimumWidth(40);
    lblANNO_->installEventFilter(this);
    VScroll1_ = new QScrollBar(Qt::Vertical, this);
    VScroll1_->setObjectName(QStringLiteral("VScroll1"));
    VScroll1_->setRange(AnnoMinimo, AnnoMassimo);
    VScroll1_->setFixedHeight(28);

    lstMESI_ = new QListWidget(this);
    lstMESI_->setObjectName(QStringLiteral("lstMESI"));
    for (int mese = 1; mese <= 12; ++mese)
        lstMESI_->addItem(NomeMese(mese));
    lstMESI_->hide();

    pctCAL_ = new QCalendarWidget(this);
    pctCAL_->setObjectName(QStringLiteral("pctCAL"));
    pctCAL_->setLocale(QLocale(QLocale::Italian, QLocale::Italy));
    pctCAL_->setFirstDayOfWeek(Qt::Monday);
    pctCAL_->setNavigationBarVisible(false);
    pctCAL_->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    pctCAL_->setDateRange(QDate(AnnoMinimo, 1, 1), QDate(AnnoMassimo, 12, 31));
    // The panel's own keys (Esc, Enter, Space) are taken before the calendar sees them;
    // clicks on the days of the neighbouring months, which show blank, are dropped.
    griglia_ = pctCAL_->findChild<QTableView*>();
    if (griglia_ != nullptr) {
        griglia_->installEventFilter(this);
        griglia_->viewport()->installEventFilter(this);
        // The calendar paints those days in the disabled text colour.
        QPalette colori = griglia_->palette();
        colori.setColor(QPalette::Disabled, QPalette::Text, Qt::transparent);
        griglia_->setPalette(colori);
    }
    pctCAL_->installEventFilter(this);

    Label1_ = new QLabel(QStringLiteral("Scegli con doppio click"), this);
    Label1_->setObjectName(QStringLiteral("Label1"));
    Label1_->setAlignment(Qt::AlignCenter);

    auto* barra = new QHBoxLayout;
    barra->addWidget(Command2_);
    barra->addWidget(lblMESE_, 1);
    barra->addWidget(cmdMESI_);
    barra->addWidget(lblANNO_);
    barra->addWidget(VScroll1_);
    barra->addWidget(Command3_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(MyDate_);
    layout->addLayout(barra);
    layout->addWidget(lstMESI_);
    layout->addWidget(pctCAL_, 1);
    layout->addWidget(Label1_);

    connect(Command2_, &QToolButton::clicked, this, &FCale::MesePrecedente);
    connect(Command3_, &QToolButton::clicked, this, &FCale::MeseSuccessivo);
    connect(cmdMESI_, &QToolButton::clicked, this, &FCale::MostraListaMesi);
    connect(lstMESI_, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { SceltaMese(lstMESI_->row(item) + 1); });
    connect(VScroll1_, &QScrollBar::valueChanged, this,
            [this](int anno) { MostraPagina(anno, MeseMostrato()); });
    connect(pctCAL_, &QCalendarWidget::currentPageChanged, this, [this] { AggiornaEtichette(); });
    connect(pctCAL_, &QCalendarWidget::selectionChanged, this,
            [this] { MyDate_->setText(TestoData(pctCAL_->selectedDate())); });
    // Double click (and Enter, which the panel takes first) chooses the day.
    connect(pctCAL_, &QCalendarWidget::activated, this,
            [this](const QDate& data) { Scegli(TestoData(data)); });

    ImpostaData();
    // The keys work at once: arrows move from the proposed day, Enter chooses.
    if (griglia_ != nullptr)
        griglia_->setFocus();
    else
        pctCAL_->setFocus();
    resize(sizeHint());
    if (QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

FCale::~FCale()
{
    DataScelta.clear();
}

void FCale::ImpostaData()
{
    iniziale_ = LeggiDataProposta(DataScelta);
    pctCAL_->setSelectedDate(iniziale_);
    MostraPagina(iniziale_.year(), iniziale_.month());
    MyDate_->setText(TestoData(iniziale_));
}

int FCale::MeseMostrato() const
{
    return pctCAL_->monthShown();
}

int FCale::AnnoMostrato() const
{
    return pctCAL_->yearShown();
}

QString FCale::DataSelezionata() const
{
    return MyDate_->text();
}

void FCale::MostraPagina(int anno, int mese)
{
    anno = std::clamp(anno, AnnoMinimo, AnnoMassimo);
    mese = std::clamp(mese, 1, 12);
    pctCAL_->setCurrentPage(anno, mese);
    AggiornaEtichette();
}

bool FCale::CellaFuoriMese(const QPoint& punto) const
{
    if (griglia_ == nullptr)
        return false;
    const QModelIndex cella = griglia_->indexAt(punto);
    if (!cella.isValid() || cella.row() == 0)  // row 0 holds the week-day names
        return false;
    // The first week may end the previous month, the last two may start the next one.
    const int giorno = cella.data().toInt();
    return (cella.row() <= 2 && giorno > 14) || (cella.row() >= 4 && giorno < 15);
}

void FCale::AggiornaEtichette()
{
    const int mese = MeseMostrato();
    const int anno = AnnoMostrato();
    lblMESE_->setText(NomeMese(mese));
    lblANNO_->setText(QString::number(anno));
    lstMESI_->setCurrentRow(mese - 1);
    if (VScroll1_->value() != anno) {
        const QSignalBlocker blocca(VScroll1_);
        VScroll1_->setValue(anno);
    }
}

void FCale::MesePrecedente()
{
    const int mese = MeseMostrato();
    const int anno = AnnoMostrato();
    if (mese > 1)
        MostraPagina(anno, mese - 1);
    else if (anno > AnnoMinimo)
        MostraPagina(anno - 1, 12);
}

void FCale::MeseSuccessivo()
{
    const int mese = MeseMostrato();
    const int anno = AnnoMostrato();
    if (mese < 12)
        MostraPagina(anno, mese + 1);
    else if (anno < AnnoMassimo)
        MostraPagina(anno + 1, 1);
}

void FCale::AnnoCorrente()
{
    MostraPagina(QDate::currentDate().year(), MeseMostrato());
}

void FCale::SceltaMese(int mese)
{
    lstMESI_->hide();
    MostraPagina(AnnoMostrato(), mese);
}

void FCale::MostraListaMesi()
{
    lstMESI_->setVisible(lstMESI_->isHidden());
}

void FCale::MostraCalendario()
{
    pctCAL_->setVisible(pctCAL_->isHidden());
}

void FCale::Scegli(const QString& data)
{
    DataScelta = data;
    done(data.isEmpty() ? QDialog::Rejected : QDialog::Accepted);
}

void FCale::reject()
{
    Scegli(QString());
}

bool FCale::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type tipo = event->type();
    if (griglia_ != nullptr && watched == griglia_->viewport()
        && (tipo == QEvent::MouseButtonPress || tipo == QEvent::MouseButtonRelease
            || tipo == QEvent::MouseButtonDblClick)) {
        return CellaFuoriMese(static_cast<QMouseEvent*>(event)->position().toPoint());
    }
    if (tipo == QEvent::MouseButtonRelease) {
        if (watched == MyDate_)
            MostraCalendario();
        else if (watched == lblMESE_)
            MostraListaMesi();
        else if (watched == lblANNO_)
            AnnoCorrente();
    } else if (tipo == QEvent::KeyPress
               && (watched == pctCAL_ || watched == griglia_)) {
        switch (static_cast<QKeyEvent*>(event)->key()) {
        case Qt::Key_Escape:
            Scegli(QString());
            return true;
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Space:
            Scegli(MyDate_->text());
            return true;
        default:
            break;
        }
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace quercino
