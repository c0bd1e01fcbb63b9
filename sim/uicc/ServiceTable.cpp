#include "ServiceTable.h"

bool HasService(const uint8_t* table, size_t size, unsigned service)
{
    if (service == 0 || (service - 1) / 8 >= size)
        return false;
    return (table[(service - 1) / 8] >> ((service - 1) % 8) & 1u) != 0;
}
