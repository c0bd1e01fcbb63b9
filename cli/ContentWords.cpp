#include "ContentWords.h"

const char* FileStateName(FileState state)
{
    switch (state) {
    case FileState::NotRead: return "not-read";
    case FileState::Read: return "read";
    case FileState::Absent: return "absent";
    case FileState::Refused: return "refused";
    case FileState::Incomplete: return "incomplete";
    case FileState::Unusable: return "unusable";
    case FileState::Error: return "error";
    }
    return "not-read";
}

const char* AlphaCodingName(AlphaCoding coding)
{
    switch (coding) {
    case AlphaCoding::Gsm: return "gsm7";
    case AlphaCoding::Ucs2: return "ucs2-80";
    case AlphaCoding::Ucs2Base8: return "ucs2-81";
    case AlphaCoding::Ucs2Base16: return "ucs2-82";
    }
    return "gsm7";
}

const char* ExtensionStateName(ExtensionState state)
{
    switch (state) {
    case ExtensionState::None: return "none";
    case ExtensionState::Complete: return "complete";
    case ExtensionState::Missing: return "missing";
    case ExtensionState::Loop: return "loop";
    case ExtensionState::TooLong: return "too-long";
    case ExtensionState::Invalid: return "invalid";
    }
    return "none";
}

const char* SmsTypeName(SmsType type)
{
    switch (type) {
    case SmsType::Deliver: return "deliver";
    case SmsType::Submit: return "submit";
    case SmsType::StatusReport: return "status-report";
    case SmsType::Command: return "command";
    case SmsType::Reserved: break;
    }
    return "reserved";
}

const char* AlphabetName(SmsAlphabet alphabet)
{
    switch (alphabet) {
    case SmsAlphabet::EightBit: return "8bit";
    case SmsAlphabet::Ucs2: return "ucs2";
    case SmsAlphabet::Gsm7: break;
    }
    return "gsm7";
}
