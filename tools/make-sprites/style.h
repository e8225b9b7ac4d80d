// The one palette and stroke set every picture of the game shares, so that the
// font, the buttons, the cursors, the panels and the rider look drawn by one hand.
#pragma once

#include <cstdint>

constexpr uint32_t kInk = 0x28303c;        // outlines and pictogram strokes
constexpr uint32_t kInkSoft = 0x5d6878;    // secondary strokes, borders
constexpr uint32_t kAccent = 0xff6400;     // the game's orange (the menu text colour)
constexpr uint32_t kAccentDark = 0xc24800;
constexpr uint32_t kTileTop = 0xfdfdfe;    // button face gradient
constexpr uint32_t kTileBottom = 0xd9dfe7;
constexpr uint32_t kPanel = 0xe8ecf1;      // toolbar panels
constexpr uint32_t kPanelEdge = 0x8a95a5;
constexpr uint32_t kPanelHeader = 0x38424f;
constexpr uint32_t kGreen = 0x2e9e4a;      // spring links, "on"
constexpr uint32_t kRed = 0xd9382a;        // rope links, danger
constexpr uint32_t kBlue = 0x2f6bd6;       // strut links
constexpr uint32_t kOrange = 0xf08a12;     // thruster links
constexpr uint32_t kYellow = 0xf5c21b;
constexpr uint32_t kWood = 0xb8733a;
constexpr uint32_t kWhite = 0xffffff;
