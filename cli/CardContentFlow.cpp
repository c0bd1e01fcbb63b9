#include "CardContentFlow.h"

#include "card/CardContentReader.h"

long ReadCardContentAfterConnect(const MainDialogLogic& logic, unsigned readerIndex, long interruption,
                          const ReceivedFiles& received, std::optional<CardContent>& content)
{
    CCardReader* reader = logic.ReaderList().GetReader(readerIndex);
    if (interruption != 0 || !logic.IsConnected() || reader == nullptr)
        return interruption;
    content.emplace();
    return ReadCardContent(*reader, received, *content);
}
