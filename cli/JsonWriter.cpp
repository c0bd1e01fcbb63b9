#include "JsonWriter.h"

#include <cstdio>

std::string JsonQuoted(const std::string& utf8)
{
    std::string out = "\"";
    for (char c : utf8) {
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (static_cast<unsigned char>(c) < 0x20) {
                char code[8];
                std::snprintf(code, sizeof code, "\\u%04x", static_cast<unsigned>(static_cast<unsigned char>(c)));
                out += code;
            } else {
                out += c;
            }
        }
    }
    return out + "\"";
}

void JsonWriter::NewLine()
{
    m_text += '\n';
    m_text.append(m_hasMembers.size() * 2, ' ');
}

void JsonWriter::BeforeValue()
{
    if (m_afterKey) {
        m_afterKey = false;
        return;
    }
    if (!m_hasMembers.empty()) {
        if (m_hasMembers.back())
            m_text += ',';
        m_hasMembers.back() = true;
        NewLine();
    }
}

void JsonWriter::BeginObject()
{
    BeforeValue();
    m_text += '{';
    m_hasMembers.push_back(false);
}

void JsonWriter::EndObject()
{
    const bool hadMembers = m_hasMembers.back();
    m_hasMembers.pop_back();
    if (hadMembers)
        NewLine();
    m_text += '}';
    if (m_hasMembers.empty())
        m_text += '\n';
}

void JsonWriter::BeginArray()
{
    BeforeValue();
    m_text += '[';
    m_hasMembers.push_back(false);
}

void JsonWriter::EndArray()
{
    const bool hadMembers = m_hasMembers.back();
    m_hasMembers.pop_back();
    if (hadMembers)
        NewLine();
    m_text += ']';
    if (m_hasMembers.empty())
        m_text += '\n';
}

void JsonWriter::Key(const std::string& name)
{
    BeforeValue();
    m_text += JsonQuoted(name) + ": ";
    m_afterKey = true;
}

void JsonWriter::String(const std::string& utf8)
{
    BeforeValue();
    m_text += JsonQuoted(utf8);
}

void JsonWriter::Number(long long value)
{
    BeforeValue();
    m_text += std::to_string(value);
}

void JsonWriter::Bool(bool value)
{
    BeforeValue();
    m_text += value ? "true" : "false";
}

void JsonWriter::Null()
{
    BeforeValue();
    m_text += "null";
}
