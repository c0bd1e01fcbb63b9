// Sets the local time zone (the TZ variable) for one test and puts the
// previous one back, so that a test of calendar times does not depend on
// how it was started.
#pragma once
#include <cstdlib>
#include <ctime>
#include <optional>
#include <string>

class ScopedTimeZone {
public:
    // `zone` as TZ takes it on every platform we build for, e.g. "UTC0".
    explicit ScopedTimeZone(const char* zone)
    {
        if (const char* previous = std::getenv("TZ"))
            m_previous = previous;
        Set(zone);
    }
    ~ScopedTimeZone() { Set(m_previous ? m_previous->c_str() : nullptr); }
    ScopedTimeZone(const ScopedTimeZone&) = delete;
    ScopedTimeZone& operator=(const ScopedTimeZone&) = delete;

private:
    // Null removes the variable.
    static void Set(const char* zone)
    {
#ifdef _WIN32
        _putenv_s("TZ", zone != nullptr ? zone : "");
        _tzset();
#else
        if (zone != nullptr)
            setenv("TZ", zone, 1);
        else
            unsetenv("TZ");
        tzset();
#endif
    }

    std::optional<std::string> m_previous;
};
