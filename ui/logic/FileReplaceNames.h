// Random text for the names of temporary files.
#pragma once
#include <cstddef>
#include <string>

namespace file_ops {

// `digits` random lower-case hexadecimal digits.
std::string RandomHex(size_t digits);

// How often a taken temporary name is drawn again before giving up.
constexpr int UniqueNameAttempts = 100;

} // namespace file_ops
