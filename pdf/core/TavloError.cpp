#include "pdf/core/TavloError.h"

#include <limits>

namespace tavlo {

TavloError::TavloError(std::int32_t number, const std::string& description)
    : std::runtime_error(description), number_(number)
{
}

TavloError::TavloError(std::int32_t number)
    : TavloError(number, StandardDescription(number))
{
}

std::string TavloError::StandardDescription(std::int32_t number)
{
    switch (number) {
    case ErrorCode::InvalidArgument: return "Chiamata di routine o argomento non validi";
    case ErrorCode::Overflow: return "Overflow";
    case ErrorCode::SubscriptOutOfRange: return "Indice non incluso nell'intervallo";
    case ErrorCode::DivisionByZero: return "Divisione per zero";
    case ErrorCode::TypeMismatch: return "Tipo non corrispondente";
    case ErrorCode::BadFileNameOrNumber: return "Nome o numero di file non valido";
    case ErrorCode::FileNotFound: return "Impossibile trovare il file";
    case ErrorCode::DiskFull: return "Disco pieno";
    case ErrorCode::InputPastEndOfFile: return "Input oltre la fine del file";
    case ErrorCode::PathFileAccessError: return "Errore di accesso al percorso/file";
    case ErrorCode::PathNotFound: return "Impossibile trovare il percorso";
    case ErrorCode::InvalidFileFormat: return "Formato di file non valido";
    default: return "Errore definito dall'applicazione o dall'oggetto";
    }
}

std::int32_t CheckedInt32(std::int64_t value)
{
    if (value < std::numeric_limits<std::int32_t>::min() || value > std::numeric_limits<std::int32_t>::max())
        throw TavloError(ErrorCode::Overflow);
    return static_cast<std::int32_t>(value);
}

} // namespace tavlo
