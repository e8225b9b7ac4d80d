#include "shell/dialogs.h"

#include <cstdio>
#include <string>

#include "platform/platform.h"
#include "shell/log.h"
#include "shell/paths.h"

// The kinds of file the dialogs choose; each opens where its kind was last chosen.
enum FileKind { kTrackFiles, kTextureFiles, kRiderFiles, kFileKinds };

// The shared result of the last dialog: overwritten by every dialog.
static char dialogResult[kMaxPath] = "";

// The folder ("\" separators) each kind of file was last chosen in: set by every choice, kept
// for the run; "" until then.
static std::string lastFolder[kFileKinds];

// Set once at start by the frame.
static struct {
  std::function<bool()> takeDown;
  std::function<void()> bringUp;
} graphicsSwitch;

// Where a dialog opens, with "/" separators: the last folder used for its kind, else the player
// folder for tracks, riders/ in it for riders and sprites/ for pictures.
static std::string StartFolder(FileKind kind) {
  static const char* const kHomes[kFileKinds] = {"", "\\sprites", "\\riders"};
  std::string folder = lastFolder[kind];
  if (folder.empty()) folder = std::string(PlayerFolder()) + kHomes[kind];
  for (char& c : folder)
    if (c == '\\') c = '/';
  return folder;
}

static const char* ShowDialog(FileDialogRequest request, FileKind kind) {
  Log("-------------File dialog called--------------");
  dialogResult[0] = 0;
  for (;;) {
    const std::string folder = StartFolder(kind);
    request.folder = folder.c_str();
    std::string chosen;
    if (!Platform().fileDialog(request, &chosen)) return dialogResult;
    // A path the game's records cannot hold is treated as no choice at all.
    if (chosen.size() >= kMaxPath) return dialogResult;
    for (char& c : chosen)
      if (c == '/') c = '\\';
    const size_t slash = chosen.rfind('\\');
    if (slash != std::string::npos) lastFolder[kind] = chosen.substr(0, slash);
    // Asked here, on the name with its extension: "No" goes back to the dialog.
    if (request.save && PlatformIsRegularFile(chosen.c_str())) {
      const std::string name = chosen.substr(slash == std::string::npos ? 0 : slash + 1);
      const std::string question = "\"" + name + "\" already exists. Do you want to replace it?";
      if (!Platform().question(request.title, question.c_str())) continue;
    }
    snprintf(dialogResult, sizeof dialogResult, "%s", chosen.c_str());
    return dialogResult;
  }
}

void SetDialogGraphicsSwitch(std::function<bool()> takeDown, std::function<void()> bringUp) {
  graphicsSwitch.takeDown = std::move(takeDown);
  graphicsSwitch.bringUp = std::move(bringUp);
}

const char* SaveTrackDialog() {
  static const FileFilter filters[] = {{"Track Files (*.track)", "*.track"}, {"Demo Tracks (*.demo)", "*.demo"}};
  // Taken down so that the dialog can show over a fullscreen display.
  const bool tookDown = graphicsSwitch.takeDown && graphicsSwitch.takeDown();
  const char* result = ShowDialog({true, "SAVE track", filters, 2, "track", nullptr}, kTrackFiles);
  if (tookDown && graphicsSwitch.bringUp) graphicsSwitch.bringUp();
  return result;
}

const char* LoadTrackDialog() {
  static const FileFilter filters[] = {{"Track and Demo Files (*.track; *.demo)", "*.track;*.demo"},
                                       {"Track Files (*.track)", "*.track"},
                                       {"Demo Tracks (*.demo)", "*.demo"}};
  return ShowDialog({false, "LOAD track", filters, 3, "track", nullptr}, kTrackFiles);
}

const char* LoadTextureDialog() {
  static const FileFilter filters[] = {{"PNG Texture(*.png)", "*.png"}};
  return ShowDialog({false, "LOAD PNG Texture", filters, 1, "png", nullptr}, kTextureFiles);
}

const char* SaveRiderDialog() {
  static const FileFilter filters[] = {{"Rider File(*.rider)", "*.rider"}};
  return ShowDialog({true, "SAVE Rider", filters, 1, "rider", nullptr}, kRiderFiles);
}

const char* LoadRiderDialog() {
  static const FileFilter filters[] = {{"Rider File(*.rider)", "*.rider"}};
  return ShowDialog({false, "LOAD Rider", filters, 1, "rider", nullptr}, kRiderFiles);
}
