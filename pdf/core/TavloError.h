#pragma once
// The one exception the writer raises to its callers. It carries the error number that
// callers test and ErrNumber reports (6 overflow, 9 subscript out of range...).

#include <cstdint>
#include <stdexcept>
#include <string>

namespace tavlo {

namespace ErrorCode {
constexpr std::int32_t InvalidArgument = 5;
constexpr std::int32_t Overflow = 6;
constexpr std::int32_t SubscriptOutOfRange = 9;
constexpr std::int32_t DivisionByZero = 11;
constexpr std::int32_t TypeMismatch = 13;
constexpr std::int32_t BadFileNameOrNumber = 52;
constexpr std::int32_t FileNotFound = 53;
constexpr std::int32_t DiskFull = 61;
constexpr std::int32_t InputPastEndOfFile = 62;
constexpr std::int32_t PathFileAccessError = 75;
constexpr std::int32_t PathNotFound = 76;
constexpr std::int32_t InvalidFileFormat = 321;
} // namespace ErrorCode

class TavloError : public std::runtime_error {
public:
    TavloError(std::int32_t number, const std::string& description);
    // The standard description of a run-time error number.
    explicit TavloError(std::int32_t number);

    std::int32_t Number() const noexcept { return number_; }
    std::string Description() const { return what(); }

    static std::string StandardDescription(std::int32_t number);

private:
    std::int32_t number_;
};

// Raises the overflow error when value does not fit 32 signed bits.
std::int32_t CheckedInt32(std::int64_t value);

} // namespace tavlo
