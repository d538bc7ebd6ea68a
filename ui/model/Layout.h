// The window's and the pages' layout numbers, in device-independent pixels: one place to change
// the rhythm of every page. Components keep the geometry that is theirs alone (a ring's line
// width, a row's icon column) next to their code.
#pragma once

namespace orvane::Layout {

// The main window: its smallest size and the size it opens at (bounded by the screen).
inline constexpr int windowMinimumWidth = 900;
inline constexpr int windowMinimumHeight = 620;
inline constexpr int windowDefaultWidth = 1060;
inline constexpr int windowDefaultHeight = 740;
inline constexpr int sidebarMinimumWidth = 210;
// Inset of the sidebar's header, picker and footer from its edges.
inline constexpr int sidebarInset = 14;

// Around a page's content, and between its cards and tiles, stacked or side by side (one
// gutter for the whole page).
inline constexpr int pagePadding = 22;
inline constexpr int cardSpacing = 18;
// A page's content is at most this wide, centred in a wider window.
inline constexpr int contentMaximumWidth = 1100;
// Between the small tiles of a row (stat chips, per-core cells' rows, stacked sections).
inline constexpr int tileSpacing = 12;

// Inside a card, and its corner radius.
inline constexpr int cardPadding = 18;
inline constexpr double cardCorner = 16;
// The Overview banner: its height, corner radius and inner padding.
inline constexpr int heroHeight = 200;
inline constexpr double heroCorner = 22;
inline constexpr int heroPadding = 28;

// A card's heading and the space under it.
inline constexpr int headingGap = 6;

}  // namespace orvane::Layout
