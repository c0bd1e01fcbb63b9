#include "SimReadout.h"

#include <cstdint>

#include "card/SmsReader.h"
#include "sim/CardIdentity.h"
#include "sim/ResultCodes.h"
#include "sim/SimFiles.h"

namespace {

class Reading {
public:
    Reading(CCardReader& reader, const std::u16string& pin, SimReadout& out) : m_reader(reader), m_pin(pin), m_out(out) {}

    void Run()
    {
        m_out.connectResult = m_reader.Connect(SCARD_PROTOCOL_T0);
        if (m_out.connectResult != 0)
            return;
        m_reader.BeginTransaction();
        if (Identity()) {
            m_out.isGsm = true;
            Imsi();
            PinTexts();
            Contents();
        }
        m_reader.EndTransaction();
    }

private:
    bool Ok(long result)
    {
        if (result != 0)
            m_out.errors.push_back(result);
        return result == 0;
    }

    bool Identity()
    {
        uint8_t iccid[IccIdLength];
        if (!Ok(m_reader.SelectFile(simfile::Mf)) || !m_reader.GetStatus(m_pin1) ||
            !Ok(m_reader.SelectFile(simfile::EfIccid)) || !Ok(m_reader.ReadBinary(IccIdLength, iccid)))
            return false;
        m_out.iccid = IccIdText(iccid, IccIdLength);
        return true;
    }

    // The PIN rule before a protected read; the read is attempted anyway.
    void PinRule(int32_t readAccess)
    {
        if (m_out.pinVerified || !NeedsPin1(m_pin1, readAccess) || IsPin1Blocked(m_pin1, readAccess) || m_pin.empty())
            return;
        const long result = m_reader.VerifyPin1(m_pin);
        m_out.pinVerified = Ok(result);
    }

    bool SelectWithHeader(uint16_t id, std::vector<uint8_t>& header, uint16_t& size, int32_t& readAccess)
    {
        int32_t updateAccess = 0;
        return Ok(m_reader.SelectFile(id, header)) &&
               Ok(CCardReader::ParseFileHeader(header, size, readAccess, updateAccess));
    }

    void Imsi()
    {
        std::vector<uint8_t> header;
        uint16_t size = 0;
        int32_t readAccess = 0;
        if (!Ok(m_reader.SelectFile(simfile::DfGsm)) || !SelectWithHeader(simfile::EfImsi, header, size, readAccess))
            return;
        PinRule(readAccess);
        const unsigned length = ImsiReadLength(size);
        if (length == 0)
            return;
        uint8_t buffer[256] = {};
        if (Ok(m_reader.ReadBinary(length, buffer)))
            m_out.imsi = ImsiText(buffer, length);
        else
            m_out.imsi = "Failed to read IMSI file";
    }

    void PinTexts()
    {
        PinStatus fresh;
        if (m_reader.GetStatus(fresh))
            m_pin1 = fresh;
        m_out.pin1Text = Pin1StateText(m_pin1);
        m_out.pin2Text = Pin2StateText(m_pin1);
    }

    void DiallingFile(uint16_t id, DiallingNumberFile& file, long& result)
    {
        std::vector<uint8_t> header;
        uint16_t size = 0;
        int32_t readAccess = 0;
        if (!SelectWithHeader(id, header, size, readAccess) || !Ok(ParseDiallingFileHeader(header, file)) ||
            !file.Enabled)
            return;
        PinRule(readAccess);
        result = m_reader.ReadDiallingNumbers(file);
        Ok(result);
    }

    void Contents()
    {
        if (!Ok(m_reader.SelectFile(simfile::Mf)) || !Ok(m_reader.SelectFile(simfile::DfTelecom)))
            return;
        DiallingFile(simfile::EfFdn, m_out.fdn, m_out.fdnResult);
        DiallingFile(simfile::EfAdn, m_out.adn, m_out.adnResult);

        std::vector<uint8_t> header;
        uint16_t size = 0;
        int32_t readAccess = 0;
        if (!SelectWithHeader(simfile::EfSms, header, size, readAccess) || !Ok(ParseSmsFileHeader(header, m_out.sms)))
            return;
        PinRule(readAccess);
        m_out.smsResult = ReadSmsMessages(m_reader, m_out.sms);
        Ok(m_out.smsResult);
    }

    CCardReader& m_reader;
    const std::u16string& m_pin;
    SimReadout& m_out;
    PinStatus m_pin1;
};

} // namespace

SimReadout ReadSim(CCardReader& reader, const std::u16string& pin)
{
    SimReadout readout;
    Reading(reader, pin, readout).Run();
    return readout;
}

bool IsTransportError(long result)
{
    return result != sc::Success && result != sc::Unexpected && result != sc::FileNotFound &&
           result != sc::WrongChv && result != sc::ChvBlocked;
}
