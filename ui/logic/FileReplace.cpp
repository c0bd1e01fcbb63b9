// The platform-neutral part of the export's file operations: handle
// ownership and the random part of temporary names. FileReplacePosix.cpp and
// FileReplaceWin32.cpp hold the rest.
#include "FileReplace.h"

#include <random>
#include <utility>

#include "FileReplaceNames.h"

namespace file_ops {

WritableFile::WritableFile(WritableFile&& other) noexcept : m_handle(std::exchange(other.m_handle, Closed)) {}

WritableFile& WritableFile::operator=(WritableFile&& other) noexcept
{
    if (this != &other) {
        CloseUnchecked();
        m_handle = std::exchange(other.m_handle, Closed);
    }
    return *this;
}

WritableFile::~WritableFile() { CloseUnchecked(); }

std::string RandomHex(size_t digits)
{
    static thread_local std::mt19937_64 generator{std::random_device{}()};
    static constexpr char Hex[] = "0123456789abcdef";
    std::string text;
    for (size_t i = 0; i < digits; ++i)
        text += Hex[generator() % 16];
    return text;
}

} // namespace file_ops
