#include "FullFlow.h"

#include "card/FullCardReader.h"

long ReadFullAfterConnect(const MainDialogLogic& logic, unsigned readerIndex, long interruption,
                          const ReceivedFiles& received, std::optional<FullCardContent>& content)
{
    CCardReader* reader = logic.ReaderList().GetReader(readerIndex);
    if (interruption != 0 || !logic.IsConnected() || reader == nullptr)
        return interruption;
    content.emplace();
    return ReadFullCard(*reader, received, *content);
}
