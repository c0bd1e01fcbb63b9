// Test vectors (tests/vectors/*.json) for table-driven decoder tests: each
// test names the expected result of every vector of a section, so that a new
// vector needs its expectation too.
#pragma once
#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <nlohmann/json.hpp>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "TestBytes.h"

using nlohmann::json;

inline json LoadVectors(const char* path)
{
    std::FILE* file = std::fopen(path, "rb");
    if (!file)
        throw std::runtime_error(std::string("cannot open ") + path);
    std::string text;
    char buffer[4096];
    for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, file)) > 0;)
        text.append(buffer, n);
    std::fclose(file);
    return json::parse(text);
}

inline const json& Vectors()
{
    static const json vectors = LoadVectors(VELMORA_VECTORS_FILE);
    return vectors;
}

// Runs `check` for every vector of `section` of `file` and fails for a vector
// whose id has no expectation, so that a new vector needs its expected result
// too.
template <typename Expectation, typename Check>
void ForEachVector(const json& file, const char* section, const std::map<std::string, Expectation>& expected,
                   Check check)
{
    std::set<std::string> seen;
    for (const json& vector : file.at(section)) {
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

// The same over the public vectors.
template <typename Expectation, typename Check>
void ForEachVector(const char* section, const std::map<std::string, Expectation>& expected, Check check)
{
    ForEachVector(Vectors(), section, expected, check);
}

inline Bytes VectorBytes(const json& vector, const char* field = "hex")
{
    return Hex(vector.at(field).get<std::string>());
}

// One row of a decoder's table: "@id" takes the bytes of vector `id` of the
// section, anything else is hex. Rows of both kinds share the table, so that
// robustness rows sit beside the real vectors.
template <typename Expectation>
struct VectorRow {
    std::string input;
    Expectation expected;
};

// Runs `check(bytes, expected)` for every row and fails for a vector of
// `section` in `file` that no row names.
template <typename Expectation, typename Check>
void ForEachRow(const json& file, const char* section, const std::vector<VectorRow<Expectation>>& rows, Check check)
{
    std::set<std::string> named;
    for (const VectorRow<Expectation>& row : rows) {
        SCOPED_TRACE(row.input);
        if (row.input.empty() || row.input[0] != '@') {
            check(Hex(row.input), row.expected);
            continue;
        }
        const std::string id = row.input.substr(1);
        named.insert(id);
        const json* found = nullptr;
        for (const json& vector : file.at(section))
            if (vector.at("id") == id)
                found = &vector;
        if (!found) {
            ADD_FAILURE() << "no vector " << id << " in " << section;
            continue;
        }
        check(VectorBytes(*found), row.expected);
    }
    for (const json& vector : file.at(section))
        EXPECT_TRUE(named.count(vector.at("id").get<std::string>())) << "no row for vector " << vector.at("id");
}
