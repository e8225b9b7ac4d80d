#include "gui/widgets.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "shell/fake_input.h"
#include "picture_file.h"
#include "support/temp_folder.h"

namespace {
int presses, clicks, enters, leaves;

// Counts the widget's callbacks in the four counters, from zero.
template <typename W>
void Watch(W& widget) {
  presses = clicks = enters = leaves = 0;
  widget.onPress = [] { return ++presses; };
  widget.onClick = [] { return ++clicks; };
  widget.onEnter = [] { return ++enters; };
  widget.onLeave = [] { return ++leaves; };
}

class WidgetTest : public ::testing::Test {
 protected:
  void SetUp() override {
    InstallFakeInput();
    EndSliderDrag();
  }
};
}  // namespace

TEST_F(WidgetTest, EdgesAreOutsideAndClickNeedsPressInside) {
  Widget widget;
  Place(widget, {10, 20}, {30, 40}, 8, 3);
  Watch(widget);
  for (Vec2 edge : {Vec2(10, 30), Vec2(40, 30), Vec2(20, 20), Vec2(20, 60)})
    EXPECT_FALSE(IsInside(widget, edge.x, edge.y)) << edge.x << "," << edge.y;
  EXPECT_TRUE(IsInside(widget, 10.5f, 59.5f));

  // Pressed outside, moved in with the button held: the press is taken on entering, once.
  const struct { float x; int down, presses, enters, clicks, leaves; } steps[] = {{5, 1, 0, 0, 0, 0}, {20, 1, 1, 1, 0, 0}, {20, 1, 1, 1, 0, 0}, {20, 0, 1, 1, 1, 0}, {50, 0, 1, 1, 1, 1}};
  for (const auto& s : steps) {
    UpdateWidget(widget, s.x, 30, s.down);
    EXPECT_EQ(std::tuple(presses, enters, clicks, leaves), std::tuple(s.presses, s.enters, s.clicks, s.leaves))
        << &s - steps;
  }
  EXPECT_FALSE(IsHovered(widget));

  // Place forgets callbacks and state.
  Place(widget, {10, 20}, {30, 40}, 8, 3);
  EXPECT_EQ(widget.onClick, nullptr);
}

TEST_F(WidgetTest, ButtonForgetsPressWhenLeftButPlainWidgetKeepsIt) {
  Button button;
  Place(button, {0, 0}, {32, 32}, 8, 7);
  Watch(button);
  // Pressed inside, moved out with the button held, released outside, back in.
  constexpr std::pair<float, int> kOutAndBack[] = {{50, 1}, {50, 0}, {10, 0}};
  UpdateButton(button, 10, 10, 1);
  EXPECT_EQ(presses, 1);
  for (auto [x, down] : kOutAndBack) UpdateButton(button, x, 10, down);
  EXPECT_EQ(std::pair(clicks, button.pressed), std::pair(0, false));

  Widget widget;
  Place(widget, {0, 0}, {32, 32}, 8, 7);
  Watch(widget);
  UpdateWidget(widget, 10, 10, 1);
  for (auto [x, down] : kOutAndBack) UpdateWidget(widget, x, 10, down);
  EXPECT_EQ(std::pair(clicks, widget.pressed), std::pair(0, true));
  // Its next press inside fires no onPress, but the release after it clicks once.
  UpdateWidget(widget, 10, 10, 1);
  EXPECT_EQ(presses, 1);
  UpdateWidget(widget, 10, 10, 0);
  EXPECT_EQ(clicks, 1);
  UpdateWidget(widget, 10, 10, 0);
  EXPECT_EQ(clicks, 1);
}

// The cut at 127 characters: MenusTest.TheChooserListsWhatATrackCanName.
TEST_F(WidgetTest, TextIsFitted) {
  TextButton text;
  Place(text, {0, 0}, {0, 20}, 7, 0);
  SetTextFitted(text, "ABC");
  EXPECT_EQ(std::pair(text.w, std::string(GetText(text))), std::pair(66.0f, std::string("ABC")));
}

