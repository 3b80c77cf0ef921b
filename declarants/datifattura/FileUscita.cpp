#include "declarants/datifattura/FileUscita.h"

#include "app/core/SalvataggioCompleto.h"
#include "declarants/datifattura/ErroreDatiFattura.h"

#include <QDir>

#include <cerrno>

namespace quercino::datifattura {

namespace {

constexpr std::size_t SogliaBuffer = 1 << 20;

} // namespace

FileUscita::FileUscita(const QString& percorso)
    : percorso_(percorso), file_(std::make_unique<QSaveFile>(percorso))
{
    // Never write in place: the final name appears only when the file is complete.
    file_->setDirectWriteFallback(false);
    if (!file_->open(QIODevice::WriteOnly)) {
        throw ErroreDatiFattura(QStringLiteral("Impossibile creare il file ") + QDir::toNativeSeparators(percorso)
                                + QStringLiteral(": ") + file_->errorString());
    }
    buffer_.reserve(SogliaBuffer + (SogliaBuffer >> 2));
}

FileUscita::~FileUscita()
{
    if (file_ && file_->isOpen())
        file_->cancelWriting();
}

void FileUscita::Scrivi()
{
    if (buffer_.empty())
        return;
    const auto dimensione = static_cast<qint64>(buffer_.size());
    errno = 0;
    if (file_->write(buffer_.data(), dimensione) != dimensione) {
        const QString errore = MotivoErroreScrittura(*file_, errno);
        file_->cancelWriting();
        throw ErroreDatiFattura(QStringLiteral("Errore di scrittura del file ") + QDir::toNativeSeparators(percorso_)
                                + QStringLiteral(": ") + errore);
    }
    scritti_ += dimensione;
    buffer_.clear();
}

void FileUscita::Scarica()
{
    if (buffer_.size() >= SogliaBuffer)
        Scrivi();
}

void FileUscita::Completa()
{
    Termina();
    Conferma();
}

void FileUscita::Termina()
{
    Scrivi();
    // Many complete files may wait for their rename at once: none keeps its buffer.
    std::string().swap(buffer_);
    errno = 0;
    if (!file_->flush() || file_->error() != QFileDevice::NoError) {
        const QString errore = MotivoErroreScrittura(*file_, errno);
        file_->cancelWriting();
        throw ErroreDatiFattura(QStringLiteral("Impossibile completare il file ") + QDir::toNativeSeparators(percorso_)
                                + QStringLiteral(": ") + errore);
    }
}

void FileUscita::Conferma()
{
    const QString errore = CompletaSalvataggio(*file_);
    if (!errore.isEmpty()) {
        throw ErroreDatiFattura(QStringLiteral("Impossibile completare il file ") + QDir::toNativeSeparators(percorso_)
                                + QStringLiteral(": ") + errore);
    }
}

} // namespace quercino::datifattura
