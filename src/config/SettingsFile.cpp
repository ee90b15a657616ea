#include "config/SettingsFile.h"

#include "config/ConfigPaths.h"
#include "config/FileText.h"

#include <algorithm>
#include <string>

namespace kalvor::config {
namespace {

constexpr std::string_view kEol = "\r\n";
constexpr std::string_view kTitle = "Tavlex Terminal";
constexpr std::string_view kSubtitle = "Configuration Settings";

std::string Centred(std::string_view text)
{
    return std::string(static_cast<std::size_t>(CentringSpaces(text.size())), ' ') + std::string(text);
}

// The key text of a file: from byte 501 in 100-byte blocks, up to a block
// that begins with NUL or the end of the bytes.
std::string_view KeyTextOf(std::string_view fileBytes)
{
    if (fileBytes.size() <= kHeaderSkip)
        return {};
    std::string_view rest = fileBytes.substr(kHeaderSkip, kMaxKeyText);
    std::size_t end = 0;
    while (end < rest.size() && rest[end] != '\0')
        end = std::min(end + kReadBlock, rest.size());
    return rest.substr(0, end);
}

} // namespace

int CentringSpaces(std::size_t length)
{
    // (80 - length) / 2 - 1 = (78 - length) / 2, a half when the difference is odd.
    const long long twice = 78 - static_cast<long long>(std::min<std::size_t>(length, 1000));
    long long spaces = twice / 2;
    if (twice % 2 != 0) {
        const long long below = (twice - 1) / 2; // exact: the whole number under the half
        spaces = below % 2 == 0 ? below : below + 1;
    }
    return static_cast<int>(std::max(0LL, spaces));
}

std::string SettingsFileHeader(std::string_view fileName)
{
    const std::string_view name = TrimSpaces(fileName).substr(0, kLineWidth);
    std::string h;
    h += kEol;
    h += kEol;
    h += StarLine();
    h += StarLine();
    h += kEol;
    h += kEol;
    h += Centred(kTitle);
    h += kEol;
    h += Centred(kSubtitle);
    h += kEol;
    h += kEol;
    std::string nameLine = Centred(name);
    nameLine.resize(std::max(nameLine.size(), kLineWidth), ' ');
    h += nameLine;
    h += kEol;
    h += kEol;
    h += kEol;
    h += StarLine();
    h += StarLine();
    h += kEol;
    h += kEol;
    return h;
}

std::string KeyLine(int index, std::string_view value)
{
    const std::string_view key = KeyText(index);
    std::string line(kKeyField > key.size() ? kKeyField - key.size() : 0, ' ');
    line += key;
    line += value;
    line += kEol;
    return line;
}

ValueTexts EncodeAll(const Settings& settings)
{
    ValueTexts v;
    for (int i = 1; i <= kKeyCount; ++i)
        v[static_cast<std::size_t>(i)] = EncodeValue(settings, i);
    return v;
}

std::string FormatSettingsFile(std::string_view fileName, const ValueTexts& values)
{
    std::string out = SettingsFileHeader(fileName);
    for (int i = 1; i <= kKeyCount; ++i)
        out += KeyLine(i, values[static_cast<std::size_t>(i)]);
    return out;
}

std::string FormatSettingsFile(std::string_view fileName, const Settings& settings)
{
    return FormatSettingsFile(fileName, EncodeAll(settings));
}

std::string ParseSettingsText(std::string_view fileBytes, Settings& settings, FileValues* values)
{
    const std::string_view text = KeyTextOf(fileBytes);
    std::string damage;
    const auto note = [&damage](int line, std::string_view what) {
        if (damage.empty())
            damage = "line " + std::to_string(line) + ": " + std::string(what);
    };

    std::array<bool, kKeyCount + 1> seen{};
    std::string_view rest = text;
    // Lines are counted as the file counts them, header included.
    const std::string_view header = fileBytes.substr(0, kHeaderSkip);
    const int headerLines = static_cast<int>(std::count(header.begin(), header.end(), '\n'));
    for (int number = headerLines + 1;; ++number) {
        const std::size_t end = rest.find_first_of("\r\n");
        if (end == std::string_view::npos) {
            if (!rest.empty())
                note(number, "the last line has no line end and was not read");
            break;
        }
        const std::string_view line = rest.substr(0, end);
        // CR LF, a lone LF or a lone CR end a line.
        rest.remove_prefix(end + (rest.substr(end, 2) == "\r\n" ? 2 : 1));
        if (TrimSpaces(line).empty())
            continue;
        if (line.size() > kMaxLineLength) {
            note(number, "a line is longer than " + std::to_string(kMaxLineLength) + " characters");
            continue;
        }
        if (std::any_of(line.begin(), line.end(),
                        [](char c) { return static_cast<unsigned char>(c) < 32 && c != '\t'; })) {
            note(number, "a binary byte");
            continue;
        }
        const std::size_t eq = line.find('=');
        if (eq == std::string_view::npos) {
            note(number, "no \"=\"");
            continue;
        }
        const int key = FindKey(LineName(line.substr(0, eq)));
        if (key == 0) {
            note(number, "an unknown key");
            continue;
        }
        if (seen[static_cast<std::size_t>(key)])
            continue;
        seen[static_cast<std::size_t>(key)] = true;
        const std::string_view value = TrimSpaces(line.substr(eq + 1));
        if (values != nullptr)
            (*values)[static_cast<std::size_t>(key)] = std::string(value);
        DecodeValue(settings, key, value);
    }
    return damage;
}

int ReadSettingsFile(std::string_view name, Settings& settings, FileValues* values, std::string* damage)
{
    std::string bytes;
    if (const int err = ReadFileBytes(ConfigPath(name), bytes, kHeaderSkip + kMaxKeyText); err != 0)
        return err;
    std::string found = ParseSettingsText(bytes, settings, values);
    if (damage != nullptr)
        *damage = std::move(found);
    return 0;
}

int CreateSettingsFile(std::string_view name, const Settings& settings)
{
    return WriteFileBytes(ConfigPath(name), FormatSettingsFile(name, settings));
}

int MergeIntoSettingsFile(std::string_view name, const Settings& settings, const KeySet& replace)
{
    const std::filesystem::path path = ConfigPath(name);
    std::error_code ec;
    if (!std::filesystem::exists(path, ec))
        return 0;

    Settings scratch = settings;
    FileValues held;
    if (const int err = ReadSettingsFile(name, scratch, &held); err != 0)
        return err;
    ValueTexts values;
    for (int i = 1; i <= kKeyCount; ++i) {
        const auto k = static_cast<std::size_t>(i);
        if (replace[k] || !held[k]) {
            values[k] = EncodeValue(settings, i);
        } else {
            // As the file holds it; a control character would break the line.
            values[k] = *held[k];
            for (char& c : values[k])
                if (static_cast<unsigned char>(c) < 32)
                    c = ' ';
        }
    }
    return WriteFileBytes(path, FormatSettingsFile(name, values));
}

int UpdateConfigSection(std::string_view name, const Settings& settings, std::string_view section, int keyIndex)
{
    std::optional<Section> which;
    if (section.empty()) {
        if (keyIndex < 1 || keyIndex > kKeyCount)
            return 0;
    } else {
        which = SectionByName(section);
        if (!which)
            return 0;
    }
    KeySet replace{};
    for (int i = 1; i <= kKeyCount; ++i)
        replace[static_cast<std::size_t>(i)] = which ? InSection(i, *which) : i == keyIndex;
    return MergeIntoSettingsFile(name, settings, replace);
}

} // namespace kalvor::config
