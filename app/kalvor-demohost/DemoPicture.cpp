#include "DemoPicture.h"

#include <cmath>
#include <cstdint>

namespace kalvor::demohost {
namespace {

struct Rgb {
    int R = 0, G = 0, B = 0;
};

Rgb Mix(Rgb a, Rgb b, double t)
{
    const auto lerp = [t](int x, int y) { return static_cast<int>(std::lround(x + (y - x) * t)); };
    return {lerp(a.R, b.R), lerp(a.G, b.G), lerp(a.B, b.B)};
}

// The colour of picture pixel (x, y), y counted from the top.
Rgb Pixel(int x, int y)
{
    const double w = kDemoPictureWidth, h = kDemoPictureHeight;
    const double fx = x / w, fy = y / h;
    const double far = 0.55 * h + 10 * std::sin(fx * 5.0 + 0.6);
    const double near = 0.70 * h + 14 * std::sin(fx * 3.2 + 2.4);
    const double lake = 0.86 * h;
    if (y >= lake)
        return Mix({70, 130, 200}, {20, 60, 130}, (y - lake) / (h - lake));
    if (y >= near)
        return Mix({70, 150, 60}, {30, 90, 30}, (y - near) / (lake - near));
    if (y >= far)
        return Mix({110, 140, 170}, {80, 110, 140}, (y - far) / (near - far));
    const double dx = x - 0.75 * w, dy = y - 0.25 * h;
    const double sun = std::sqrt(dx * dx + dy * dy);
    if (sun < 13)
        return {255, 220, 90};
    const Rgb sky = Mix({40, 90, 180}, {250, 190, 150}, fy / 0.7);
    return sun < 20 ? Mix({255, 235, 160}, sky, (sun - 13) / 7) : sky;
}

void Put16(std::string& out, std::uint32_t v)
{
    out.push_back(static_cast<char>(v & 0xff));
    out.push_back(static_cast<char>((v >> 8) & 0xff));
}

void Put32(std::string& out, std::uint32_t v)
{
    Put16(out, v & 0xffff);
    Put16(out, v >> 16);
}

} // namespace

std::string DemoPictureBmp()
{
    const std::uint32_t rowBytes = (kDemoPictureWidth * 3 + 3) & ~3u;
    const std::uint32_t imageBytes = rowBytes * kDemoPictureHeight;
    const std::uint32_t headers = 14 + 40;
    std::string out;
    out.reserve(headers + imageBytes);
    // BITMAPFILEHEADER
    out += "BM";
    Put32(out, headers + imageBytes);
    Put32(out, 0);
    Put32(out, headers);
    // BITMAPINFOHEADER: bottom-up rows, 24 bits, no compression, 72 dpi
    Put32(out, 40);
    Put32(out, kDemoPictureWidth);
    Put32(out, kDemoPictureHeight);
    Put16(out, 1);
    Put16(out, 24);
    Put32(out, 0);
    Put32(out, imageBytes);
    Put32(out, 2835);
    Put32(out, 2835);
    Put32(out, 0);
    Put32(out, 0);
    for (int y = kDemoPictureHeight - 1; y >= 0; --y) {
        for (int x = 0; x < kDemoPictureWidth; ++x) {
            const Rgb c = Pixel(x, y);
            out.push_back(static_cast<char>(c.B));
            out.push_back(static_cast<char>(c.G));
            out.push_back(static_cast<char>(c.R));
        }
        out.append(rowBytes - kDemoPictureWidth * 3, '\0');
    }
    return out;
}

} // namespace kalvor::demohost
