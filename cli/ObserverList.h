// Passes every exchange on to several observers, in the order they were added.
#pragma once
#include <vector>

#include "card/ApduObserver.h"

class ObserverList : public IApduObserver {
public:
    void Add(IApduObserver& observer) { m_observers.push_back(&observer); }

    void OnCommand(const uint8_t* command, size_t length) override
    {
        for (IApduObserver* observer : m_observers)
            observer->OnCommand(command, length);
    }
    void OnResponse(LONG result, const uint8_t* response, size_t length) override
    {
        for (IApduObserver* observer : m_observers)
            observer->OnResponse(result, response, length);
    }

private:
    std::vector<IApduObserver*> m_observers;
};
