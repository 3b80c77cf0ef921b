#pragma once
// Numbers that go into an annotation, a field or a destination: readers take a number
// without a fraction as an integer, so anything beyond the 32-bit range (or not finite)
// would make the dictionary unreadable. Such a value raises the overflow error before
// anything is written.

namespace tavlo {

double CheckedNumber(double value);

} // namespace tavlo
