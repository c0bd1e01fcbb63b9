#include "PhoneBookAssembler.h"

#include <algorithm>

#include "PhoneBookRecords.h"
#include "sim/dialling/DiallingDigits.h"
#include "sim/dialling/DiallingRecord.h"

namespace {

using Record = std::vector<uint8_t>;
using Records = std::vector<Record>;

const Records NoRecords;

// The files an entry is built from; the others (UID, CCP1, unknown tags)
// are not needed to read it.
bool IsEntryFile(PhoneBookFileKind kind)
{
    switch (kind) {
    case PhoneBookFileKind::Uid:
    case PhoneBookFileKind::Ccp1:
        return false;
    default:
        return static_cast<uint8_t>(kind) >= static_cast<uint8_t>(PhoneBookFileKind::Adn) &&
               static_cast<uint8_t>(kind) <= static_cast<uint8_t>(PhoneBookFileKind::Email);
    }
}

// One set of one phone book being linked.
class SetLinker {
public:
    SetLinker(const PhoneBookSet& set, unsigned setNumber, const PhoneBookFileRecords& files, UsimPhoneBook& book)
        : m_set(set), m_setNumber(setNumber), m_files(files), m_book(book)
    {
    }

    // Adds the entries of the set numbered from `offset` + 1; returns the
    // number of EF_ADN records the set holds.
    unsigned Link(unsigned offset)
    {
        const PhoneBookFileRef* adn = m_set.Find(PhoneBookFileKind::Adn);
        if (!adn || adn->link != PhoneBookLink::Type1) {
            m_book.problems.push_back({m_setNumber, SetProblemKind::NoAdn, PhoneBookFileKind::Adn, 0});
            return 0;
        }
        m_adn = adn;
        CheckFiles();
        const Records* adnRecords = RecordsOf(adn);
        if (!adnRecords)
            return 0;
        const size_t alphaLength = AlphaLength(*adnRecords);
        m_book.entries.reserve(m_book.entries.size() + adnRecords->size());
        for (size_t i = 0; i < adnRecords->size(); ++i) {
            const Record& raw = (*adnRecords)[i];
            DiallingRecordFields fields;
            if (!DecodeDiallingRecordFields(raw.data(), raw.size(), alphaLength, fields))
                continue;
            UsimPhoneBookEntry entry;
            entry.set = m_setNumber;
            entry.record = static_cast<unsigned>(i + 1);
            entry.entry = offset + entry.record;
            entry.name = std::move(fields.name.text);
            entry.number = Number(fields.tonNpi, fields.digits, fields.extensionId, entry);
            m_iap = IapPointers(entry);
            for (const PhoneBookFileRef& file : m_set.files)
                TakeLinkedFile(file, entry);
            m_book.entries.push_back(std::move(entry));
        }
        return static_cast<unsigned>(adnRecords->size());
    }

private:
    void CheckFiles()
    {
        for (const PhoneBookFileRef& file : m_set.files) {
            m_hasTypeTwo |= file.link == PhoneBookLink::Type2;
            if (IsEntryFile(file.kind) && !m_files.count(file.fileId))
                m_book.problems.push_back({m_setNumber, SetProblemKind::FileNotRead, file.kind, file.fileId});
        }
        const PhoneBookFileRef* iap = m_set.Find(PhoneBookFileKind::Iap);
        if (m_hasTypeTwo && (!iap || iap->link != PhoneBookLink::Type1))
            m_book.problems.push_back({m_setNumber, SetProblemKind::NoIap, PhoneBookFileKind::Iap, 0});
    }

    const Records* RecordsOf(const PhoneBookFileRef* file) const
    {
        if (!file)
            return nullptr;
        const auto found = m_files.find(file->fileId);
        return found == m_files.end() ? nullptr : &found->second;
    }

    // The alpha identifier takes what the record has beyond the 14 bytes of
    // the number; records are all of one length, a short one was cut.
    static size_t AlphaLength(const Records& records)
    {
        size_t length = 0;
        for (const Record& record : records)
            length = std::max(length, record.size());
        return length > DiallingRecordTailLength ? length - DiallingRecordTailLength : 0;
    }

