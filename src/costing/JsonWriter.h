#pragma once

#include "costing/Money.h"
#include "costing/ResultTable.h"
#include "text/Cp1252.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kalkora {

// Writes indented JSON with the keys in the order they are given (QJsonObject would sort them).
class JsonWriter {
public:
    std::string take() { return std::move(out) + '\n'; }
    // Room for `bytes` of output, for a large result.
    void reserve(std::size_t bytes) { out.reserve(bytes); }

    void beginObject(std::string_view key = {})
    {
        startItem(key);
        out += '{';
        ++depth;
        first = true;
    }
    void endObject() { close('}'); }
    void beginArray(std::string_view key)
    {
        startItem(key);
        out += '[';
        ++depth;
        first = true;
    }
    void endArray() { close(']'); }

    void number(std::string_view key, std::int32_t value) { number(key, std::int64_t(value)); }
    void number(std::string_view key, std::int64_t value)
    {
        startItem(key);
        out += std::to_string(value);
    }
    void number(std::string_view key, float value)
    {
        startItem(key);
        appendFloat(value);
    }
    void number(std::string_view key, double value)
    {
        startItem(key);
        appendFloat(value);
    }
    // Cents or hundredths of a percent with exactly two decimals; null when there is none.
    void hundredths(std::string_view key, std::optional<std::int64_t> count)
    {
        startItem(key);
        out += count ? formatHundredths(*count, '.') : "null";
    }
    void boolean(std::string_view key, bool value)
    {
        startItem(key);
        out += value ? "true" : "false";
    }
    void text(std::string_view key, std::string_view cp1252)
    {
        startItem(key);
        appendString(text::cp1252ToUtf8(cp1252));
    }
    // A number already written out, such as a price with four decimals.
    void literal(std::string_view key, std::string_view number)
    {
        startItem(key);
        out += number;
    }
    void utf8Text(std::string_view key, std::string_view utf8)
    {
        startItem(key);
        appendString(utf8);
    }
    // A cell of a result table: a count or a choice's stored number, a cost in full precision,
    // cents or hundredths with two decimals, a text, a flag; null where there is none.
    void cell(std::string_view key, const Cell& value);
    void triple(std::string_view key, const float (&values)[3])
    {
        startItem(key);
        out += '[';
        for (int i = 0; i < 3; ++i) {
            if (i > 0)
                out += ", ";
            appendFloat(values[i]);
        }
        out += ']';
    }

private:
    void startItem(std::string_view key)
    {
        if (!first)
            out += ',';
        if (depth > 0) {
            out += '\n';
            out.append(2 * depth, ' ');
        }
        if (!key.empty()) {
            appendString(key);
            out += ": ";
        }
        first = false;
    }

    void close(char bracket)
    {
        --depth;
        if (!first) {
            out += '\n';
            out.append(2 * depth, ' ');
        }
        out += bracket;
        first = false;
    }

    // The shortest form that reads back to the same float or double.
    template <typename Real> void appendFloat(Real value)
    {
        if (std::isnan(value)) {
            out += "\"nan\"";
        } else if (std::isinf(value)) {
            out += value > 0 ? "\"inf\"" : "\"-inf\"";
        } else {
            char buffer[32];
            const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
            out.append(buffer, result.ptr);
        }
    }

    void appendString(std::string_view utf8)
    {
        out += '"';
        // Runs that need no escape are copied whole.
        std::size_t plain = 0;
        for (std::size_t i = 0; i < utf8.size(); ++i) {
            const char c = utf8[i];
            if (c != '"' && c != '\\' && static_cast<unsigned char>(c) >= 0x20)
                continue;
            out.append(utf8.substr(plain, i - plain));
            plain = i + 1;
            if (c == '"' || c == '\\') {
                out += '\\';
                out += c;
            } else {
                appendControl(static_cast<unsigned char>(c));
            }
        }
        out.append(utf8.substr(plain));
        out += '"';
    }

    void appendControl(unsigned char c)
    {
        switch (c) {
        case '\n':
            out += "\\n";
            return;
        case '\r':
            out += "\\r";
            return;
        case '\t':
            out += "\\t";
            return;
        default:
            static const char digits[] = "0123456789abcdef";
            out += "\\u00";
            out += digits[c >> 4];
            out += digits[c & 0xF];
        }
    }

    std::string out;
    int depth = 0;
    bool first = true;
};

} // namespace kalkora
