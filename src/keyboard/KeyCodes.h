// Key codes and modifier states as the window system reports them to the
// keyboard dispatcher. Modifier states are summed: Shift 1, Ctrl 2, Alt 4.
#pragma once

namespace kalvor {

namespace Mod {
inline constexpr int None = 0;
inline constexpr int Shift = 1;
inline constexpr int Ctrl = 2;
inline constexpr int Alt = 4;
} // namespace Mod

namespace Key {
inline constexpr int Backspace = 8;
inline constexpr int Tab = 9;
inline constexpr int Return = 13;
inline constexpr int ShiftKey = 16;
inline constexpr int CtrlKey = 17;
inline constexpr int AltKey = 18;
inline constexpr int Pause = 19;
inline constexpr int Escape = 27;
inline constexpr int Space = 32;
inline constexpr int PageUp = 33;
inline constexpr int PageDown = 34;
inline constexpr int End = 35;
inline constexpr int Home = 36;
inline constexpr int Left = 37;
inline constexpr int Up = 38;
inline constexpr int Right = 39;
inline constexpr int Down = 40;
inline constexpr int Insert = 45;
inline constexpr int Delete = 46;
inline constexpr int A = 65; // letters A..Z are 65..90, digits 0..9 are 48..57
inline constexpr int B = 66;
inline constexpr int Z = 90;
inline constexpr int F1 = 112;
inline constexpr int F4 = 115;
inline constexpr int F8 = 119;
inline constexpr int F9 = 120;
inline constexpr int F10 = 121;
inline constexpr int F11 = 122;
inline constexpr int F12 = 123;
inline constexpr int ScrollLock = 145;

// F1..F12 as the soft-key index 0..11, or -1 for any other key.
constexpr int FunctionKeyIndex(int keyCode) { return keyCode >= F1 && keyCode <= F12 ? keyCode - F1 : -1; }
} // namespace Key

// The arrow keys as the forms mode takes them while it holds the keyboard.
enum class FieldDirection { Up, Down, Right, Left };

} // namespace kalvor