    static void Report(UsimPhoneBookEntry& entry, EntryProblemKind kind, const PhoneBookFileRef* file,
                       PhoneBookFileKind fileKind, unsigned record)
    {
        entry.problems.push_back({kind, fileKind, file ? file->fileId : uint16_t{0}, record, ExtensionState::None});
    }

    // The number of an EF_ADN or EF_ANR record, continued through EF_EXT1.
    std::string Number(uint8_t tonNpi, const std::string& digits, uint8_t extensionId, UsimPhoneBookEntry& entry) const
    {
        const PhoneBookFileRef* ext1 = m_set.Find(PhoneBookFileKind::Ext1);
        const Records* records = RecordsOf(ext1);
        const ExtensionResult chain = FollowExtensionChain(extensionId, records ? *records : NoRecords);
        if (chain.state != ExtensionState::None && chain.state != ExtensionState::Complete)
            entry.problems.push_back({EntryProblemKind::ExtensionChain, PhoneBookFileKind::Ext1,
                                      ext1 ? ext1->fileId : uint16_t{0}, chain.stoppedAt, chain.state});
        return DiallingNumberText(tonNpi, digits + chain.digits);
    }

    // Record `number` of a type 3 file (a label or a group name): its text,
    // or empty with the pointer reported.
    std::string NamedRecordText(PhoneBookFileKind kind, uint8_t number, UsimPhoneBookEntry& entry) const
    {
        const PhoneBookFileRef* file = m_set.Find(kind);
        const Records* records = RecordsOf(file);
        if (file && !records)
            return {}; // the file was not read: reported once for the set
        if (!records || number == 0 || number > records->size() || (*records)[number - 1u].empty()) {
            Report(entry, EntryProblemKind::MissingRecord, file, kind, number);
            return {};
        }
        const Record& record = (*records)[number - 1u];
        std::string text = DecodeAlphaIdentifier(record.data(), record.size()).text;
        if (text.empty())
            Report(entry, EntryProblemKind::UnusedRecord, file, kind, number);
        return text;
    }

    // The record of `file` that belongs to the entry: the same record number
    // for type 1, the EF_IAP pointer for type 2. Null when there is none.
    const Record* LinkedRecord(const PhoneBookFileRef& file, UsimPhoneBookEntry& entry) const
    {
        const Records* records = RecordsOf(&file);
        if (!records)
            return nullptr;
        unsigned number = entry.record;
        if (file.link == PhoneBookLink::Type2) {
            number = IapPointer(file);
            if (number == 0)
                return nullptr;
        }
        if (number > records->size() || (*records)[number - 1u].empty()) {
            Report(entry, EntryProblemKind::MissingRecord, &file, file.kind, number);
            return nullptr;
        }
        return &(*records)[number - 1u];
    }

    // The entry's EF_IAP record: one record number a type 2 file.
    std::vector<uint8_t> IapPointers(UsimPhoneBookEntry& entry) const
    {
        const PhoneBookFileRef* iap = m_set.Find(PhoneBookFileKind::Iap);
        const Records* records = iap && iap->link == PhoneBookLink::Type1 ? RecordsOf(iap) : nullptr;
        if (!m_hasTypeTwo || !records)
            return {}; // nothing to point to, or reported once for the set
        if (entry.record > records->size() || (*records)[entry.record - 1u].empty()) {
            Report(entry, EntryProblemKind::MissingRecord, iap, PhoneBookFileKind::Iap, entry.record);
            return {};
        }
        const Record& raw = (*records)[entry.record - 1u];
        return DecodeIapRecord(raw.data(), raw.size());
    }

    unsigned IapPointer(const PhoneBookFileRef& file) const
    {
        return file.iapIndex < m_iap.size() ? m_iap[file.iapIndex] : 0;
    }

