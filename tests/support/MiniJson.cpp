#include "MiniJson.h"

#include <cstdlib>

namespace kalvor::test {
namespace {

const JsonValue kNull;

class Parser {
public:
    explicit Parser(std::string_view s) : s_(s) {}

    bool Value(JsonValue& v)
    {
        Skip();
        if (i_ >= s_.size())
            return Fail("unexpected end");
        const char c = s_[i_];
        if (c == '{')
            return Object(v);
        if (c == '[')
            return Array(v);
        if (c == '"') {
            v.Type = JsonValue::Kind::String;
            return String(v.String);
        }
        if (s_.substr(i_, 4) == "true" || s_.substr(i_, 5) == "false") {
            v.Type = JsonValue::Kind::Bool;
            v.Bool = s_[i_] == 't';
            i_ += v.Bool ? 4 : 5;
            return true;
        }
        if (s_.substr(i_, 4) == "null") {
            i_ += 4;
            return true;
        }
        const std::string num(s_.substr(i_, 32));
        char* end = nullptr;
        v.Number = std::strtod(num.c_str(), &end);
        if (end == num.c_str())
            return Fail("bad value");
        v.Type = JsonValue::Kind::Number;
        i_ += static_cast<std::size_t>(end - num.c_str());
        return true;
    }

    bool AtEnd()
    {
        Skip();
        return i_ == s_.size();
    }
    std::string Error;

private:
    bool Fail(const std::string& why)
    {
        Error = why + " at offset " + std::to_string(i_);
        return false;
    }
    void Skip()
    {
        while (i_ < s_.size() && (s_[i_] == ' ' || s_[i_] == '\n' || s_[i_] == '\r' || s_[i_] == '\t'))
            ++i_;
    }
    bool Expect(char c)
    {
        Skip();
        if (i_ < s_.size() && s_[i_] == c) {
            ++i_;
            return true;
        }
        return Fail(std::string("expected ") + c);
    }
    bool Object(JsonValue& v)
    {
        v.Type = JsonValue::Kind::Object;
        ++i_;
        Skip();
        if (i_ < s_.size() && s_[i_] == '}') {
            ++i_;
            return true;
        }
        for (;;) {
            std::string key;
            Skip();
            if (!String(key) || !Expect(':'))
                return false;
            JsonValue item;
            if (!Value(item))
                return false;
            v.Object[key] = std::move(item);
            Skip();
            if (i_ < s_.size() && s_[i_] == ',') {
                ++i_;
                continue;
            }
            return Expect('}');
        }
    }
    bool Array(JsonValue& v)
    {
        v.Type = JsonValue::Kind::Array;
        ++i_;
        Skip();
        if (i_ < s_.size() && s_[i_] == ']') {
            ++i_;
            return true;
        }
        for (;;) {
            JsonValue item;
            if (!Value(item))
                return false;
            v.Array.push_back(std::move(item));
            Skip();
            if (i_ < s_.size() && s_[i_] == ',') {
                ++i_;
                continue;
            }
            return Expect(']');
        }
    }
    bool String(std::string& out)
    {
        if (i_ >= s_.size() || s_[i_] != '"')
            return Fail("expected string");
        ++i_;
        while (i_ < s_.size()) {
            const auto c = static_cast<unsigned char>(s_[i_++]);
            if (c == '"')
                return true;
            if (c == '\\') {
                if (i_ >= s_.size())
                    break;
                const char e = s_[i_++];
                switch (e) {
                case 'n': out.push_back('\n'); break;
                case 'r': out.push_back('\r'); break;
                case 't': out.push_back('\t'); break;
                case 'b': out.push_back('\b'); break;
                case 'f': out.push_back('\f'); break;
                case 'u': {
                    if (i_ + 4 > s_.size())
                        return Fail("bad \\u");
                    const long cp = std::strtol(std::string(s_.substr(i_, 4)).c_str(), nullptr, 16);
                    i_ += 4;
                    if (cp > 255)
                        return Fail("code point above 255");
                    out.push_back(static_cast<char>(cp));
                    break;
                }
                default: out.push_back(e); break;
                }
            } else if (c >= 0xC0 && c < 0xE0 && i_ < s_.size()) {
                const auto c2 = static_cast<unsigned char>(s_[i_++]);
                const int cp = ((c & 0x1F) << 6) | (c2 & 0x3F);
                if (cp > 255)
                    return Fail("code point above 255");
                out.push_back(static_cast<char>(cp));
            } else {
                out.push_back(static_cast<char>(c));
            }
        }
        return Fail("unterminated string");
    }

    std::string_view s_;
    std::size_t i_ = 0;
};

} // namespace

const JsonValue& JsonValue::operator[](const std::string& key) const
{
    auto it = Object.find(key);
    return it == Object.end() ? kNull : it->second;
}

const JsonValue& JsonValue::operator[](std::size_t index) const { return index < Array.size() ? Array[index] : kNull; }

std::optional<JsonValue> ParseJson(std::string_view text, std::string& error)
{
    Parser p(text);
    JsonValue v;
    if (!p.Value(v) || !p.AtEnd()) {
        error = p.Error.empty() ? "trailing data" : p.Error;
        return std::nullopt;
    }
    return v;
}

} // namespace kalvor::test
