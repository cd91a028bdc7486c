// Where every control of the main window sits, in pixels, for every window
// shell alike (Qt and Win32): one table, so the two windows cannot drift apart.
// Positions inside the outer frame are relative to it; the lists are children
// of the window itself and sit in its client area.
#pragma once

#include <array>
#include <string_view>

#include "nb/system_texts.h"

namespace nb::layout {

struct Rect {
  int x;
  int y;
  int width;
  int height;
};

// The window: 442 x 331 with a standard frame, a client area of 436 x 306.
inline constexpr int kOuterWidth = 442;
inline constexpr int kOuterHeight = 331;
inline constexpr int kClientWidth = 436;
inline constexpr int kClientHeight = 306;

// 分组框1: larger than the client area, so that its edges and empty caption
// lie outside; it only contains the controls above the lists.
inline constexpr Rect kOuterFrame{-2, -7, 506, 321};

// 组合框1, in the outer frame: 160 high is the room of the closed box and its
// opened list together; the closed box itself is 20 high.
inline constexpr Rect kCategoryBox{13, 15, 125, 160};
inline constexpr int kClosedCategoryBoxHeight = 20;
inline constexpr int kCategoryExtraItemHeight = 1;

// 标签4, in the outer frame.
inline constexpr Rect kHomeLabel{288, 18, 143, 13};

// The three lists (列表框1 to 3) and their captioned frames (分组框2 to 4),
// by ListId: models, versions, links.
struct ListLayout {
  std::string_view frame_caption;
  Rect frame;  // in the outer frame
  Rect list;   // in the window's client area
  int extra_item_height;
};
inline constexpr std::array<ListLayout, 3> kLists = {{
    {nb::texts::kModelFrame, {9, 39, 169, 251}, {14, 47, 154, 227}, 2},
    {nb::texts::kVersionFrame, {186, 39, 130, 251}, {190, 48, 117, 226}, 1},
    {nb::texts::kLinkFrame, {324, 39, 107, 249}, {330, 48, 90, 225}, 1},
}};

// 状态条1: panel 0 ends 247 pixels from the left, panel 1 takes the rest.
inline constexpr int kStatusPanel0Right = 247;

}  // namespace nb::layout
