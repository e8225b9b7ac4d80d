// Short messages in a corner of the screen for outcomes the player would otherwise miss: a file
// saved, nothing saved, a load refused. They queue, the newest at the bottom, and each goes
// after a fixed count of 10 ms steps, the oldest first. They never take input and never cover
// the current screen's toolbar.
#pragma once
#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "gui/screen_rect.h"
#include "shell/notice.h"
#include "shell/vec2.h"

constexpr int32_t kMessageSteps = 400;            // a message shows for 4 s of 10 ms steps
constexpr size_t kMaxMessages = 6;                // a further one pushes the oldest out at once
constexpr float kMessageGlyph = 14.0f;            // glyph size and advance, px
constexpr float kMessageLineHeight = 18.0f;       // px between rows
constexpr float kMessageMargin = 10.0f;           // px from the screen's edges and the toolbar
constexpr float kMessageBottom = 40.0f;           // px kept free at the bottom (the timeline bar)
constexpr int kMessageColumns = 64;               // longest row; longer messages wrap

struct Message {
  std::string text;                               // as posted, one line
  int32_t stepsLeft = kMessageSteps;
};

struct Messages {
  std::deque<Message> shown;                      // oldest first
};

// Queues one line for the player (cut at 255 characters); the oldest goes when the queue is full.
void PostMessage(Messages& messages, const char* format, ...) __attribute__((format(printf, 2, 3)));
// A sink for the lower layers' outcomes: every line it hears is posted. Keeps a reference.
NoticeSink MessageSink(Messages& messages);
void StepMessages(Messages& messages);            // once per 10 ms step: the expired ones go

// Where the messages go on a screen of size `screen` beside the toolbar rectangle `avoid` (none
// when null): each message's rows, oldest first, and the lower-left corner of every row, in px.
struct MessageLayout {
  std::vector<std::string> rows;
  std::vector<Vec2> at;
};
MessageLayout LayOutMessages(const Messages& messages, Vec2 screen, const ScreenRect* avoid);
// Draws the layout with the font; identity transform, texturing and blending left on.
void RenderMessages(const MessageLayout& layout);
