#include "gui/messages.h"

#include <algorithm>
#include <cmath>
#include <cstdarg>
#include <cstdio>

#include "graphics/draw.h"
#include "graphics/font.h"
#include "graphics/sprites.h"

namespace {

constexpr int kNarrowestColumns = 8;              // a free band narrower than this takes no message

// The rows of text at most `columns` wide, breaking after the last blank or path separator of
// a row when there is one in its second half, else anywhere.
void Wrap(const std::string& text, int columns, std::vector<std::string>* rows) {
  size_t at = 0;
  while (text.size() - at > size_t(columns)) {
    size_t cut = at + size_t(columns);
    const size_t breakAt = text.find_last_of(" /\\", cut - 1);
    if (breakAt != std::string::npos && breakAt >= at + size_t(columns) / 2) cut = breakAt + 1;
    rows->push_back(text.substr(at, cut - at));
    at = cut;
  }
  rows->push_back(text.substr(at));
}

// The free bands of the screen beside the toolbar, the preferred first: right of it, above it,
// below it, left of it; the whole screen when there is no toolbar.
std::vector<ScreenRect> FreeBands(Vec2 screen, const ScreenRect* avoid) {
  const float left = kMessageMargin, right = screen.x - kMessageMargin;
  const float bottom = kMessageBottom, top = screen.y - kMessageMargin;
  if (!avoid) return {{left, bottom, right - left, top - bottom}};
  const float barLeft = avoid->x - kMessageMargin, barRight = avoid->x + avoid->w + kMessageMargin;
  const float barBottom = avoid->y - kMessageMargin, barTop = avoid->y + avoid->h + kMessageMargin;
  return {{std::max(left, barRight), bottom, right - std::max(left, barRight), top - bottom},
          {left, std::max(bottom, barTop), right - left, top - std::max(bottom, barTop)},
          {left, bottom, right - left, std::min(top, barBottom) - bottom},
          {left, bottom, std::min(right, barLeft) - left, top - bottom}};
}

}  // namespace

void PostMessage(Messages& messages, const char* format, ...) {
  char text[kTextCapacity];
  va_list args;
  va_start(args, format);
  vsnprintf(text, sizeof text, format, args);
  va_end(args);
  if (messages.shown.size() >= kMaxMessages) messages.shown.pop_front();
  messages.shown.push_back({text, kMessageSteps});
}

NoticeSink MessageSink(Messages& messages) {
  return [&messages](const char* line) { PostMessage(messages, "%s", line); };
}

void StepMessages(Messages& messages) {
  for (Message& message : messages.shown) --message.stepsLeft;
  while (!messages.shown.empty() && messages.shown.front().stepsLeft <= 0) messages.shown.pop_front();
}

MessageLayout LayOutMessages(const Messages& messages, Vec2 screen, const ScreenRect* avoid) {
  MessageLayout layout;
  if (messages.shown.empty()) return layout;
  // The first band that holds every row; failing that, the first wide enough for any, with the
  // newest rows that fit.
  const ScreenRect* chosen = nullptr;
  const std::vector<ScreenRect> bands = FreeBands(screen, avoid);
  for (const ScreenRect& band : bands) {
    const int columns = std::min(kMessageColumns, int(std::floor(band.w / kMessageGlyph)));
    const size_t fit = size_t(std::max(0.0f, band.h / kMessageLineHeight));
    if (columns < kNarrowestColumns || fit == 0) continue;
    std::vector<std::string> rows;
    for (const Message& message : messages.shown) Wrap(message.text, columns, &rows);
    const bool whole = rows.size() <= fit;
    if (!whole) rows.erase(rows.begin(), rows.end() - std::ptrdiff_t(fit));
    if (whole || !chosen) {
      chosen = &band;
      layout.rows = std::move(rows);
    }
    if (whole) break;
  }
  if (!chosen) return layout;
  size_t widest = 0;
  for (const std::string& row : layout.rows) widest = std::max(widest, row.size());
  // A block right-aligned in the band's lower right corner, the newest row at the bottom.
  const float x = chosen->x + chosen->w - float(widest) * kMessageGlyph;
  const size_t count = layout.rows.size();
  for (size_t i = 0; i < count; ++i) layout.at.push_back({x, chosen->y + float(count - 1 - i) * kMessageLineHeight});
  return layout;
}

void RenderMessages(const MessageLayout& layout) {
  if (layout.rows.empty()) return;
  EnableTexture(true);
  EnableBlend(true);
  UseAlphaBlend();
  BindSpriteFrame(kSlotFont, 0);
  for (size_t i = 0; i < layout.rows.size(); ++i) {
    LoadIdentity();
    Translate(layout.at[i].x, layout.at[i].y);
    PrintShadowText(kMessageGlyph, kMessageGlyph, 0.0f, 1.0f, -1.0f, 160, 255, 100, 0, "%s", layout.rows[i].c_str());
  }
  LoadIdentity();
}
