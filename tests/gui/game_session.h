// A game session in a private exec folder with riders/ and sprites/: the input seam, file
// dialogs that answer what the test chose, and a sprite device that "shows" PNG files without GL.
#pragma once
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "graphics/sprites.h"
#include "shell/file_load.h"
#include "support/game_files.h"
#include "track_session.h"

// The bytes of a rider that ships with the game.
inline std::string ShippedRider(const std::string& name) {
  std::ifstream in(std::string(VELMORA_SOURCE_DIR) + "/riders/" + name, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// What the next file dialog answers; "" cancels it.
inline std::string dialogAnswer;

// Stands in for the GL loaders: a file "shows" when it starts with the PNG signature.
inline unsigned FakeLoadPng(const char* path, bool) {
  std::vector<uint8_t> bytes;
  return ReadWholeFile(path, &bytes) && bytes.size() > 4 && bytes[1] == 'P' && bytes[2] == 'N' ? 1u : 0u;
}

class GameSessionTest : public GameFilesTest {
 protected:
  void SetUp() override {
    GameFilesTest::SetUp();
    std::filesystem::create_directories(folder_.path / "riders");
    std::filesystem::create_directories(folder_.path / "sprites");
    Platform().fileDialog = [](const FileDialogRequest&, std::string* result) {
      *result = dialogAnswer;
      return !dialogAnswer.empty();
    };
    dialogAnswer.clear();
    savedDevice_ = SpriteDeviceTable();
    SpriteDeviceTable().loadPng = FakeLoadPng;
    SpriteDeviceTable().deleteTexture = [](unsigned) {};
    LoadTestRider();
  }
  void TearDown() override {
    SpriteDeviceTable() = savedDevice_;
    GameFilesTest::TearDown();
  }

  struct Session {
    Session() { ResetSession(); }
  } session_;
  Game& game = TheGame();
  bool On(ScreenUpdate update) const { return game.screens.current.update == update; }
  // Switches with `to` and runs the new screen's first step.
  void Enter(int (*to)(Game&)) {
    to(game);
    Step();
  }

  SpriteDevice savedDevice_;
};
