#pragma once
// Windows virtual-key codes and shift states: the one form in which keys reach the core.

namespace qb::vk {

inline constexpr int Back = 8, Tab = 9, Return = 13, Escape = 27, Space = 32;
inline constexpr int Prior = 33, Next = 34, End = 35, Home = 36;
inline constexpr int Left = 37, Up = 38, Right = 39, Down = 40;
inline constexpr int Insert = 45, Delete = 46;
inline constexpr int Key0 = 48, Key5 = 53, Key8 = 56, Key9 = 57;
inline constexpr int B = 66;
inline constexpr int J = 74, R = 82, U = 85;
inline constexpr int A = 65, C = 67, D = 68, E = 69, F = 70, L = 76, M = 77, N = 78, O = 79, P = 80, Q = 81,
                     S = 83, T = 84, V = 86, W = 87, X = 88, Y = 89, Z = 90;
inline constexpr int G = 71, K = 75;
inline constexpr int H = 72, I = 73;
inline constexpr int Numpad0 = 96, Numpad9 = 105, Multiply = 106, Add = 107, Subtract = 109,
                     DecimalKey = 110, Divide = 111;
inline constexpr int F1 = 112, F2 = 113, F3 = 114, F4 = 115, F5 = 116, F6 = 117, F7 = 118, F8 = 119,
                     F9 = 120, F10 = 121, F11 = 122, F12 = 123;
inline constexpr int OemPlus = 187, OemComma = 188, OemMinus = 189, OemPeriod = 190, Oem2 = 191;

// Shift states, added together.
inline constexpr int ShiftState = 1, CtrlState = 2, AltState = 4;

}  // namespace qb::vk
