#include "gui/widgets.h"

#include <cmath>
#include <cstdio>
#include <cstring>

#include "graphics/draw.h"
#include "graphics/font.h"
#include "graphics/png.h"
#include "graphics/sprites.h"
#include "platform/keys.h"
#include "shell/display.h"
#include "shell/input.h"

// ---- State: reset at start; set while any slider is dragged ----
namespace {
struct WidgetState {
  bool sliderDrag = false;
};
WidgetState state;

void Call(const WidgetAction& action) {
  if (action) action();
}

// The press, release, enter and leave rules shared by every type while the pointer is inside.
void PressAndRelease(Widget& widget, int button) {
  if (button != 0) {
    if (!widget.pressed && widget.lastButton == 0) {
      widget.pressed = true;
      Call(widget.onPress);
    }
  } else if (widget.pressed && widget.lastButton != 0) {
    widget.pressed = false;
    Call(widget.onClick);
  }
  widget.lastButton = static_cast<uint32_t>(button);
}

void Enter(Widget& widget) {
  if (!widget.hovered) Call(widget.onEnter);
  widget.hovered = true;
}

void Leave(Widget& widget) {
  if (widget.hovered) Call(widget.onLeave);
  widget.hovered = false;
  widget.lastButton = 0;
}

// The distance that brings v back into [lo, hi]; 0 inside.
float Correction(float v, float lo, float hi) {
  if (v < lo) return lo - v;
  if (v > hi) return hi - v;
  return 0.0f;
}

int ClampIndex(float v, int count) {
  if (!(v > 0.0f)) return 0;
  if (v > static_cast<float>(count - 1)) return count - 1;
  return static_cast<int>(v);
}

// A w x h picture of the bound frame at (x, y), drawn from its top-left corner downwards so the
// image's first row is at the top.
void DrawRect(float x, float y, float w, float h) {
  PushTransform();
  Translate(x, y + h);
  DrawQuad(w, -h);
  PopTransform();
}

}  // namespace

int PointerButton() {
  int button = 0;
  if (KeyDown(kKeyRightButton)) button = 2;
  if (KeyDown(kKeyLeftButton)) button = 1;
  return button;
}

Vec2 PointerPosition() {
  float x = 0, y = 0;
  GetMouse(&x, &y);
  return {x, float(ScreenHeight()) - y};
}

void Place(Widget& widget, Vec2 pos, Vec2 size, int slot, int frame) {
  widget.x = pos.x;
  widget.y = pos.y;
  widget.w = size.x;
  widget.h = size.y;
  widget.slot = slot;
  widget.frame = frame;
  widget.visible = true;
  widget.enabled = true;
  widget.pressed = false;
  widget.hovered = false;
  widget.selected = false;
  widget.lastButton = 0;
  widget.onPress = nullptr;
  widget.onClick = nullptr;
  widget.onEnter = nullptr;
  widget.onLeave = nullptr;
}

void SetEnabled(Widget& widget, bool enabled) { widget.enabled = enabled; }
bool IsEnabled(const Widget& widget) { return widget.enabled; }
bool IsHovered(const Widget& widget) { return widget.hovered; }
Vec2 GetPosition(const Widget& widget) { return {widget.x, widget.y}; }

bool IsInside(const Widget& widget, float px, float py) {
  return widget.x < px && px < widget.x + widget.w && widget.y < py && py < widget.y + widget.h;
}

void UpdateWidget(Widget& widget, float px, float py, int button) {
  if (!widget.enabled) return;
  if (IsInside(widget, px, py)) {
    Enter(widget);
    PressAndRelease(widget, button);
  } else {
    Leave(widget);
  }
}

void UpdateButton(Button& button, float px, float py, int pointerButton) {
  if (!button.enabled) return;
  if (IsInside(button, px, py)) {
    Enter(button);
    if (button.offset > 0.0f) button.offset -= 0.5f;
    PressAndRelease(button, pointerButton);
  } else {
    button.pressed = false;
    Leave(button);
    if (button.offset < button.depth) button.offset += 0.5f;
  }
}

void UpdateSlider(Slider& slider, float px, float py, int button) {
  slider.changed = false;
  if (!slider.pressed && state.sliderDrag) return;
  if (!slider.enabled) return;
  if (button == 0) slider.pressed = false;
  if (slider.pressed) {
    float lo = slider.x + 8.0f;
    float hi = slider.x + slider.w - 4.0f;
    float mid = slider.y + slider.h / 2.0f;
    float c = Correction(px, lo, hi);
    // Window y grows downwards, py upwards: moving by +(py - mid) puts the cursor on the middle line.
    WarpMouse(c, py - mid);
    px += c;
    float value = px - lo;
    if (std::trunc(slider.value) != value) slider.changed = true;
    slider.value = value;
    state.sliderDrag = true;
  } else {
    state.sliderDrag = false;
  }
  bool inside = slider.x < px && px < slider.x + slider.w && slider.y < py && py < slider.y + slider.h - 10.0f;
  if (inside) {
    Enter(slider);
    PressAndRelease(slider, button);
  } else {
    Leave(slider);
  }
}

