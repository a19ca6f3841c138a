// The names the program goes by: the product name becomes the main window's caption at start-up,
// gives the application title, and with the maker's name addresses the stored settings.
#pragma once

inline constexpr const char* kProductName =
    "Quorvane Paired Office Paper Examiners Highlighter Deskware";
inline constexpr const char* kMakerName = "Meldrisk";