TEST_F(WidgetTest, SliderMapsThePointerAndHoldsTheCursorOnItsLine) {
  Slider slider;
  Place(slider, {100, 200}, {63, 32}, 8, 16);
  SetValue(slider, 20.0f);
  // Press inside (below the excluded top 10 px), then drag far left.
  PointAt(120, 210);
  RefreshInput();
  UpdateSlider(slider, 120, 210, 1);
  UpdateSlider(slider, 20, 212, 1);
  // lo = x + 8: the knob stops at 0 and the cursor is moved back onto [lo, hi] and the middle line.
  EXPECT_EQ(std::tuple(GetValue(slider), WasChanged(slider), SliderDragActive()), std::tuple(0.0f, true, true));
  float mx = 0, my = 0;
  GetMouse(&mx, &my);
  // Window y: 768 - 210 stored, moved down by (212 - 216) = -4.
  EXPECT_EQ(std::pair(mx, my), std::pair(120.0f + 88.0f, 768.0f - 210.0f - 4.0f));
  UpdateSlider(slider, 108, 216, 1);
  EXPECT_FALSE(WasChanged(slider));
  // Far right: hi = x + w - 4, so the value is w - 12.
  UpdateSlider(slider, 900, 216, 1);
  EXPECT_FLOAT_EQ(GetValue(slider), 51.0f);
  UpdateSlider(slider, 900, 216, 0);
  EXPECT_EQ(std::pair(SliderDragActive(), slider.pressed), std::pair(false, false));

  // The top 10 pixels are not part of the slider.
  Slider top;
  Place(top, {0, 0}, {63, 32}, 8, 16);
  UpdateSlider(top, 30, 25, 1);
  EXPECT_EQ(top.pressed, 0);
  UpdateSlider(top, 30, 21, 0);
  UpdateSlider(top, 30, 21, 1);
  EXPECT_EQ(top.pressed, 1);
}

TEST_F(WidgetTest, SecondSliderIgnoresThePointerWhileTheFirstIsDragged) {
  Slider first, second;
  Place(first, {0, 0}, {63, 32}, 8, 16);
  Place(second, {0, 100}, {63, 32}, 8, 16);
  Watch(second);
  for (float y : {10, 110}) {
    UpdateSlider(first, 30, y, 1);
    UpdateSlider(second, 30, y, 1);
  }
  EXPECT_EQ(std::tuple(second.pressed, enters, presses), std::tuple(false, 0, 0));
  UpdateSlider(first, 30, 110, 0);
  UpdateSlider(second, 30, 110, 0);
  EXPECT_EQ(enters, 1);
}

TEST_F(WidgetTest, ColourPickerSamplesTheImageUnderThePointer) {
  // 32 x 16 picture: red = column * 8, green = row * 16, blue 7.
  TempFolder folder;
  std::string path = WritePicture(folder, "picker_test.png", 32, 16, [](int row, int col) {
    return std::array<uint8_t, 3>{uint8_t(col * 8), uint8_t(row * 16), 7};
  });
  ColourPicker picker;
  Place(picker, {100, 100}, {32, 16}, 11, 0);
  ASSERT_TRUE(LoadImage(picker, path.c_str()));   // its size shows in the rows and columns sampled below
  Watch(picker);

  // Inside: enter is called on every update, not only on entry.
  for (int i = 0; i < 2; ++i) UpdateColourPicker(picker, 110, 105, 0);
  EXPECT_EQ(enters, 2);
  UpdateColourPicker(picker, 110, 105, 1);
  EXPECT_EQ(picker.pressed, 1);
  // px - (x + 4) = 6 -> column 10; py - (y + 4) = 1 -> row 16 - 1 - 5 = 10 (the top is row 0).
  UpdateColourPicker(picker, 110, 105, 1);
  EXPECT_EQ((std::tuple<int, int, int>(GetR(picker), GetG(picker), GetB(picker))), std::tuple(80, 160, 7));
  // Beyond the right and top edges the pointer is pulled back to the inner bounds x + w - 4 and
  // y + h - 4: column 24 + 4, row 16 - 8 - 5.
  UpdateColourPicker(picker, 400, 400, 1);
  EXPECT_EQ((std::pair<int, int>(GetR(picker), GetG(picker))), std::pair(28 * 8, 3 * 16));
  UpdateColourPicker(picker, 120, 108, 0);
  EXPECT_EQ(clicks, 1);

  // A click anywhere outside hides it.
  UpdateColourPicker(picker, 10, 10, 1);
  EXPECT_FALSE(IsEnabled(picker));
  UpdateColourPicker(picker, 110, 105, 1);
  EXPECT_EQ(picker.pressed, 0);

  // Without an image it ignores everything.
  ColourPicker empty;
  Place(empty, {0, 0}, {32, 32}, 11, 0);
  EXPECT_FALSE(LoadImage(empty, folder.file("no_such_picture.png").c_str()));
  UpdateColourPicker(empty, 400, 400, 1);
  EXPECT_TRUE(IsEnabled(empty));
}

TEST_F(WidgetTest, PointerButtonPrefersTheLeftButton) {
  EXPECT_EQ(PointerButton(), 0);
  // The right button alone, then both: the left one wins.
  for (int button : {2, 1}) {
    SetKey(button, true);
    RefreshInput();
    EXPECT_EQ(PointerButton(), button);
  }
}
