// A scripted track-screen session under the test's X display: draw a line with the pencil, play
// 200 steps, render one frame with the real device and sprites, and read the pixels back.
#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "gui/track_session.h"
#include "platform/keys.h"
#include "render_window.h"
#include "shell/paths.h"
#include "track/cursor.h"

namespace {
constexpr int kWidth = 1024;
constexpr int kHeight = 768;

struct Pixel {
  int r, g, b;
  bool White() const { return r > 245 && g > 245 && b > 245; }
  bool Dark() const { return r < 90 && g < 90 && b < 90; }
  friend bool operator==(Pixel a, Pixel b) = default;
};

Pixel At(const std::vector<uint8_t>& screen, int x, int y) {
  const uint8_t* p = &screen[(size_t(y) * kWidth + x) * 4];
  return {p[0], p[1], p[2]};
}

// Pixels of the square of side 2 x half + 1 around at that pass wanted, clipped to the screen.
template <typename Wanted>
int Around(const std::vector<uint8_t>& screen, Vec2 at, int half, Wanted wanted) {
  int n = 0;
  for (int y = std::max(int(at.y) - half, 0); y <= std::min(int(at.y) + half, kHeight - 1); ++y)
    for (int x = std::max(int(at.x) - half, 0); x <= std::min(int(at.x) + half, kWidth - 1); ++x)
      n += wanted(At(screen, x, y));
  return n;
}

// Pixels of that square that are not the white background.
int Marked(const std::vector<uint8_t>& screen, Vec2 at, int half) {
  return Around(screen, at, half, [](Pixel p) { return !p.White(); });
}

// Pixels of the box x0..x1, y0..y1 (ends excluded) that differ between a and b; with darkOnly,
// only those dark in b but not in a.
int Differences(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b, int x0, int y0, int x1, int y1,
                bool darkOnly = false) {
  int n = 0;
  for (int y = y0; y < y1; ++y)
    for (int x = x0; x < x1; ++x)
      n += darkOnly ? At(b, x, y).Dark() && !At(a, x, y).Dark() : !(At(a, x, y) == At(b, x, y));
  return n;
}

class TrackRender : public RenderWindow<kWidth, kHeight> {
 protected:
  void SetUp() override {
    ASSERT_NO_FATAL_FAILURE(RenderWindow::SetUp());
    // The game's own sprites, found as the game finds them: beside the program.
    SetExecFolder((std::string(VELMORA_SOURCE_DIR) + "/velmora").c_str());
    ASSERT_TRUE(PlatformChangeDirectory(VELMORA_SOURCE_DIR));
    AssignSpriteTable();
    ResetSession();
    SetKey(kKeyLeftButton, false);
  }
  // Two frames: the first bind of every sprite only loads it.
  std::vector<uint8_t> Render() {
    RenderCurrentScreen(TheGame());
    RenderCurrentScreen(TheGame());
    return ReadScreen();
  }
};
}  // namespace

