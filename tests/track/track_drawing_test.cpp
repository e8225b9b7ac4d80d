// The track scene as the drawing seam sees it, recorded without a display: line colours, the
// ghost's frames and the stroke preview.
#include "track/track_view.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "graphics/draw.h"
#include "graphics/font.h"
#include "graphics/sprites.h"
#include "rider/body_drawing.h"
#include "rider/test_riders.h"
#include "shell/display.h"
#include "track/ghost.h"
#include "track/line_drawing.h"
#include "track/track_scene.h"

namespace {

// One DrawVertices with the colour last set before it (0..255 per channel).
struct Stroke { float r, g, b, a; Primitive primitive; std::vector<float> xy; };

long Count(const std::vector<DrawCommand>& commands, DrawKind kind) {
  return std::count_if(commands.begin(), commands.end(), [&](const DrawCommand& c) { return c.kind == kind; });
}

class TrackDrawing : public ::testing::Test {
 protected:
  void SetUp() override {
    SetScreenWidth(800);
    SetScreenHeight(600);
    savedGlyphs_ = FontGlyphSink();
    FontGlyphSink() = {[](uint8_t, float, float, float, float, float, float) {},
                       [](uint8_t, uint8_t, uint8_t, uint8_t) {}};
    scene_ = std::make_unique<TrackScene>();
    // Zoom 1 and no camera offset: world units are screen pixels.
    scene_->view.camera = {0.0f, 0.0f};
    scene_->view.wireframe = true;
    BuildTestRider(scene_->world.rider, 300.0f, 300.0f);
    AddSolidLine(scene_->world, {100.0f, 200.0f}, {500.0f, 200.0f}, 1.0f, LineKind::Normal);
    AddSolidLine(scene_->world, {500.0f, 200.0f}, {700.0f, 250.0f}, 1.0f, LineKind::BoostForward);
  }
  void TearDown() override {
    RecordDrawing(nullptr);
    FontGlyphSink() = savedGlyphs_;
  }

  std::vector<DrawCommand> RecordFrame() {
    std::vector<DrawCommand> commands;
    RecordDrawing(&commands);
    RenderTrackScene(*scene_, cache_);
    RecordDrawing(nullptr);
    return commands;
  }

  static std::vector<Stroke> Strokes(const std::vector<DrawCommand>& commands) {
    std::vector<Stroke> strokes;
    float colour[4] = {};
    for (const DrawCommand& c : commands) {
      if (c.kind == DrawKind::SetColour) std::copy(c.numbers.begin(), c.numbers.end(), colour);
      if (c.kind != DrawKind::DrawVertices) continue;
      strokes.push_back({colour[0], colour[1], colour[2], colour[3], Primitive(int(c.numbers[0])),
                         std::vector<float>(c.numbers.begin() + 2, c.numbers.end())});
    }
    return strokes;
  }

  static bool Has(const std::vector<Stroke>& strokes, const std::vector<float>& xy, float r, float g, float b) {
    return std::any_of(strokes.begin(), strokes.end(), [&](const Stroke& s) {
      return s.primitive == Primitive::Lines && s.xy == xy && s.r == r && s.g == g && s.b == b && s.a == 255;
    });
  }

  std::unique_ptr<TrackScene> scene_;
  LineDrawCache cache_;
  GlyphSink savedGlyphs_;
};

TEST_F(TrackDrawing, TheGhostSkipsTheFrameAfterARiderStep) {
  ASSERT_TRUE(ToggleGhost(scene_->world));
  const DrawCommand ghostColour{DrawKind::SetColour, {255, 255, 255, float(GhostAlpha(scene_->world))}};
  const std::vector<DrawCommand> withGhost = RecordFrame();
  StepRider(scene_->world);
  const std::vector<DrawCommand> afterStep = RecordFrame();
  // Each skeleton point is a centred quad: ghost and rider, then the rider alone.
  const long riderPoints = Count(afterStep, DrawKind::DrawCentredQuad);
  EXPECT_GT(riderPoints, 0);
  EXPECT_EQ(Count(withGhost, DrawKind::DrawCentredQuad), 2 * riderPoints);
  EXPECT_NE(std::find(withGhost.begin(), withGhost.end(), ghostColour), withGhost.end());
  EXPECT_EQ(std::find(afterStep.begin(), afterStep.end(), ghostColour), afterStep.end());
}

TEST_F(TrackDrawing, AStrokeInProgressShowsOneRedLineFromItsStartToThePointer) {
  TrackEditor& editor = scene_->editor;
  editor.strokeStart = {150.0f, 420.0f};
  editor.cursorPoint = {260.0f, 380.0f};
  const std::vector<float> preview = {150, 420, 260, 380};
  EXPECT_FALSE(Has(Strokes(RecordFrame()), preview, 255, 0, 0));
  editor.freehandStroke = true;
  const std::vector<Stroke> strokes = Strokes(RecordFrame());
  EXPECT_EQ(std::count_if(strokes.begin(), strokes.end(), [&](const Stroke& s) { return s.xy == preview; }), 1);
  EXPECT_TRUE(Has(strokes, preview, 255, 0, 0));
}

TEST(BodyDrawing, ASpriteSlotOutsideTheTableDrawsNoQuad) {
  // Without the guard the quad of slot 25 or -1 shows whatever texture slot 15 left bound.
  // Each sprite on a link of its own; a file may store a sprite in slot -1 as well.
  Body body;
  BodyPoint* hub = AddPoint(body, 0, 0, 1, 5, 1, 1, 0.0f);
  float x = 40;
  for (int slot : {15, kSpriteSlotCount, 25, -1, int(kSlotRiderExplanation)}) {
    Link* link = AddLink(body, hub, AddPoint(body, x, 0, 1, 5, 1, 1, 0.0f), 1, 0, 1000, LinkKind::Spring);
    AttachSprite(body, link, slot, 0, 0, 0, 10, 4, 0);
    link->hasSprite = 1;
    x += 40;
  }
  std::vector<DrawCommand> commands;
  RecordDrawing(&commands);
  DrawSprites(body);
  RecordDrawing(nullptr);
  EXPECT_EQ(Count(commands, DrawKind::DrawCentredQuad), 2) << "slots 15 and 19 only";
}

}  // namespace
