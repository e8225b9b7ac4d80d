#include "graphics/draw.h"

#include <gtest/gtest.h>

#include <vector>

// The seam records instead of drawing while a recorder is set: no GL context exists here, so a
// call that reached GL instead would not show in the record.
namespace {

class DrawRecording : public ::testing::Test {
 protected:
  void SetUp() override { RecordDrawing(&commands); }
  void TearDown() override { RecordDrawing(nullptr); }
  std::vector<DrawCommand> commands;
};

TEST_F(DrawRecording, EveryCallIsOneRecordWithItsArgumentsInOrder) {
  PushTransform();
  Translate(12.5f, -3);
  Rotate(90);
  SetColour(255, 128, 0, 64);
  EnableTexture(false);
  EnableBlend(true);
  DrawCentredQuad(-20, 16);
  PopTransform();
  const std::vector<DrawCommand> expected = {
      {DrawKind::PushTransform, {}},
      {DrawKind::Translate, {12.5f, -3}},
      {DrawKind::Rotate, {90}},
      {DrawKind::SetColour, {255, 128, 0, 64}},
      {DrawKind::EnableTexture, {0}},
      {DrawKind::EnableBlend, {1}},
      {DrawKind::DrawCentredQuad, {-20, 16}},
      {DrawKind::PopTransform, {}},
  };
  EXPECT_EQ(commands, expected);
}

TEST_F(DrawRecording, AVertexBatchKeepsItsPrimitiveCountAndEveryCoordinate) {
  const float xy[] = {0, 0, 10, 0, 10, 5, 0, 5};
  DrawVertices(Primitive::LineLoop, xy, 4);
  ASSERT_EQ(commands.size(), 1u);
  EXPECT_EQ(commands[0].kind, DrawKind::DrawVertices);
  const std::vector<float> numbers = {float(int(Primitive::LineLoop)), 4, 0, 0, 10, 0, 10, 5, 0, 5};
  EXPECT_EQ(commands[0].numbers, numbers);
}

TEST_F(DrawRecording, CallsThatDrawNothingLeaveNoRecord) {
  const float xy[] = {1, 2};
  DrawVertices(Primitive::Lines, xy, 0);
  BindTexture(0);  // the previous texture stays bound
  EXPECT_TRUE(commands.empty());
  BindTexture(7);
  ASSERT_EQ(commands.size(), 1u);
  EXPECT_EQ(commands[0], (DrawCommand{DrawKind::BindTexture, {7}}));
}

TEST_F(DrawRecording, StoppingTheRecorderStopsTheRecord) {
  SetLineWidth(2);
  RecordDrawing(nullptr);
  std::vector<DrawCommand> second;
  RecordDrawing(&second);
  ClearToColour(1, 2, 3);
  ASSERT_EQ(commands.size(), 1u);
  EXPECT_EQ(commands[0], (DrawCommand{DrawKind::SetLineWidth, {2}}));
  ASSERT_EQ(second.size(), 1u);
  EXPECT_EQ(second[0], (DrawCommand{DrawKind::ClearToColour, {1, 2, 3}}));
}

}  // namespace
