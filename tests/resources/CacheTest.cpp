// The cache folder without a server: TrimCache keeps it within its budget,
// oldest first, and /PURGE deletes what is older than its date.
#include "TempHome.h"

#include "resources/CacheFiles.h"

#include <gtest/gtest.h>

#include <chrono>
#include <ctime>
#include <fstream>

namespace fs = std::filesystem;
using namespace kalvor::resources;

namespace {

// Sets a file's modification time to a local time.
void SetLocalTime(const fs::path& file, int year, int month, int day, int hour, int minute)
{
    std::tm t{};
    t.tm_year = year - 1900;
    t.tm_mon = month - 1;
    t.tm_mday = day;
    t.tm_hour = hour;
    t.tm_min = minute;
    t.tm_isdst = -1;
    const auto when = std::chrono::system_clock::from_time_t(std::mktime(&t));
    fs::last_write_time(file, std::chrono::file_clock::from_sys(when));
}

// A file of `bytes` bytes (sparse: nothing is written).
void MakeFile(const fs::path& file, std::uintmax_t bytes)
{
    std::ofstream(file).close();
    fs::resize_file(file, bytes);
}

} // namespace

TEST(TrimCache, DeletesOldestFirstUntilBelowTheBudget)
{
    kalvor::test::TempHome home;
    const fs::path cache = home.Path() / "cache";
    fs::create_directories(cache);
    // Ten files of 3000 units, 1.2 times the budget, written a day apart:
    // after the oldest goes the total is still 1.08 times the budget.
    for (int i = 0; i < 10; ++i) {
        const fs::path f = cache / ("pic" + std::to_string(i) + ".gif");
        MakeFile(f, 3'000'000);
        SetLocalTime(f, 2020, 3, 10 - i, 12, 0); // pic9 is the oldest
    }
    // Older and larger still, but the form file and the files of the
    // current list are never counted.
    for (const char* kept : {"Form.txt", "current.gif"}) {
        MakeFile(cache / kept, 40'000'000);
        SetLocalTime(cache / kept, 2001, 1, 1, 0, 0);
    }
    EXPECT_EQ(TrimCache(cache, {"current.gif"}), (std::vector<std::string>{"pic9.gif", "pic8.gif"}));
    EXPECT_FALSE(fs::exists(cache / "pic9.gif"));
    EXPECT_TRUE(fs::exists(cache / "pic7.gif"));
    EXPECT_TRUE(fs::exists(cache / "Form.txt"));
    EXPECT_TRUE(fs::exists(cache / "current.gif"));

    // Within the budget now (24000 units): nothing more goes.
    EXPECT_TRUE(TrimCache(cache, {"current.gif"}).empty());
}

TEST(Purge, DeletesWhatIsOlderThanItsDate)
{
    kalvor::test::TempHome home;
    const fs::path cache = home.Path() / "cache";
    const fs::path elsewhere = home.Path() / "other";
    fs::create_directories(cache);
    fs::create_directories(elsewhere);
    struct Case {
        const char* Name;
        const char* Date;
        bool Deleted;
    };
    // Every file was written at 2021-06-15 10:30.
    const Case cases[] = {
        {"later.gif", "202106151031", true},    {"same.gif", "202106151030", false},
        {"earlier.gif", "202106151029", false}, {"notanumber.gif", "soon", false},
        {"missing.gif", "209901010000", false},
    };
    for (const Case& c : cases) {
        const bool there = std::string(c.Name) != "missing.gif";
        if (there) {
            MakeFile(cache / c.Name, 10);
            SetLocalTime(cache / c.Name, 2021, 6, 15, 10, 30);
        }
        EXPECT_EQ(PurgeFile(cache, c.Name, c.Date), c.Deleted) << c.Name;
        EXPECT_EQ(fs::exists(cache / c.Name), there && !c.Deleted) << c.Name;
    }
    // A name with a folder part is a path of its own, honoured inside the
    // program folder only.
    const fs::path outside = home.Path().parent_path() / (home.Path().filename().string() + "-outside");
    fs::create_directories(outside);
    for (const fs::path& file : {elsewhere / "full.gif", outside / "full.gif", cache / "up.gif"}) {
        MakeFile(file, 10);
        SetLocalTime(file, 2021, 6, 15, 10, 30);
    }
    EXPECT_TRUE(PurgeFile(cache, (elsewhere / "full.gif").string(), "202201010000"));
    EXPECT_FALSE(fs::exists(elsewhere / "full.gif"));
    EXPECT_FALSE(PurgeFile(cache, (outside / "full.gif").string(), "202201010000"));
    EXPECT_FALSE(PurgeFile(cache, (cache / ".." / ".." / outside.filename() / "full.gif").string(), "202201010000"));
    EXPECT_TRUE(fs::exists(outside / "full.gif"));
    EXPECT_TRUE(PurgeFile(cache, (cache / ".." / "cache" / "up.gif").string(), "202201010000"));
    fs::remove_all(outside);
}
