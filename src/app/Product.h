// The names the program goes by: the window caption, and the address of its stored settings.
#pragma once

inline constexpr const char* kProductName =
    "Quorvane Paired Office Paper Examiners Highlighter Deskware";
inline constexpr const char* kMakerName = "Meldrisk";
