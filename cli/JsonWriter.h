// A small JSON writer: objects and arrays, two-space indentation, strings
// given as UTF-8 and escaped as JSON requires.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

class JsonWriter {
public:
    void BeginObject();
    void EndObject();
    void BeginArray();
    void EndArray();
    // The name of the next member of the current object.
    void Key(const std::string& name);
    void String(const std::string& utf8);
    void Number(long long value);
    void Bool(bool value);
    void Null();

    // The document, ending with a line feed once the outermost value ended.
    const std::string& Text() const { return m_text; }

private:
    void BeforeValue();
    void NewLine();

    std::string m_text;
    std::vector<bool> m_hasMembers; // per open object/array
    bool m_afterKey = false;
};

// "\"...\"" with quotes, backslashes and control characters escaped.
std::string JsonQuoted(const std::string& utf8);
