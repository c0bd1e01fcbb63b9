// A reader connected on the PC/SC double whose card answers every command
// with the next answer cut from the fuzzer's bytes.
#pragma once
#include <cstddef>
#include <cstdint>

#include "FakePcsc.h"
#include "card/CardReaderList.h"

class FuzzCard {
public:
    FuzzCard(const uint8_t* answers, size_t size)
    {
        fake_pcsc::Reset();
        fake_pcsc::SetReaders({"Fuzz reader"});
        if (m_list.ListReaders() != 0 || m_list.GetReader(0) == nullptr)
            __builtin_trap();
        if (Reader().Connect(SCARD_PROTOCOL_T0) != 0)
            __builtin_trap();
        fake_pcsc::SetResponder(fake_pcsc::ResponsesFromBytes(answers, size));
        fake_pcsc::ClearCalls();
    }

    CCardReader& Reader() { return *m_list.GetReader(0); }

private:
    CCardReaderList m_list;
};
