#include "PhoneBookReference.h"

#include "BerTlv.h"

namespace {

bool IsLinkTag(uint32_t tag)
{
    return tag == static_cast<uint8_t>(PhoneBookLink::Type1) || tag == static_cast<uint8_t>(PhoneBookLink::Type2) ||
           tag == static_cast<uint8_t>(PhoneBookLink::Type3);
}

void AddProblem(PhoneBookSet& set, PbrProblem problem)
{
    for (PbrProblem known : set.problems)
        if (known == problem)
            return;
    set.problems.push_back(problem);
}

// The file objects of one template; a template cut short yields those it
// holds whole.
void TakeTemplate(const Tlv& link, unsigned& iapIndex, PhoneBookSet& set)
{
    const TlvList files = ReadTlvs(link.value, link.length);
    if (link.cut || files.malformed)
        AddProblem(set, PbrProblem::Cut);
    for (const Tlv& file : files.items) {
        const unsigned position = link.tag == static_cast<uint8_t>(PhoneBookLink::Type2) ? iapIndex++ : 0;
        if (file.cut)
            break;
        if (file.tag > 0xFF || (file.length != 2 && file.length != 3)) {
            AddProblem(set, PbrProblem::BadFileTlv);
            continue;
        }
        PhoneBookFileRef ref;
        ref.kind = static_cast<PhoneBookFileKind>(file.tag);
        ref.link = static_cast<PhoneBookLink>(link.tag);
        ref.fileId = static_cast<uint16_t>(file.value[0] << 8 | file.value[1]);
        if (file.length == 3)
            ref.sfi = file.value[2];
        ref.iapIndex = position;
        set.files.push_back(ref);
    }
}

} // namespace

const PhoneBookFileRef* PhoneBookSet::Find(PhoneBookFileKind kind) const
{
    for (const PhoneBookFileRef& file : files)
        if (file.kind == kind)
            return &file;
    return nullptr;
}

std::vector<const PhoneBookFileRef*> PhoneBookSet::All(PhoneBookFileKind kind) const
{
    std::vector<const PhoneBookFileRef*> found;
    for (const PhoneBookFileRef& file : files)
        if (file.kind == kind)
            found.push_back(&file);
    return found;
}

PhoneBookSet DecodePhoneBookReference(const uint8_t* record, size_t length)
{
    PhoneBookSet set;
    if (length == 0 || record[0] == 0xFF)
        return set;
    set.used = true;
    const TlvList links = ReadTlvs(record, length);
    if (links.malformed)
        AddProblem(set, PbrProblem::Cut);
    unsigned iapIndex = 0;
    for (const Tlv& link : links.items)
        if (IsLinkTag(link.tag))
            TakeTemplate(link, iapIndex, set);
    return set;
}
