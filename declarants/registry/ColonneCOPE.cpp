#include "declarants/registry/ColonneCOPE.h"

#include <array>

namespace quercino {

namespace {

struct Colonna {
    const char* nome;
    QString DatiSoggetto::*testo;  // null for a check box
    bool DatiSoggetto::*casella;   // null for a text
};

constexpr std::array<Colonna, 33> colonne{{
    {"OCOD", &DatiSoggetto::OCOD, nullptr},
    {"ORAG", &DatiSoggetto::ORAG, nullptr},
    {"ONOME", &DatiSoggetto::ONOME, nullptr},
    {"OCOG", &DatiSoggetto::OCOG, nullptr},
    {"OPIVA", &DatiSoggetto::OPIVA, nullptr},
    {"OCF", &DatiSoggetto::OCF, nullptr},
    {"OSINDI", &DatiSoggetto::OSINDI, nullptr},
    {"OSNUMC", &DatiSoggetto::OSNUMC, nullptr},
    {"OSCAP", &DatiSoggetto::OSCAP, nullptr},
    {"OSCOM", &DatiSoggetto::OSCOM, nullptr},
    {"OSPRO", &DatiSoggetto::OSPRO, nullptr},
    {"OSPAESE", &DatiSoggetto::OSPAESE, nullptr},
    {"OSPAESED", &DatiSoggetto::OSPAESED, nullptr},
    {"OPF", nullptr, &DatiSoggetto::OPF},
    {"ODES", &DatiSoggetto::ODES, nullptr},
    {"ODICPIVA", &DatiSoggetto::ODICPIVA, nullptr},
    {"ODICCARICA", &DatiSoggetto::ODICCARICA, nullptr},
    {"ODICCARICAD", &DatiSoggetto::ODICCARICAD, nullptr},
    {"ORFPIVA", &DatiSoggetto::ORFPIVA, nullptr},
    {"ORFRAG", &DatiSoggetto::ORFRAG, nullptr},
    {"ORFNOME", &DatiSoggetto::ORFNOME, nullptr},
    {"ORFCOG", &DatiSoggetto::ORFCOG, nullptr},
    {"ORFPF", nullptr, &DatiSoggetto::ORFPF},
    {"OSOINDI", &DatiSoggetto::OSOINDI, nullptr},
    {"OSONUMC", &DatiSoggetto::OSONUMC, nullptr},
    {"OSOCAP", &DatiSoggetto::OSOCAP, nullptr},
    {"OSOCOM", &DatiSoggetto::OSOCOM, nullptr},
    {"OSOPRO", &DatiSoggetto::OSOPRO, nullptr},
    {"OSOPAESE", &DatiSoggetto::OSOPAESE, nullptr},
    {"OSOPAESED", &DatiSoggetto::OSOPAESED, nullptr},
    {"OUCDTE", &DatiSoggetto::OUCDTE, nullptr},
    {"OUCDTR", &DatiSoggetto::OUCDTR, nullptr},
    {"OPROG", &DatiSoggetto::OPROG, nullptr},
}};

const Colonna* Trova(const QString& nome)
{
    for (const Colonna& c : colonne) {
        if (nome.compare(QLatin1String(c.nome), Qt::CaseInsensitive) == 0)
            return &c;
    }
    return nullptr;
}

} // namespace

const QStringList& ColonneCOPE()
{
    static const QStringList nomi = [] {
        QStringList l;
        for (const Colonna& c : colonne)
            l << QString::fromLatin1(c.nome);
        return l;
    }();
    return nomi;
}

bool ColonnaCasella(const QString& colonna)
{
    const Colonna* c = Trova(colonna);
    return c && c->casella;
}

QVariant ValoreColonna(const DatiSoggetto& dati, const QString& colonna)
{
    const Colonna* c = Trova(colonna);
    if (!c)
        return {};
    if (c->casella)
        return QVariant(static_cast<int>(dati.*(c->casella) ? 1 : 0));
    return QVariant(dati.*(c->testo));
}

bool ImpostaColonna(DatiSoggetto& dati, const QString& colonna, const QVariant& valore)
{
    const Colonna* c = Trova(colonna);
    if (!c)
        return false;
    if (c->casella) {
        if (valore.typeId() == QMetaType::Bool) {
            dati.*(c->casella) = valore.toBool();
        } else {
            bool numero = false;
            const int n = valore.isNull() ? 0 : DatiSoggetto::SenzaBlanchi(valore.toString()).toInt(&numero);
            dati.*(c->casella) = numero && n != 0;
        }
    } else {
        dati.*(c->testo) = valore.isNull() ? QString() : valore.toString();
    }
    return true;
}

QList<QString DatiSoggetto::*> CampiTesto()
{
    QList<QString DatiSoggetto::*> campi;
    for (const Colonna& c : colonne) {
        if (c.testo)
            campi << c.testo;
    }
    return campi;
}

} // namespace quercino