TEST_F(TrackRender, LineRiderToolbarAndCursorWhereTheyBelong) {
  TrackScene& scene = TheGame().track;
  World& world = scene.world;
  const View& view = scene.view;
  LoadTestRider(700.0f, 500.0f);
  for (BodyPoint& point : scene.rider.snapshot.points) point.friction = 0.5f;
  RestartRiderFromScratch(scene);
  // A straight line 100 units under the rider, drawn with the right button.
  const float lineY = ScreenPointOf(view, {700.0f, 500.0f}).y - 100.0f;
  Stroke(kKeyRightButton, {300, lineY}, {1000, lineY});
  ASSERT_EQ(SolidLineCount(world), 1);
  const SolidLine line = world.solidLines.front();

  // Play 200 steps with space held: the rider falls onto the line and stays on it.
  Tap(kKeySpace, 200);
  Hover({900, 700});

  std::vector<uint8_t> screen = Render();
  // The line lies where the view maps it: dark on its centre, white 8 px above and below.
  Vec2 onLine = ScreenPointOf(view, {line.x1 + 450.0f, line.y1});
  int lx = int(onLine.x), ly = int(std::lround(onLine.y));
  ASSERT_TRUE(lx > 100 && lx < kWidth) << lx;
  EXPECT_TRUE(At(screen, lx, ly).Dark() || At(screen, lx, ly - 1).Dark());
  EXPECT_TRUE(At(screen, lx, ly + 8).White() && At(screen, lx, ly - 8).White());

  // The rider is drawn around each of its points, resting above the line.
  for (const BodyPoint& point : world.rider.points) {
    EXPECT_TRUE(point.y > line.y1 && point.y < line.y1 + 30.0f) << point.y - line.y1;
    Vec2 p = ScreenPointOf(view, {point.x, point.y});
    EXPECT_GT(Marked(screen, p, 5), 10) << "rider point at " << p.x << ", " << p.y;
  }
  // Nothing is drawn far above the rider.
  Vec2 above = ScreenPointOf(view, {world.rider.points.front().x, line.y1 + 150.0f});
  EXPECT_EQ(Marked(screen, above, 5), 0);

  // The on-screen display near the top right corner.
  EXPECT_GT(Marked(screen, {kWidth - 150, kHeight - 50}, 40), 50);

  // The toolbar covers a thick line drawn under it.
  Vec2 anchor = TheGame().toolbar.anchor;
  int ty = int(anchor.y - 300);
  Vec2 from = WorldPointOf(view, {0, float(ty)}), to = WorldPointOf(view, {200, float(ty)});
  AddSolidLine(world, from, to, 30.0f, LineKind::Normal);
  std::vector<uint8_t> covered = Render();
  // The panel's picture is nearly opaque: the line may shade it a little but never shows through.
  EXPECT_EQ(Differences(screen, covered, int(anchor.x) + 2, ty - 20, int(anchor.x) + 60, ty + 20, true), 0);
  EXPECT_TRUE(At(covered, int(anchor.x) + 90, ty).Dark());

  // The cursor is drawn last: over the line and over the toolbar.
  Hover({float(lx), float(ly)});
  std::vector<uint8_t> withCursor = Render();
  EXPECT_GT(Differences(covered, withCursor, lx - 12, ly - 8, lx + 20, ly + 24), 20);
  Vec2 onBar = CentreOf(TheGame().toolbar.buttons[kPencilButton]);
  Hover(onBar);
  EXPECT_EQ(scene.cursor.shape, CursorShape::Arrow);
  std::vector<uint8_t> overBar = Render();
  EXPECT_GT(Differences(withCursor, overBar, int(onBar.x) - 12, int(onBar.y) - 30, int(onBar.x) + 24, int(onBar.y) + 4),
            20);
}

