// The main window's design, described once: its controls with their captions, places, tab order
// and fonts, and the window's own size, caption, icon and first focus.
#pragma once

#include "app/Composition.h"

// In the designed stacking order, bottom-most first; places within the parent.
// clang-format off
inline constexpr ControlDesign kForm1Controls[] = {
//   kind                  name           caption                      parent    place                    tab  font              accessible name
    {ControlKind::Button,  "PushButton1", "Help",                      "Form1",  {120, 120, 3840, 405},   5,   FontRole::Button, ""},
    {ControlKind::Frame,   "Frame2",      "Word File #2",              "Form1",  {120, 1410, 7800, 800},  -1,  FontRole::Window, ""},
    {ControlKind::PathBox, "Text2",       "",                          "Frame2", {240, 300, 6600, 345},   1,   FontRole::Window, "Word File #2"},
    {ControlKind::Button,  "PushButton6", "...",                       "Frame2", {6960, 300, 600, 345},   4,   FontRole::Button, "Browse for Word File #2"},
    {ControlKind::Frame,   "Frame1",      "Word File #1",              "Form1",  {120, 570, 7800, 800},   -1,  FontRole::Window, ""},
    {ControlKind::PathBox, "Text1",       "",                          "Frame1", {240, 300, 6600, 345},   0,   FontRole::Window, "Word File #1"},
    {ControlKind::Button,  "PushButton4", "...",                       "Frame1", {6960, 300, 600, 345},   3,   FontRole::Button, "Browse for Word File #1"},
    {ControlKind::Button,  "PushButton5", "Start Comparing",           "Form1",  {120, 2340, 7800, 405},  2,   FontRole::Button, ""},
    {ControlKind::Button,  "PushButton2", "Load Sample/Example Files", "Form1",  {4080, 120, 3840, 405},  6,   FontRole::Button, ""},
};
// clang-format on

// A fixed window of 8040 x 2880 twips, designed as "Form1" with a blank icon of 32 x 32; the box
// for the document to compare has the focus first.
inline constexpr WindowDesign kForm1Design{"Form1", "Form1", {0, 0, 8040, 2880},
                                           32,      "Text1", kForm1Controls};
