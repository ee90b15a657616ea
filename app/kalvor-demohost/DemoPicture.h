// The demonstration form's picture: a small landscape drawn by this program
// (sky, sun, two hills and a lake), written as an uncompressed 24-bit BMP
// file that the forms mode fetches over HTTP.
#pragma once

#include <string>

namespace kalvor::demohost {

inline constexpr char kDemoPictureName[] = "kalvor-demo.bmp";
inline constexpr int kDemoPictureWidth = 160;
inline constexpr int kDemoPictureHeight = 120;

// The whole BMP file, the same bytes on every call.
std::string DemoPictureBmp();

} // namespace kalvor::demohost
