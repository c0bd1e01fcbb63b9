// The rest of winscard.dll's exports. They are not forwarded: each answers
// SCARD_E_UNSUPPORTED_FEATURE (or no handle), with the argument count of
// the real function so that the stdcall stack stays balanced. Every
// argument of these functions is four bytes wide on i686.
#include <windows.h>

#include "tools/pcsc-bridge/BridgeProtocol.h"

#define ARGS_0 void
#define ARGS_1 ULONG_PTR
#define ARGS_2 ARGS_1, ULONG_PTR
#define ARGS_3 ARGS_2, ULONG_PTR
#define ARGS_4 ARGS_3, ULONG_PTR
#define ARGS_5 ARGS_4, ULONG_PTR
#define ARGS_6 ARGS_5, ULONG_PTR
#define ARGS_7 ARGS_6, ULONG_PTR
#define ARGS_8 ARGS_7, ULONG_PTR

#define UNSUPPORTED(name, args)                                                                                    \
    LONG WINAPI name(ARGS_##args)                                                                                  \
    {                                                                                                              \
        return static_cast<LONG>(bridge::kResultUnsupportedFeature);                                             \
    }

extern "C" {

UNSUPPORTED(ClassInstall32, 3)
UNSUPPORTED(SCardAddReaderToGroupA, 3)
UNSUPPORTED(SCardAddReaderToGroupW, 3)
UNSUPPORTED(SCardControl, 7)
UNSUPPORTED(SCardForgetCardTypeA, 2)
UNSUPPORTED(SCardForgetCardTypeW, 2)
UNSUPPORTED(SCardForgetReaderA, 2)
UNSUPPORTED(SCardForgetReaderW, 2)
UNSUPPORTED(SCardForgetReaderGroupA, 2)
UNSUPPORTED(SCardForgetReaderGroupW, 2)
UNSUPPORTED(SCardGetAttrib, 4)
UNSUPPORTED(SCardGetCardTypeProviderNameA, 5)
UNSUPPORTED(SCardGetCardTypeProviderNameW, 5)
UNSUPPORTED(SCardGetProviderIdA, 3)
UNSUPPORTED(SCardGetProviderIdW, 3)
UNSUPPORTED(SCardIntroduceCardTypeA, 8)
UNSUPPORTED(SCardIntroduceCardTypeW, 8)
UNSUPPORTED(SCardIntroduceReaderA, 3)
UNSUPPORTED(SCardIntroduceReaderW, 3)
UNSUPPORTED(SCardIntroduceReaderGroupA, 2)
UNSUPPORTED(SCardIntroduceReaderGroupW, 2)
UNSUPPORTED(SCardListCardsA, 6)
UNSUPPORTED(SCardListCardsW, 6)
UNSUPPORTED(SCardListInterfacesA, 4)
UNSUPPORTED(SCardListInterfacesW, 4)
UNSUPPORTED(SCardListReaderGroupsA, 3)
UNSUPPORTED(SCardListReaderGroupsW, 3)
UNSUPPORTED(SCardLocateCardsA, 4)
UNSUPPORTED(SCardLocateCardsW, 4)
UNSUPPORTED(SCardLocateCardsByATRA, 5)
UNSUPPORTED(SCardLocateCardsByATRW, 5)
UNSUPPORTED(SCardRemoveReaderFromGroupA, 3)
UNSUPPORTED(SCardRemoveReaderFromGroupW, 3)
UNSUPPORTED(SCardSetAttrib, 4)
UNSUPPORTED(SCardSetCardTypeProviderNameA, 4)
UNSUPPORTED(SCardSetCardTypeProviderNameW, 4)
UNSUPPORTED(SCardState, 5)

// The resource-manager events: there is no event to hand out.
HANDLE WINAPI SCardAccessStartedEvent(void)
{
    return nullptr;
}

HANDLE WINAPI SCardAccessNewReaderEvent(void)
{
    return nullptr;
}

void WINAPI SCardReleaseStartedEvent(void) {}
void WINAPI SCardReleaseNewReaderEvent(void) {}
void WINAPI SCardReleaseAllEvents(void) {}

} // extern "C"
