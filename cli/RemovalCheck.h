// Was the card pulled during the read? Told apart after the workflow from
// what the resource manager says, without sending the card another command,
// so that velmora-cli sends exactly the dialog's commands.
//
// A removal during an exchange usually fails it with a PC/SC error, which the
// workflow keeps as its interruption. But a virtual reader (vpcd) answers the
// exchange during which the card leaves with an empty success, and pcscd
// notices the card gone only at its next poll (up to 400 ms later). A card
// over T=0 always ends its answer with a status word: an answer with no bytes
// at all is that cut-off exchange or a dead card. Only after such an answer
// does the check wait for pcscd to settle.
#pragma once
#include "card/ApduObserver.h"
#include "card/CardReader.h"

// Remembers whether the last exchange was a success with no bytes.
class EmptyAnswerWatch : public IApduObserver {
public:
    void OnCommand(const uint8_t*, size_t) override {}
    void OnResponse(LONG result, const uint8_t*, size_t length) override { m_bLastEmpty = result == 0 && length == 0; }
    bool LastAnswerWasEmpty() const { return m_bLastEmpty; }

private:
    bool m_bLastEmpty = false;
};

// The PC/SC error that shows the card gone (or the reader or the service), or
// 0 when the card is still there. With a connection, SCardStatus tells; after
// an empty last answer, the reader's state is watched for up to `settleMs`
// for the removal to show.
LONG CardGoneAfterRead(CCardReader& reader, bool lastAnswerEmpty, DWORD settleMs = 1500);
