// Fuzz target for the configuration reader and the pointer-file reader:
// bytes of any shape are read as a configuration file and as a pointer file,
// in memory and (for inputs whose first byte is odd) through the files under
// a temporary program folder.
//
// Invariants, checked after every input (a violation is reported on stderr
// and ends the run with a trap):
//   - whatever the reader made of the bytes is written and read back the
//     same (the settings written but not read back excepted);
//   - a name read from a pointer file is 1..60 characters, and a pointer file
//     written for it gives it back;
//   - a function-key record and a stored password that are read are written
//     and read back the same;
//   - start-up with such files leaves both rewritten whole.
#include "FileBytes.h"
#include "Invariants.h"
#include "config/ConfigPaths.h"
#include "config/PasswordScramble.h"
#include "config/PointerFile.h"
#include "config/SettingKeys.h"
#include "config/SettingsFile.h"

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>

namespace {

using namespace kalvor::config;
using kalvor::test::ReadAll;
using kalvor::test::WriteAll;

using kalvor::fuzz::Expect;
void ForgetUnread(Settings& read, const Settings& written)
{
    read.SizeIndex = written.SizeIndex;
    read.AutoSave = written.AutoSave;
}

void CheckSettingsRoundTrip(std::string_view bytes)
{
    Settings s;
    ParseSettingsText(bytes, s);
    const std::string written = FormatSettingsFile("config/fuzz.zkd", s);
    if (written.size() > kHeaderSkip + kMaxKeyText)
        return; // values this large are cut by the reading limit
    Settings again;
    ParseSettingsText(written, again);
    ForgetUnread(again, s);
    Expect(again == s, "settings differ after writing and reading back");
}

void CheckPointer(std::string_view bytes)
{
    const auto name = ParsePointerFile(bytes);
    if (!name)
        return;
    Expect(!name->empty() && name->size() <= kMaxConfigNameLength, "pointer name out of bounds");
    Expect(ParsePointerFile(FormatPointerFile(*name)) == name, "pointer name not given back");
}

void CheckRecords(std::string_view bytes)
{
    if (const auto key = DecodeFunctionKey(bytes)) {
        const auto back = DecodeFunctionKey(EncodeFunctionKey(*key));
        Expect(back && back->Type == key->Type && back->Text == key->Text, "function key not given back");
    }
    if (const auto password = Decrypt(bytes)) {
        Expect(password->size() <= kMaxPasswordLength, "password too long");
        Expect(Decrypt(ScramblePassword(*password)) == password, "password not given back");
    }
}

// What start-up does with the two files.
void CheckFiles(std::string_view bytes)
{
    const std::filesystem::path folder = ConfigPath(kConfigFolder);
    std::filesystem::remove_all(folder); // damaged copies of earlier inputs
    std::filesystem::create_directories(folder);
    WriteAll(ConfigPath(kPointerFileName), bytes);
    WriteAll(ConfigPath(kDefaultConfigName), bytes);

    const DefaultFile pointer = GetDefaultFile();
    Expect(!pointer.Name.empty(), "no configuration name");
    if (pointer.Created)
        Expect(ReadAll(ConfigPath(kPointerFileName)) == FormatPointerFile(kDefaultConfigName),
               "pointer file not rewritten whole");
    if (pointer.Name != kDefaultConfigName)
        return; // a name that points elsewhere is not followed

    Settings s;
    Expect(ReadSettingsFile(pointer.Name, s) == 0, "configuration file not read");
    Expect(CreateSettingsFile(pointer.Name, s) == 0, "configuration file not written");
    Expect(ReadAll(ConfigPath(pointer.Name)) == FormatSettingsFile(pointer.Name, s), "file not rewritten whole");
    Settings again;
    Expect(ReadSettingsFile(pointer.Name, again) == 0, "rewritten file not read");
    ForgetUnread(again, s);
    Expect(again == s, "rewritten file reads differently");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    CheckSettingsRoundTrip(bytes);
    CheckPointer(bytes);
    CheckRecords(bytes.substr(0, 600));
    if (size > 0 && (data[0] & 1) != 0 && size < (1u << 20))
        CheckFiles(bytes);
    return 0;
}
