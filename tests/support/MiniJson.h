// A small JSON reader for tests that check kalvor-screen's output.
#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kalvor::test {

struct JsonValue {
    enum class Kind { Null, Bool, Number, String, Array, Object };
    Kind Type = Kind::Null;
    bool Bool = false;
    double Number = 0;
    std::string String; // Latin-1: code points up to 255 become single bytes
    std::vector<JsonValue> Array;
    std::map<std::string, JsonValue> Object;

    const JsonValue& operator[](const std::string& key) const;
    const JsonValue& operator[](std::size_t index) const;
    int Int() const { return static_cast<int>(Number); }
};

std::optional<JsonValue> ParseJson(std::string_view text, std::string& error);

} // namespace kalvor::test
