// What a correct reader shows for a profile: its "expect" section, written
// from plain values when the profile was made (tools/simcard/make-profiles).
#pragma once
#include <optional>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "SimReadout.h"

struct ExpectedSms {
    std::string status, sender, date, text; // UTF-8
};
bool operator==(const ExpectedSms& a, const ExpectedSms& b);
std::ostream& operator<<(std::ostream& out, const ExpectedSms& m);

struct ExpectedDiallingFile {
    bool enabled = false;
    bool exact = true; // false: `entries` must be among those read, others may be too
    std::vector<std::pair<std::string, std::string>> entries; // UTF-8 name, number; by name
};

struct ProfileExpectation {
    std::u16string pin;            // PIN1 of the card, as the user would type it
    bool isGsm = false;
    bool cardLies = false;         // a hostile card: transport errors are allowed
    std::string iccid, imsi, pin1Text, pin2Text;
    ExpectedDiallingFile fdn, adn;
    bool smsExact = true;
    std::vector<ExpectedSms> sms;
};

// Reads the profile file; throws std::runtime_error when it has no expectations.
ProfileExpectation LoadExpectation(const std::string& profilePath);

// Adds a test failure for everything in `readout` that differs from `expected`.
void ExpectReadoutMatches(const SimReadout& readout, const ProfileExpectation& expected);

// Checks a read that was cut short: whatever was decoded is what the card
// holds (entries, messages), and nothing is invented.
void ExpectPartialReadoutConsistent(const SimReadout& readout, const ProfileExpectation& expected);