void UpdateColourPicker(ColourPicker& picker, float px, float py, int button) {
  if (!picker.enabled || picker.pixels.empty()) return;
  if (picker.pressed) {
    float loX = picker.x + 4.0f, hiX = picker.x + picker.w - 4.0f;
    float loY = picker.y + 4.0f, hiY = picker.y + picker.h - 4.0f;
    float cx = Correction(px, loX, hiX);
    float cy = Correction(py, loY, hiY);
    WarpMouse(cx, -cy);
    px += cx;
    py += cy;
    // Row 0 is the top of the image, drawn at the top of the widget.
    float col = std::trunc(px - loX) + 4.0f;
    float row = static_cast<float>(picker.imageHeight) - std::trunc(py - loY) - 5.0f;
    size_t at = (static_cast<size_t>(ClampIndex(row, picker.imageHeight)) * static_cast<size_t>(picker.imageWidth) +
                 static_cast<size_t>(ClampIndex(col, picker.imageWidth))) * 3;
    picker.r = picker.pixels[at];
    picker.g = picker.pixels[at + 1];
    picker.b = picker.pixels[at + 2];
  }
  if (IsInside(picker, px, py)) {
    Call(picker.onEnter);
    picker.hovered = true;
    PressAndRelease(picker, button);
  } else {
    Leave(picker);
    if (button != 0) SetEnabled(picker, false);
  }
}

bool SliderDragActive() { return state.sliderDrag; }
void EndSliderDrag() { state.sliderDrag = false; }

void SetText(TextButton& button, const char* text) {
  snprintf(button.text, sizeof button.text, "%s", text ? text : "");
  button.length = static_cast<int32_t>(strlen(button.text));
}

void SetTextFitted(TextButton& button, const char* text) {
  SetText(button, text);
  button.w = (button.h + 2.0f) * static_cast<float>(button.length);
}

const char* GetText(const TextButton& button) { return button.text; }
void SetValue(Slider& slider, float value) { slider.value = value; }
float GetValue(const Slider& slider) { return slider.value; }
bool WasChanged(const Slider& slider) { return slider.changed; }

bool LoadImage(ColourPicker& picker, const char* path) {
  FreeImage(picker);
  uint32_t width = 0, height = 0;
  if (!LoadPngPixels(path, &picker.pixels, &width, &height) || width == 0 || height == 0 ||
      picker.pixels.size() != size_t(width) * size_t(height) * 3) {
    FreeImage(picker);
    return false;
  }
  picker.imageWidth = static_cast<int32_t>(width);
  picker.imageHeight = static_cast<int32_t>(height);
  return true;
}

void FreeImage(ColourPicker& picker) {
  picker.pixels.clear();
  picker.pixels.shrink_to_fit();
  picker.imageWidth = 0;
  picker.imageHeight = 0;
}

uint8_t GetR(const ColourPicker& picker) { return picker.r; }
uint8_t GetG(const ColourPicker& picker) { return picker.g; }
uint8_t GetB(const ColourPicker& picker) { return picker.b; }

void SetColour(ColourSwatch& swatch, uint8_t r, uint8_t g, uint8_t b) {
  swatch.r = r;
  swatch.g = g;
  swatch.b = b;
}

void RenderWidget(const Widget& widget) {
  if (!widget.visible || !widget.enabled || widget.slot < 0) return;
  SetColour(255, 255, 255, 255);
  BindSpriteFrame(widget.slot, widget.frame);
  DrawRect(widget.x, widget.y, widget.w, widget.h);
}

void RenderButton(const Button& button) {
  if (!button.visible || button.slot < 0) return;
  if (button.selected && button.enabled) {
    SetColour(255, 255, 255, 255);
    BindSpriteFrame(button.slot, 0);
    DrawRect(button.x, button.y, button.w, button.h);
  }
  SetColour(255, 255, 255, button.enabled ? 255 : 100);
  BindSpriteFrame(button.slot, button.frame);
  float o = button.offset;
  float down = button.pressed ? 4.0f : 0.0f;
  DrawRect(button.x + o, button.y + o - down, button.w - 2.0f * o, button.h - 2.0f * o);
}

namespace {

void RenderText(const TextButton& button, bool centred, uint8_t r, uint8_t g, uint8_t b) {
  if (!button.visible) return;
  const float s = button.h - button.depth;
  const float o = button.offset;
  const float k = 0.8f * (button.depth - o);
  const bool pressed = button.pressed && button.hovered && button.slot >= 0;
  BindSpriteFrame(button.slot, button.frame);
  PushTransform();
  Translate(button.x + (centred ? (button.w - float(button.length) * s) / 2 : 0.0f) + o,
            button.y - o - (pressed ? 4.0f : 0.0f));
  PrintShadowText(s + 4 - o, s + 4 - o, 0.0f, 2 + k, -2 - k, uint8_t(std::trunc(128 - 10 * (4 - o))), r, g, b, "%s",
                  button.text);
  PopTransform();
}

}  // namespace

void RenderTextButton(const TextButton& button) { RenderText(button, true, 255, 100, 0); }

void RenderListEntry(const TextButton& button) {
  if (button.selected)
    RenderText(button, false, 255, 100, 0);
  else
    RenderText(button, false, 50, 50, 50);
}

void RenderSlider(const Slider& slider) {
  if (!slider.visible || slider.slot < 0) return;
  SetColour(255, 255, 255, 255);
  BindSpriteFrame(slider.slot, slider.frame);
  PushTransform();
  Translate(slider.x + 8.0f + slider.value, slider.y + slider.h / 2.0f - 5.0f);
  DrawCentredQuad(16.0f, -16.0f);
  PopTransform();
}

void RenderColourSwatch(const ColourSwatch& swatch) {
  if (!swatch.visible || swatch.slot < 0) return;
  if (swatch.enabled) {
    SetColour(swatch.r, swatch.g, swatch.b, 255);
  } else {
    SetColour(100, 100, 100, 100);
  }
  BindSpriteFrame(swatch.slot, swatch.frame + 1);
  DrawRect(swatch.x, swatch.y, swatch.w, swatch.h);
  SetColour(255, 255, 255, swatch.enabled ? 255 : 100);
  BindSpriteFrame(swatch.slot, swatch.frame);
  DrawRect(swatch.x, swatch.y, swatch.w, swatch.h);
}
