#pragma once
// How gridrun reads a word as a value of some type and prints a value: integers (colour names
// too, where a colour is an integer), 0/1 or true/false, numbers (%.15g), enumeration names,
// sets "[a,b]" (read from "a,b"), rectangles "L,T,R,B", points "X Y", string lists "a,b", and
// texts (escaped; in double quotes where words must stay apart).

#include <cstdio>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "platform/core/AnsiString.h"
#include "platform/core/Colors.h"
#include "platform/core/EnumSet.h"
#include "platform/core/FloatFormat.h"
#include "platform/core/Geometry.h"
#include "platform/core/GridData.h"
#include "platform/core/StringList.h"
#include "platform/gui/Graphics.h"
#include "tools/gridrun/GridRunInput.h"
#include "tools/gridrun/GridRunText.h"

// The names of an enumeration's values, in order; specialised for each one the tool meets.
template <class E>
struct TEnumNames;

template <class E>
bool ParseEnum(std::string_view word, E& out)
{
    const auto& names = TEnumNames<E>::Get();
    for (size_t i = 0; i < names.size(); ++i)
        if (SameText(word, names[i])) {
            out = static_cast<E>(i);
            return true;
        }
    return false;
}

template <class E>
std::string EnumName(E value)
{
    const auto& names = TEnumNames<E>::Get();
    const auto i = static_cast<size_t>(value);
    return i < names.size() ? names[i] : std::to_string(i);
}

// A set from "a,b" or "[a,b]" (replacing it), "+a" (adding) or "-a" (removing); "" and "[]"
// are the empty set.
template <class E>
bool ParseSet(std::string_view word, TEnumSet<E>& set)
{
    const char mode = word.empty() ? '=' : word[0];
    if (mode == '+' || mode == '-')
        word.remove_prefix(1);
    if (word.size() >= 2 && word.front() == '[' && word.back() == ']')
        word = word.substr(1, word.size() - 2);
    TEnumSet<E> named;
    while (!word.empty()) {
        const size_t comma = word.find(',');
        E e{};
        if (!ParseEnum(word.substr(0, comma), e))
            return false;
        named << e;
        word = comma == std::string_view::npos ? std::string_view() : word.substr(comma + 1);
    }
    set = mode == '+' ? set | named : mode == '-' ? set - named : named;
    return true;
}

template <class E>
std::string SetText(TEnumSet<E> set)
{
    std::string out;
    for (size_t i = 0; i < TEnumNames<E>::Get().size(); ++i)
        if (set.Contains(static_cast<E>(i)))
            out += (out.empty() ? "" : ",") + EnumName(static_cast<E>(i));
    return "[" + out + "]";
}

bool ParseInt(std::string_view word, int& out);
bool ParseBool(std::string_view word, bool& out);
bool ParseDouble(std::string_view word, double& out);
// Four integers "L,T,R,B".
bool ParseFour(std::string_view word, int (&out)[4]);
// The items of "a,b"; "" is no item.
void ParseList(std::string_view word, TStrings& out);
std::string ListText(const TStrings& list);
std::string DoubleText(double value);
std::string ColorText(TColor value);

template <class T>
inline constexpr bool kIsEnumSet = false;
template <class E>
inline constexpr bool kIsEnumSet<TEnumSet<E>> = true;

// Reads a word as a T. Texts are the word itself.
template <class T>
bool ParseValue(std::string_view word, T& out)
{
    if constexpr (std::is_same_v<T, bool>) {
        return ParseBool(word, out);
    } else if constexpr (std::is_enum_v<T>) {
        return ParseEnum(word, out);
    } else if constexpr (kIsEnumSet<T>) {
        return ParseSet(word, out);
    } else if constexpr (std::is_same_v<T, char>) {
        out = word.empty() ? '\0' : word[0];
        return word.size() <= 1;
    } else if constexpr (std::is_integral_v<T>) {
        int v = 0;
        if (!ParseInt(word, v))
            return false;
        out = static_cast<T>(v);
        return true;
    } else if constexpr (std::is_floating_point_v<T>) {
        return ParseDouble(word, out);
    } else if constexpr (std::is_same_v<T, AnsiString>) {
        out = AnsiString(word);
        return true;
    } else if constexpr (std::is_same_v<T, TRect> || std::is_same_v<T, TGridRect>) {
        int v[4];
        if (!ParseFour(word, v))
            return false;
        out = T{v[0], v[1], v[2], v[3]};
        return true;
    } else if constexpr (std::is_same_v<T, TShiftState>) {
        return ParseShift(word, out);
    } else if constexpr (std::is_same_v<T, TPoint>) {
        int v[4] = {0, 0, 0, 0};
        const std::string padded = std::string(word) + ",0,0";
        if (!ParseFour(padded, v))
            return false;
        out = TPoint{v[0], v[1]};
        return true;
    } else {
        static_assert(sizeof(T) == 0, "no reader for this type");
    }
}

// Prints a value; Word quotes texts that would not stay one word.
template <class T>
std::string ValueText(const T& value, bool Word)
{
    if constexpr (std::is_same_v<T, bool>) {
        return value ? "true" : "false";
    } else if constexpr (std::is_enum_v<T>) {
        return EnumName(value);
    } else if constexpr (kIsEnumSet<T>) {
        return SetText(value);
    } else if constexpr (std::is_same_v<T, char>) {
        return Word ? Quote(std::string(value ? 1 : 0, value)) : Escape(std::string(value ? 1 : 0, value));
    } else if constexpr (std::is_integral_v<T>) {
        return std::to_string(value);
    } else if constexpr (std::is_floating_point_v<T>) {
        return DoubleText(value);
    } else if constexpr (std::is_same_v<T, AnsiString> || std::is_same_v<T, std::string_view>) {
        return Word ? Quote(value) : Escape(value);
    } else if constexpr (std::is_same_v<T, TRect>) {
        return std::to_string(value.Left) + "," + std::to_string(value.Top) + "," + std::to_string(value.Right) + "," +
            std::to_string(value.Bottom);
    } else if constexpr (std::is_same_v<T, TGridRect>) {
        return ValueText(TRect{value.Left, value.Top, value.Right, value.Bottom}, Word);
    } else if constexpr (std::is_same_v<T, TShiftState>) {
        return ShiftText(value);
    } else if constexpr (std::is_same_v<T, TPoint>) {
        return std::to_string(value.x) + " " + std::to_string(value.y);
    } else if constexpr (std::is_same_v<T, TGridCoord>) {
        return std::to_string(value.X) + " " + std::to_string(value.Y);
    } else if constexpr (std::is_same_v<T, TBrush*>) {
        return ColorText(value->Color());
    } else if constexpr (std::is_same_v<T, TPen*>) {
        return ColorText(value->Color());
    } else if constexpr (std::is_same_v<T, TFont*>) {
        TEnumSet<TFontStyle> styles;
        for (TFontStyle s : {fsBold, fsItalic, fsUnderline, fsStrikeOut})
            if (value->Style().Contains(s))
                styles << s;
        return ColorText(value->Color()) + " " + SetText(styles);
    } else if constexpr (std::is_pointer_v<T>) {
        if constexpr (std::is_base_of_v<TStrings, std::remove_pointer_t<T>>)
            return value ? ListText(*value) : "nil";
        else if constexpr (std::is_base_of_v<TObject, std::remove_pointer_t<T>>)
            return value ? std::string(value->ClassName()) : "nil";
        else
            return value ? "object" : "nil";
    } else {
        static_assert(sizeof(T) == 0, "no printer for this type");
    }
}
