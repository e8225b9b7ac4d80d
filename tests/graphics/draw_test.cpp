#include "graphics/draw.h"

#include <gtest/gtest.h>

#include <vector>

// The seam records instead of drawing while a recorder is set: no GL context exists here, so a
// call that reached GL instead would not show in the record.
namespace {

TEST(DrawRecording, EveryCallIsOneRecordWithItsArgumentsInOrder) {
  std::vector<DrawCommand> commands;
  RecordDrawing(&commands);
  PushTransform();
  Translate(12.5f, -3);
  Rotate(90);
  SetColour(255, 128, 0, 64);
  EnableTexture(false);
  EnableBlend(true);
  DrawCentredQuad(-20, 16);
  PopTransform();
  const float xy[] = {0, 0, 10, 0, 10, 5, 0, 5};
  DrawVertices(Primitive::LineLoop, xy, 4);
  // Calls that draw nothing leave no record: an empty batch, and texture 0 (the previous one
  // stays bound).
  DrawVertices(Primitive::Lines, xy, 0);
  BindTexture(0);
  BindTexture(7);
  SetLineWidth(2);
  // Stopping the recorder stops the record; a second recorder gets only what follows.
  RecordDrawing(nullptr);
  std::vector<DrawCommand> second;
  RecordDrawing(&second);
  ClearToColour(1, 2, 3);
  RecordDrawing(nullptr);
  const std::vector<DrawCommand> expected = {
      {DrawKind::PushTransform, {}}, {DrawKind::Translate, {12.5f, -3}}, {DrawKind::Rotate, {90}},
      {DrawKind::SetColour, {255, 128, 0, 64}}, {DrawKind::EnableTexture, {0}}, {DrawKind::EnableBlend, {1}},
      {DrawKind::DrawCentredQuad, {-20, 16}}, {DrawKind::PopTransform, {}},
      {DrawKind::DrawVertices, {float(int(Primitive::LineLoop)), 4, 0, 0, 10, 0, 10, 5, 0, 5}},
      {DrawKind::BindTexture, {7}}, {DrawKind::SetLineWidth, {2}}};
  EXPECT_EQ(commands, expected);
  EXPECT_EQ(second, (std::vector<DrawCommand>{{DrawKind::ClearToColour, {1, 2, 3}}}));
}

}  // namespace
