// The public test vectors (tests/vectors/public-vectors.json) for table-driven
// decoder tests: each test names the expected result of every vector of a
// section, so that a new vector needs its expectation too.
#pragma once
#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <nlohmann/json.hpp>
#include <set>
#include <stdexcept>
#include <string>

#include "TestBytes.h"

using nlohmann::json;

inline const json& Vectors()
{
    static const json vectors = [] {
        std::FILE* file = std::fopen(VELMORA_VECTORS_FILE, "rb");
        if (!file)
            throw std::runtime_error(std::string("cannot open ") + VELMORA_VECTORS_FILE);
        std::string text;
        char buffer[4096];
        for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, file)) > 0;)
            text.append(buffer, n);
        std::fclose(file);
        return json::parse(text);
    }();
    return vectors;
}

// Runs `check` for every vector of `section` and fails for a vector whose id
// has no expectation, so that a new vector needs its expected result too.
template <typename Expectation, typename Check>
void ForEachVector(const char* section, const std::map<std::string, Expectation>& expected, Check check)
{
    std::set<std::string> seen;
    for (const json& vector : Vectors().at(section)) {
        const std::string id = vector.at("id");
        SCOPED_TRACE(id);
        const auto found = expected.find(id);
        if (found == expected.end()) {
            ADD_FAILURE() << "no expectation for " << id;
            continue;
        }
        seen.insert(id);
        check(vector, found->second);
    }
    EXPECT_EQ(seen.size(), expected.size()) << "expectations without a vector in " << section;
}

inline Bytes VectorBytes(const json& vector, const char* field = "hex")
{
    return Hex(vector.at(field).get<std::string>());
}
