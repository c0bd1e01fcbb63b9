#include "ReaderText.h"

#include "sim/text/UtfCodec.h"
#include "tools/pcsc-bridge/BridgeProtocol.h"

namespace reader_text {

namespace {

std::optional<std::wstring> ToWide(UINT codePage, DWORD flags, const std::string& text)
{
    if (text.empty())
        return std::wstring();
    int length = MultiByteToWideChar(codePage, flags, text.data(), static_cast<int>(text.size()), nullptr, 0);
    if (length <= 0)
        return std::nullopt;
    std::wstring wide(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(codePage, flags, text.data(), static_cast<int>(text.size()), wide.data(), length);
    return wide;
}

std::optional<std::string> FromWide(UINT codePage, DWORD flags, const std::wstring& text)
{
    if (text.empty())
        return std::string();
    int length = WideCharToMultiByte(codePage, flags, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                     nullptr, nullptr);
    if (length <= 0)
        return std::nullopt;
    std::string narrow(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(codePage, flags, text.data(), static_cast<int>(text.size()), narrow.data(), length, nullptr,
                        nullptr);
    return narrow;
}

// Only as much of the caller's string as could be a name on the wire.
template <class Char> std::basic_string<Char> BoundedCopy(const Char* text)
{
    std::basic_string<Char> copy;
    while (copy.size() <= bridge::kMaxReaderNameSize && text[copy.size()] != Char(0))
        copy += text[copy.size()];
    return copy;
}

// UTF-16 to UTF-8; nullopt for an unpaired surrogate, which names no reader.
std::optional<std::string> WellFormedToUtf8(const std::wstring& wide)
{
    const std::u16string text(wide.begin(), wide.end());
    for (size_t at = 0; at < text.size();) {
        const size_t length = DecodeUtf16At(text, at).length;
        if (length == 0)
            return std::nullopt;
        at += length;
    }
    return Utf16ToUtf8(text);
}

} // namespace

std::wstring Utf8ToWide(const std::string& text)
{
    // The host sends names that pcsc-lite gave it; replace what does not decode.
    const std::u16string wide = Utf8ToUtf16(text);
    return std::wstring(wide.begin(), wide.end());
}

std::string WideToAnsi(const std::wstring& text)
{
    return FromWide(CP_ACP, 0, text).value_or(std::string());
}

std::optional<std::string> WideToUtf8(const wchar_t* text)
{
    return WellFormedToUtf8(BoundedCopy(text));
}

std::optional<std::string> AnsiToUtf8(const char* text)
{
    std::optional<std::wstring> wide = ToWide(CP_ACP, 0, BoundedCopy(text));
    if (!wide)
        return std::nullopt;
    return WellFormedToUtf8(*wide);
}

std::vector<std::wstring> WideNames(const std::vector<std::string>& utf8Names)
{
    std::vector<std::wstring> names;
    for (const std::string& name : utf8Names)
        names.push_back(Utf8ToWide(name));
    return names;
}

std::vector<std::string> AnsiNames(const std::vector<std::string>& utf8Names)
{
    std::vector<std::string> names;
    for (const std::string& name : utf8Names)
        names.push_back(WideToAnsi(Utf8ToWide(name)));
    return names;
}

} // namespace reader_text