    // A type 2 record must name the EF_ADN record it was reached from.
    void CheckBackPointer(const std::optional<AdnPointer>& adn, const PhoneBookFileRef& file,
                          UsimPhoneBookEntry& entry) const
    {
        if (file.link != PhoneBookLink::Type2 || !adn)
            return;
        const bool sfiDiffers = adn->sfi != 0xFF && m_adn->sfi && adn->sfi != *m_adn->sfi;
        if (adn->record != entry.record || sfiDiffers)
            Report(entry, EntryProblemKind::BackPointer, &file, file.kind, adn->record);
    }

    void ReportUnused(const PhoneBookFileRef& file, UsimPhoneBookEntry& entry) const
    {
        // Type 1 files hold a record for every entry, used or not; a type 2
        // pointer to an unused record is a fault of the card.
        if (file.link == PhoneBookLink::Type2)
            Report(entry, EntryProblemKind::UnusedRecord, &file, file.kind, IapPointer(file));
    }

    void TakeLinkedFile(const PhoneBookFileRef& file, UsimPhoneBookEntry& entry) const
    {
        if (file.link == PhoneBookLink::Type3 || file.kind == PhoneBookFileKind::Adn ||
            file.kind == PhoneBookFileKind::Iap || !IsEntryFile(file.kind))
            return;
        if (file.kind != PhoneBookFileKind::Anr && file.kind != PhoneBookFileKind::Email &&
            file.kind != PhoneBookFileKind::Sne && file.link != PhoneBookLink::Type1)
            return; // only these three may be reached through EF_IAP
        const Record* record = LinkedRecord(file, entry);
        if (!record)
            return;
        const bool typeTwo = file.link == PhoneBookLink::Type2;
        switch (file.kind) {
        case PhoneBookFileKind::Anr:
            return TakeAnr(DecodeAnrRecord(record->data(), record->size(), typeTwo), file, entry);
        case PhoneBookFileKind::Email:
        case PhoneBookFileKind::Sne:
            return TakeText(DecodeTextRecord(record->data(), record->size(), typeTwo), file, entry);
        case PhoneBookFileKind::Grp:
            for (uint8_t group : DecodeGroupRecord(record->data(), record->size())) {
                std::string name = NamedRecordText(PhoneBookFileKind::Gas, group, entry);
                if (!name.empty())
                    entry.groups.push_back(std::move(name));
            }
            return;
        case PhoneBookFileKind::Pbc:
            if (const auto control = DecodeEntryControl(record->data(), record->size()))
                entry.hidden = control->Hidden();
            return;
        default:
            return;
        }
    }

    void TakeAnr(const AnrRecord& anr, const PhoneBookFileRef& file, UsimPhoneBookEntry& entry) const
    {
        if (!anr.used)
            return ReportUnused(file, entry);
        CheckBackPointer(anr.adn, file, entry);
        AdditionalNumber number;
        number.number = Number(anr.tonNpi, anr.digits, anr.extensionRecord, entry);
        if (anr.aasRecord != 0)
            number.label = NamedRecordText(PhoneBookFileKind::Aas, anr.aasRecord, entry);
        entry.additionalNumbers.push_back(std::move(number));
    }

    void TakeText(const TextRecord& record, const PhoneBookFileRef& file, UsimPhoneBookEntry& entry) const
    {
        if (record.text.text.empty())
            return ReportUnused(file, entry);
        CheckBackPointer(record.adn, file, entry);
        if (file.kind == PhoneBookFileKind::Email)
            entry.emails.push_back(record.text.text);
        else if (entry.secondName.empty())
            entry.secondName = record.text.text;
    }

    const PhoneBookSet& m_set;
    const unsigned m_setNumber;
    const PhoneBookFileRecords& m_files;
    UsimPhoneBook& m_book;
    const PhoneBookFileRef* m_adn = nullptr;
    bool m_hasTypeTwo = false;
    std::vector<uint8_t> m_iap; // of the entry being built
};

} // namespace

UsimPhoneBook AssemblePhoneBook(const std::vector<PhoneBookSet>& sets, const PhoneBookFileRecords& files)
{
    UsimPhoneBook book;
    unsigned offset = 0;
    for (size_t i = 0; i < sets.size(); ++i)
        if (sets[i].used)
            offset += SetLinker(sets[i], static_cast<unsigned>(i + 1), files, book).Link(offset);
    return book;
}
