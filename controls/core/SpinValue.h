#pragma once
// The display-free rules of the spin edit and its diagonal button: reading and writing the value
// of the three kinds, clamping to the bounds, the characters a kind accepts, rounding, and which
// half of the diagonal button a point falls in.

#include "platform/core/AnsiString.h"

enum TValueType { vtInt, vtFloat, vtHex };
enum TSpinButtonState { sbNotDown, sbTopDown, sbBottomDown };

// The value clamped to MinValue..MaxValue; no bounds when the two are equal.
double SpinCheckValue(double Value, double MinValue, double MaxValue);
// To the nearest integer, ties to the even one, saturating at the 64-bit range.
int64_t RoundToEven(double Value);
// The text a value is written as: vtFloat fixed-point with Decimal decimals (precision 15);
// vtInt the rounded value in decimal; vtHex the rounded value in upper-case hexadecimal without
// leading zeros, a negative value as the 16 digits of its 64-bit two's complement.
AnsiString SpinValueText(double Value, TValueType Type, int Decimal);
// The value of a text: vtHex up to 16 hexadecimal digits (64-bit two's complement), vtInt a
// 64-bit decimal integer, vtFloat a number with the locale's decimal separator. A text that does
// not convert reads as MinValue (truncated toward zero for the integer kinds).
double SpinTextValue(const AnsiString& Text, TValueType Type, double MinValue);
// Whether a typed character may go into Text: signs and digits, for vtFloat one decimal separator
// and one exponent letter, for vtHex the letters A-F. Control characters pass, except that with
// the editor disabled only control characters other than Backspace pass.
bool SpinIsValidChar(char Key, TValueType Type, const AnsiString& Text, bool EditorEnabled);
// The half of a Width x Height diagonal button under a point: the bottom half lies below the
// line from the bottom-left to the top-right corner; the line itself belongs to the top half.
TSpinButtonState SpinButtonHalf(int X, int Y, int Width, int Height);
