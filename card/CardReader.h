// One PC/SC reader and the GSM SIM command set (class A0, T=0).
//
// Every operation returns a PC/SC result (0 = success) and shows nothing.
// Results produced here besides transport errors, which pass up unchanged:
//   SCARD_E_UNEXPECTED      response of the wrong length or status word
//   SCARD_E_FILE_NOT_FOUND  SELECT answered with SW1 other than 9F
//   SCARD_W_WRONG_CHV       VERIFY answered 98 04
//   SCARD_W_CHV_BLOCKED     VERIFY answered 98 40
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "ApduObserver.h"
#include "PcscPlatform.h"
#include "sim/DiallingNumbers.h"
#include "sim/PinStatus.h"

class CCardReader {
public:
    CCardReader(SCARDCONTEXT hContext, const pcsc::ReaderChar* szName);
    ~CCardReader(); // disconnects (with reset) a connected card
    CCardReader(const CCardReader&) = delete;
    CCardReader& operator=(const CCardReader&) = delete;

    const pcsc::ReaderName& GetName() const { return m_szName; }
    SCARDHANDLE GetCardHandle() const { return m_hCard; }
    SCARDCONTEXT GetContext() const { return m_hContext; }

    // True only when the reader reports a card (any error is false).
    bool IsCardPresent();
    // Connects shared with `preferredProtocols` (or keeps the connection) and
    // resets the card. Returns the error of SCardConnect or SCardReconnect.
    LONG Connect(DWORD preferredProtocols);
    // Resets the card and keeps the connection (T=0): what was verified is
    // forgotten. Returns the error of SCardReconnect.
    LONG ResetCard();
    // Disconnects with a card reset; the result is ignored.
    void Disconnect();
    LONG BeginTransaction();
    LONG EndTransaction();

    LONG SelectFile(uint16_t fileId);
    LONG SelectFile(uint16_t fileId, std::vector<uint8_t>& header);
    // isDirectory is set from the SELECT status word before GET RESPONSE.
    LONG SelectFile(uint16_t fileId, std::vector<uint8_t>& header, bool& isDirectory);
    // The status word of the last SELECT's answer (0 when it got none), to
    // tell a file the card lacks from one it would not select.
    uint16_t LastSelectStatus() const { return m_lastSelectStatus; }

    // Size and access levels (0 always, 1 PIN1, 2 PIN2, 3 other) of a
    // 15-byte header; SCARD_E_UNEXPECTED, outputs untouched, otherwise.
    static LONG ParseFileHeader(const std::vector<uint8_t>& header, uint16_t& fileSize, int32_t& readAccess,
                                int32_t& updateAccess);

    // Reads `length` (1..255) bytes from offset 0 of the selected transparent
    // file; other lengths are SCARD_E_UNEXPECTED before anything is sent.
    LONG ReadBinary(unsigned length, uint8_t* buffer);

    // STATUS of the current directory into `pinStatus`; false leaves it as it was.
    bool GetStatus(PinStatus& pinStatus);

    // VERIFY CHV1 with the PIN in the ANSI code page, padded with FF to 8 bytes.
    LONG VerifyPin1(const std::u16string& pin);

    // Reads records 1..RecordCount (at most 255) of the selected EF_ADN/EF_FDN
    // into file.Entries; entries read before a failure stay.
    LONG ReadDiallingNumbers(DiallingNumberFile& file);

    // One T=0 exchange. `responseLength` is the room in `response` on entry
    // and the number of bytes received on return.
    LONG Transmit(const uint8_t* command, size_t commandLength, uint8_t* response, DWORD& responseLength);

    // Every exchange of Transmit is shown to `observer` (nullptr: none, the
    // default). The observer must outlive its use here.
    void SetObserver(IApduObserver* observer) { m_pObserver = observer; }

private:
    pcsc::ReaderName m_szName;
    SCARDCONTEXT m_hContext;
    SCARDHANDLE m_hCard;
    IApduObserver* m_pObserver = nullptr;
    uint16_t m_lastSelectStatus = 0;
};
