#pragma once

#include <QLatin1String>

// The address patterns, written in the regular-expression syntax of page
// scripts (ECMAScript). They are always matched case-insensitively and
// globally; PicPattern turns them into something safe to run on whole pages.

// A gallery entry: the data key `"original":"` followed by the picture address.
inline constexpr QLatin1String MainPattern{
    R"re(("original":"http:|"original":"https:)//.*?(\.jpg|\.bmp|\.gif|\.png))re"};

// Any picture address.
inline constexpr QLatin1String PlainPattern{
    R"re((http:|https:)//.*?(\.jpg|\.bmp|\.gif|\.png))re"};

// A picture address as the value of a src attribute.
inline constexpr QLatin1String SrcPattern{
    R"re((src="http:|src="https:)//.*?(\.jpg|\.bmp|\.gif|\.png))re"};
