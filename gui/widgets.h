// The clickable and draggable elements of every screen: plain records with a rectangle, a sprite
// slot and frame, a few state bytes and four optional callbacks. Each screen owns fixed arrays of
// them, updates them once per 10 ms step with the pointer and button, and renders them per frame.
#pragma once
#include <cstdint>
#include <functional>
#include <vector>

#include "shell/vec2.h"

// What a widget does when pressed, clicked, entered or left; an empty action does nothing. The
// owning screen binds its actions to the game record it works on.
using WidgetAction = std::function<void()>;

struct Widget {
  float x = 0, y = 0;                             // lower-left corner in the screen's layout frame (px, y up)
  float w = 0, h = 0;
  int32_t slot = -1;                              // sprite slot; -1 draws nothing
  int32_t frame = 1;
  bool pressed = false;                           // a press began inside and was not released
  bool enabled = false;
  bool visible = false;
  bool hovered = false;
  uint32_t lastButton = 0;                        // button at the last update while inside
  bool selected = false;                          // highlight chosen by the owning screen
  WidgetAction onPress;
  WidgetAction onClick;
  WidgetAction onEnter;
  WidgetAction onLeave;
};

struct Button : Widget {
  float offset = 4.0f;                            // current inset (px)
  float depth = 4.0f;                             // rest inset (px)
};

struct TextButton : Button {
  TextButton() { offset = 0.0f; }                 // glides to its rest inset in its first 8 updates
  char text[128] = {};                            // at most 127 characters
  int32_t length = 0;
};

struct Slider : Widget {
  float value = 0;                                // knob position in px from the left end of its travel
  bool changed = false;                           // the last update moved the knob to another whole pixel
};

struct ColourPicker : Widget {
  uint8_t r = 0, g = 0, b = 0;
  std::vector<uint8_t> pixels;                    // RGB triples, top row first; empty = ignores input
  int32_t imageWidth = 0, imageHeight = 0;
};

struct ColourSwatch : Widget {
  uint8_t r = 0, g = 0, b = 0;
};

// Pointer button as every screen computes it: 0, 2 while the right button is held, 1 while the
// left one is (left wins).
int PointerButton();
// The pointer as every screen reads it: screen px with y up (the input snapshot's y flipped).
Vec2 PointerPosition();

// ---- Common to every type ----
void Place(Widget& widget, Vec2 pos, Vec2 size, int slot, int frame);  // shows, enables, forgets state and callbacks
void SetEnabled(Widget& widget, bool enabled);
bool IsEnabled(const Widget& widget);
bool IsHovered(const Widget& widget);
Vec2 GetPosition(const Widget& widget);
bool IsInside(const Widget& widget, float px, float py);  // strict on every edge

// ---- Updates: once per step with the pointer in the screen's layout frame ----
void UpdateWidget(Widget& widget, float px, float py, int button);
void UpdateButton(Button& button, float px, float py, int pointerButton);  // also text buttons
void UpdateSlider(Slider& slider, float px, float py, int button);         // may warp the cursor
void UpdateColourPicker(ColourPicker& picker, float px, float py, int button);  // may warp the cursor
bool SliderDragActive();                          // some slider holds the drag
void EndSliderDrag();                             // forgets a drag (screen left mid-drag, tests)

// ---- Per type ----
void SetText(TextButton& button, const char* text);        // cut to 127 characters
void SetTextFitted(TextButton& button, const char* text);  // then w = (h + 2) * length
const char* GetText(const TextButton& button);
void SetValue(Slider& slider, float value);
float GetValue(const Slider& slider);
bool WasChanged(const Slider& slider);
bool LoadImage(ColourPicker& picker, const char* path);  // stored path; false leaves it without pixels
void FreeImage(ColourPicker& picker);
uint8_t GetR(const ColourPicker& picker);
uint8_t GetG(const ColourPicker& picker);
uint8_t GetB(const ColourPicker& picker);
void SetColour(ColourSwatch& swatch, uint8_t r, uint8_t g, uint8_t b);

// ---- Renders: once per frame, inside the screen's anchor translation ----
void RenderWidget(const Widget& widget);          // also the colour picker
void RenderButton(const Button& button);
void RenderSlider(const Slider& slider);
void RenderColourSwatch(const ColourSwatch& swatch);
// Orange shadowed text centred in the button; hovering grows it and lengthens its shadow.
void RenderTextButton(const TextButton& button);
// A list line: the text from the left edge, orange when selected, else dark grey.
void RenderListEntry(const TextButton& button);
