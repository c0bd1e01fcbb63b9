// Reader names between the platform's spelling and UTF-16 / UTF-8.
#include "PcscPlatform.h"

#include "sim/text/UtfCodec.h"

namespace pcsc {

#ifdef _WIN32
std::u16string ReaderNameToUtf16(const ReaderName& name)
{
    return std::u16string(name.begin(), name.end());
}

std::string ReaderNameToUtf8(const ReaderName& name)
{
    return Utf16ToUtf8(ReaderNameToUtf16(name));
}
#else
std::u16string ReaderNameToUtf16(const ReaderName& name)
{
    return Utf8ToUtf16(name);
}

std::string ReaderNameToUtf8(const ReaderName& name)
{
    return name;
}
#endif

} // namespace pcsc
