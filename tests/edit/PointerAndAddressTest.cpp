// The two pieces of the edit library that no screen case reaches: the
// pointer's cell rounding (halves to even, the row ends) and the address a
// double click opens through the user's address list.
#include "TempHome.h"

#include "edit/Selection.h"
#include "edit/WordMarking.h"

#include <gtest/gtest.h>

#include <fstream>
#include <optional>
#include <string>

namespace kalvor::edit {
namespace {

TEST(PointerCells, ColumnsAndRowsRoundHalvesToEven)
{
    struct Case {
        double X, Y;
        int HScroll;
        int Col, Row;
    };
    // Cells of 10 x 20 pixels on an 80 x 24 screen.
    const Case cases[] = {
        {0, 0, 0, -1, 0},         // left of the first boundary: from the row start; -0.5 rounds to 0
        {16, 20, 0, 1, 0},        // row 1.0 - 0.5 = 0.5: halves to even, 0
        {26, 40, 0, 2, 2},        // row 1.5 rounds to 2
        {34, 60, 0, 3, 2},        // row 2.5 rounds to 2
        {795, 470, 0, 79, 23},    // the last column and row
        {806, 2000, 0, 1001, 23}, // beyond the screen width: to the row end; rows kept on the screen
        {26, -40, 40, 42, 0},     // the horizontal scroll is added
    };
    for (const Case& c : cases) {
        const PointerCell p{c.X, c.Y, 10, 20, c.HScroll};
        EXPECT_EQ(EdgeColumn(p, 80), c.Col) << c.X;
        EXPECT_EQ(EdgeScreenRow(p, 24), c.Row) << c.Y;
    }
}

TEST(DoubleClickAddress, TheListsKeysThenHttpWordsOnlyWithAllowedSchemes)
{
    test::TempHome home;
    std::filesystem::create_directories(home.Path() / "config");
    std::ofstream(home.Path() / "config" / "searchvaluesfile.txt") << "orders.txt\r\n";
    std::ofstream(home.Path() / "config" / "orders.txt") << "ORD|https://shop.example/o?id=\r\n"
                                                         << "TKT|ticket://desk/ \r\n";
    struct Case {
        std::string Row;
        int Col;
        std::optional<std::string> Address;
    };
    const Case cases[] = {
        {"see ord1234 today", 6, "https://shop.example/o?id=1234"}, // key in any case, text to the blank
        {"see ord1234 today", 14, std::nullopt},                    // a word without a key
        {"tkt77 done", 0, "ticket://desk/77"},                      // a scheme the list uses is allowed
        {"go to http://a.example/x now", 9, "http://a.example/x"},  // no key: the HTTP:// word
        {"go to xhttp://a.example/x now", 9, "http://a.example/x"}, // from HTTP:// on
        {"ftp://files.example", 3, std::nullopt},                   // neither a key nor an HTTP:// word
        {"ord1234", 3, "https://shop.example/o?id=1234"},
        {"   ", 1, std::nullopt}, // a blank marks nothing
    };
    for (const Case& c : cases)
        EXPECT_EQ(AddressAt(home.Path(), c.Row, c.Col), c.Address) << c.Row << " @" << c.Col;

    // Without the list only the HTTP:// words are addresses.
    std::filesystem::remove(home.Path() / "config" / "searchvaluesfile.txt");
    EXPECT_EQ(AddressAt(home.Path(), "see ord1234", 6), std::nullopt);
    EXPECT_EQ(AddressAt(home.Path(), "HTTP://A.EXAMPLE", 2), "HTTP://A.EXAMPLE");
}

} // namespace
} // namespace kalvor::edit
