// Takes the card in the first reader, begins a transaction, says "holding"
// on stdout and waits to be killed. The native tests kill it to see the card
// released for the next client.
#include <windows.h>
#include <winscard.h>

#include <cstdio>

int main()
{
    SCARDCONTEXT context = 0;
    SCARDHANDLE card = 0;
    DWORD protocol = 0;
    LONG rv = SCardEstablishContext(SCARD_SCOPE_USER, nullptr, nullptr, &context);
    if (rv == SCARD_S_SUCCESS)
        rv = SCardConnectW(context, L"Virtual PCD 00 00", SCARD_SHARE_SHARED, SCARD_PROTOCOL_T0, &card, &protocol);
    if (rv == SCARD_S_SUCCESS)
        rv = SCardBeginTransaction(card);
    if (rv != SCARD_S_SUCCESS) {
        std::printf("failed %08lX\n", static_cast<unsigned long>(rv));
        return 1;
    }
    std::printf("holding\n");
    std::fflush(stdout);
    for (;;)
        Sleep(1000);
}
