#include "shell/dialogs.h"

#include <cstdio>
#include <string>

#include "platform/platform.h"
#include "shell/log.h"
#include "shell/paths.h"

// The shared result of the last dialog: overwritten by every dialog.
static char dialogResult[kMaxPath] = "";

// Set once at start by the frame.
static struct {
  std::function<bool()> takeDown;
  std::function<void()> bringUp;
} graphicsSwitch;

static const char* ShowDialog(const FileDialogRequest& request) {
  Log("-------------File dialog called--------------");
  std::string chosen;
  dialogResult[0] = 0;
  if (!Platform().fileDialog(request, &chosen)) return dialogResult;
  // A path the game's records cannot hold is treated as no choice at all.
  if (chosen.size() >= kMaxPath) return dialogResult;
  for (char& c : chosen)
    if (c == '/') c = '\\';
  snprintf(dialogResult, sizeof dialogResult, "%s", chosen.c_str());
  return dialogResult;
}

void SetDialogGraphicsSwitch(std::function<bool()> takeDown, std::function<void()> bringUp) {
  graphicsSwitch.takeDown = std::move(takeDown);
  graphicsSwitch.bringUp = std::move(bringUp);
}

const char* SaveTrackDialog() {
  static const FileFilter filters[] = {{"Track Files (*.track)", "*.track"}, {"Demo Tracks (*.demo)", "*.demo"}};
  // Taken down so that the dialog can show over a fullscreen display.
  const bool tookDown = graphicsSwitch.takeDown && graphicsSwitch.takeDown();
  const char* result = ShowDialog({true, "SAVE track", filters, 2, "track"});
  if (tookDown && graphicsSwitch.bringUp) graphicsSwitch.bringUp();
  return result;
}

const char* LoadTrackDialog() {
  static const FileFilter filters[] = {{"Track and Demo Files (*.track; *.demo)", "*.track;*.demo"},
                                       {"Track Files (*.track)", "*.track"},
                                       {"Demo Tracks (*.demo)", "*.demo"}};
  return ShowDialog({false, "LOAD track", filters, 3, "track"});
}

const char* LoadTextureDialog() {
  static const FileFilter filters[] = {{"PNG Texture(*.png)", "*.png"}};
  return ShowDialog({false, "LOAD PNG Texture", filters, 1, "png"});
}

const char* SaveRiderDialog() {
  static const FileFilter filters[] = {{"Rider File(*.rider)", "*.rider"}};
  return ShowDialog({true, "SAVE Rider", filters, 1, "rider"});
}

const char* LoadRiderDialog() {
  static const FileFilter filters[] = {{"Rider File(*.rider)", "*.rider"}};
  return ShowDialog({false, "LOAD Rider", filters, 1, "rider"});
}
