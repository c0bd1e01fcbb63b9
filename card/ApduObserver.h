// Something that watches the APDUs one reader exchanges: a trace file or a
// progress display of a front end. The card layer only calls it; a reader
// without an observer pays one pointer test per exchange.
#pragma once
#include <cstddef>
#include <cstdint>

#include "PcscPlatform.h"

class IApduObserver {
public:
    // Before the command goes to the card.
    virtual void OnCommand(const uint8_t* command, size_t length) = 0;
    // After the exchange: the PC/SC result and the bytes received (none when
    // the result is an error).
    virtual void OnResponse(LONG result, const uint8_t* response, size_t length) = 0;

protected:
    ~IApduObserver() = default;
};