// The rider editor's canvas in its view: points and links, the marks of each tool, sprites, the
// values printed on the toolbar, and the cursor over everything.
TEST_F(TrackRender, RiderEditorDrawsTheBodyMarksValuesToolbarAndCursor) {
  Game& game = TheGame();
  const RiderEditor& editor = game.riderEditor;
  LoadTestRider(700.0f, 500.0f);
  ToRiderEditor(game);
  SetZoom(game.riderEditor, 3.0f);
  auto red = [](Pixel p) { return p.r > 200 && p.g < 60 && p.b < 60; };
  auto dark = [](Pixel p) { return p.Dark(); };

  // A third point, then the first one picked.
  Stroke(kKeyRightButton, EditorScreenPoint({730, 500}), EditorScreenPoint({730, 540}));
  ASSERT_EQ(editor.body.points.size(), 3u);
  Hover(EditorScreenPoint({700, 500}));
  Tap(kKeyLeftButton);
  Hover({900, 100});
  const std::vector<uint8_t> picked = Render();
  for (const BodyPoint& point : editor.body.points)
    EXPECT_GT(Marked(picked, EditorScreenPoint({point.x, point.y}), 10), 100);
  EXPECT_GT(Marked(picked, EditorScreenPoint({715, 500}), 2), 3) << "the link";
  EXPECT_EQ(Marked(picked, {900, 500}, 20), 0) << "nothing where the body is not";
  const Vec2 origin = game.riderToolbar.origin;
  EXPECT_GT(Around(picked, origin + Vec2(185, -154), 12, dark), 30) << "the stiffness value";
  EXPECT_GT(Around(picked, origin + Vec2(185, -186), 12, dark), 30) << "the break value";
  EXPECT_FALSE(At(picked, int(origin.x) + 100, int(origin.y) - 340).White()) << "the toolbar panel";

  // The pick mark goes with the pick.
  Hover(EditorScreenPoint({800, 300}));
  Tap(kKeyLeftButton);
  Hover({900, 100});
  const std::vector<uint8_t> unpicked = Render();
  const Vec2 first = EditorScreenPoint({700, 500});
  EXPECT_GT(Differences(picked, unpicked, int(first.x) - 30, int(first.y) - 30, int(first.x) + 30, int(first.y) + 30),
            50);

  // Link tool: the picked link is outlined in red.
  Click(game.riderToolbar.buttons[kLinkToolButton]);
  Hover(EditorScreenPoint({715, 503}));
  Tap(kKeyLeftButton);
  Hover({900, 100});
  EXPECT_GT(Around(Render(), EditorScreenPoint({715, 500}), 20, red), 20);

  // A sprite on that link shows, and D hides it.
  Click(game.riderToolbar.buttons[kToggleSpritesButton]);
  Hover({900, 100});
  const std::vector<uint8_t> sprite = Render();
  Tap('D');
  const std::vector<uint8_t> hidden = Render();
  EXPECT_GT(Differences(sprite, hidden, int(first.x) - 40, int(first.y) - 60, int(first.x) + 130, int(first.y) + 60),
            200);

  // Joint tool: a joint on the three points, picked, is marked red on its middle point.
  Click(game.riderToolbar.buttons[kJointToolButton]);
  for (Vec2 p : {Vec2(700, 500), Vec2(730, 500), Vec2(730, 540)}) {
    Hover(EditorScreenPoint(p));
    Tap(kKeyRightButton);
  }
  ASSERT_EQ(editor.body.joints.size(), 1u);
  const std::vector<uint8_t> unselectedJoint = Render();
  Hover(EditorScreenPoint({730, 520}));
  Tap(kKeyLeftButton);
  Hover({900, 100});
  const Vec2 middle = EditorScreenPoint({730, 500});
  EXPECT_GT(Around(Render(), middle, 25, red), Around(unselectedJoint, middle, 25, red) + 20);

  // The cursor is drawn last, over the toolbar too.
  const Vec2 onBar = origin + Vec2(230, -300);
  Hover(onBar);
  const std::vector<uint8_t> cursorOnBar = Render();
  EXPECT_GT(Differences(unselectedJoint, cursorOnBar, int(onBar.x) - 12, int(onBar.y) - 30, int(onBar.x) + 24,
                        int(onBar.y) + 4),
            20);
}

// Chevrons on a boost line point the way it pushes: their arms trail behind their tips, so above
// the line there is red just behind each chevron's middle and none just ahead of it.
TEST_F(TrackRender, BoostChevronsPointTheWayTheLinePushes) {
  World& world = TheGame().track.world;
  // Thin and thick, each way; forward pushes from the first end to the second.
  const struct {
    Vec2 from, to;
    float thickness;
    LineKind kind;
    int ahead;                                    // +1: the push is towards +x
  } lines[] = {{{300, 150}, {700, 150}, 1.0f, LineKind::BoostForward, 1},
               {{300, 300}, {700, 300}, 1.0f, LineKind::BoostBackward, -1},
               {{700, 450}, {300, 450}, 1.0f, LineKind::BoostForward, -1},
               {{300, 600}, {700, 600}, 4.0f, LineKind::BoostBackward, -1}};
  for (const auto& l : lines) AddSolidLine(world, l.from, l.to, l.thickness, l.kind);
  Hover({1000, 30});
  const std::vector<uint8_t> screen = Render();
  auto red = [](Pixel p) { return p.r > 200 && p.g < 120 && p.b < 120; };
  for (const auto& l : lines) {
    // Ten chevrons, one in the middle of every 40 units; look in 3 x 3 boxes above the line's edge.
    const float y = float(int(l.from.y + std::fmax(l.thickness, 1.05f)) + 3);
    int behind = 0, before = 0;
    for (int k = 0; k < 10; ++k) {
      const float middle = float(300 + 20 + 40 * k);
      behind += Around(screen, {middle - float(l.ahead * 3), y}, 1, red);
      before += Around(screen, {middle + float(l.ahead * 3), y}, 1, red);
    }
    EXPECT_GE(behind, 20) << "line at y " << l.from.y;
    EXPECT_LT(before, behind / 4) << "line at y " << l.from.y << ": " << before << " ahead";
  }
}
