// The batched line drawing against a plain immediate-mode drawing of the same lines, one GL
// call sequence per line in list order: the pixels must be the same.
#include "render_window.h"
#include "track/line_drawing.h"
#include "track/world.h"

namespace {
constexpr int kWidth = 640;
constexpr int kHeight = 480;
using LineBatchRender = RenderWindow<kWidth, kHeight>;

bool Skipped(float x1, float y1, float x2, float y2, const CullRect& c) {
  return (x1 < c.minX && x2 < c.minX) || (y1 < c.minY && y2 < c.minY) || (x1 > c.maxX && x2 > c.maxX) ||
         (y1 > c.maxY && y2 > c.maxY);
}

// One line as the straightforward drawing makes it: a GL line, or a strip and a disc.
template <typename Line>
void ImmediateLine(const Line& line) {
  const bool thin = line.thickness <= 2.0f;
  const float ox = thin ? 0 : line.nx * line.thickness, oy = thin ? 0 : line.ny * line.thickness;
  glBegin(thin ? GL_LINES : GL_TRIANGLE_STRIP);
  for (int end = 0; end < 2; ++end)
    for (int side = 1; side >= (thin ? 1 : -1); side -= 2)
      glVertex2f((end ? line.x2 : line.x1) + side * ox, (end ? line.y2 : line.y1) + side * oy);
  glEnd();
  if (!thin) DrawDisc(line.x2, line.y2, line.thickness);
}

void ImmediateWorld(const World& world, float zoom, const CullRect& cull) {
  glEnable(GL_BLEND);
  glDisable(GL_TEXTURE_2D);
  glLineWidth(zoom * 2.1f);
  for (const SceneryLine& line : world.sceneryLines)
    if (!Skipped(line.x1, line.y1, line.x2, line.y2, cull)) glColor3ub(line.r, line.g, line.b), ImmediateLine(line);
  for (const SolidLine& line : world.solidLines) {
    const bool boost = line.kind == LineKind::BoostForward || line.kind == LineKind::BoostBackward;
    if (Skipped(line.x1, line.y1, line.x2, line.y2, cull)) continue;
    glColor3ub(boost ? 255 : 0, 0, 0);
    ImmediateLine(line);
    // A boost line's chevrons follow it in its own call sequence.
    std::vector<float> chevrons;
    AppendChevronVertices(line, cull, &chevrons);
    glBegin(line.thickness <= 2.0f ? GL_LINES : GL_TRIANGLES);
    for (size_t i = 0; i < chevrons.size(); i += 2) glVertex2f(chevrons[i], chevrons[i + 1]);
    glEnd();
  }
}

std::vector<uint8_t> Frame(World& world, float zoom, const CullRect& cull, bool batched) {
  ClearToColour(255, 255, 255);
  glLoadIdentity();
  glScalef(zoom, zoom, 1.0f);
  LineDrawCache cache;
  if (batched)
    DrawSceneryLinesInView(world, zoom, cull, cache), DrawSolidLinesInView(world, zoom, cull, cache);
  else
    ImmediateWorld(world, zoom, cull);
  return LineBatchRender::ReadScreen();
}

// Pixels whose colour (alpha aside) differs between two frames.
int DifferentPixels(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b) {
  int n = 0;
  for (size_t i = 0; i < a.size(); i += 4)
    if (a[i] != b[i] || a[i + 1] != b[i + 1] || a[i + 2] != b[i + 2]) ++n;
  return n;
}
}  // namespace

TEST_F(LineBatchRender, SamePixelsAsOneCallSequencePerLine) {
  // Overlapping lines of every kind, thin and thick, in colours whose order shows.
  World world;
  uint32_t state = 99;
  auto next = [&](float lo, float hi) {
    state = state * 1664525u + 1013904223u;
    return lo + (hi - lo) * float(state >> 8) / float(1u << 24);
  };
  for (int i = 0; i < 400; ++i) {
    Vec2 a{next(-50, 700), next(-50, 520)};
    Vec2 b = a + Vec2(next(-120, 120), next(-120, 120));
    float thickness = i % 4 == 0 ? next(2.5f, 14.0f) : next(0.5f, 2.0f);
    if (i % 2)
      AddSolidLine(world, a, b, thickness, LineKind(i % 3));
    else
      AddSceneryLine(world, a, b, uint8_t(next(0, 255)), uint8_t(next(0, 255)), uint8_t(next(0, 255)), thickness);
  }
  for (float zoom : {1.0f, 0.5f, 1.7f}) {
    CullRect cull{-40.0f / zoom, -40.0f / zoom, (kWidth + 40.0f) / zoom, (kHeight + 40.0f) / zoom};
    std::vector<uint8_t> immediate = Frame(world, zoom, cull, false);
    std::vector<uint8_t> batched = Frame(world, zoom, cull, true);
    EXPECT_GT(DifferentPixels(immediate, std::vector<uint8_t>(immediate.size(), 255)), kWidth * kHeight / 10)
        << "zoom " << zoom << ": inked pixels";
    EXPECT_EQ(DifferentPixels(immediate, batched), 0) << "zoom " << zoom;
  }
}
