#pragma once

// The application's title: the window caption and the title of the error box.

#include <string_view>

namespace widgets {

inline constexpr std::u8string_view kApplicationTitle = u8"Zelqua≪五択変換ｴﾃﾞｨﾀｰVer2.1";

} // namespace widgets
