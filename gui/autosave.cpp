#include "gui/autosave.h"

#include <memory>
#include <sstream>

#include "gui/game.h"
#include "platform/platform.h"
#include "rider/editor_files.h"
#include "rider/rider_file.h"
#include "rider/snapshot_file.h"
#include "shell/byte_stream.h"
#include "shell/file_load.h"
#include "shell/log.h"
#include "shell/paths.h"
#include "track/track_file.h"

namespace {

constexpr char kRiderFile[] = "rider.rider";
constexpr char kEditorFile[] = "editor.rider";
constexpr char kNamesFile[] = "names";           // the riders' own paths, and whether the edited one was unsaved

// What besides the lines an autosave keeps, as bytes to compare.
std::vector<uint8_t> RestOf(const Game& game) {
  CurrentRider edited;
  EditorRider(game.riderEditor, edited);
  std::vector<uint8_t> bytes, editedBytes;
  // Each rider file is encoded whole on its own: the encoder starts its output afresh.
  EncodeRiderFile(game.track.rider, &bytes);
  EncodeRiderFile(edited, &editedBytes);
  bytes.insert(bytes.end(), editedBytes.begin(), editedBytes.end());
  ByteWriter writer{&bytes};
  writer.writeString(game.track.rider.path);
  writer.writeString(edited.path);
  const World& world = game.track.world;
  writer.writeU8(world.startFlagSet);
  writer.writeU8(world.demoLoaded);
  writer.writeF32(world.flag.x);
  writer.writeF32(world.flag.y);
  WriteSnapshot(world.startSnapshot, writer);
  return bytes;
}

// Lends the finished copy, with the edited rider, to the writer's thread.
void Write(Game& game) {
  Autosave& autosave = game.autosave;
  struct Job {
    TrackCopy* copy;
    CurrentRider edited;
    bool unsaved = false;
  };
  auto job = std::make_shared<Job>();
  job->copy = &autosave.copy;
  EditorRider(game.riderEditor, job->edited);
  job->unsaved = EditorHasUnsavedEdits(game.riderEditor);
  const std::string version = AutosaveVersionName(Platform().localTime(), autosave.session.pid);
  StartAutosaveWrite(autosave.session, version, [job] {
    const CurrentRider& rider = job->copy->rider;
    auto world = std::make_unique<World>();
    MoveCopyIntoWorld(*job->copy, *world);
    std::vector<AutosaveFile> files(4);
    files[0].name = world->demoLoaded ? "track.demo" : "track.track";
    EncodeTrackFile(*world, rider, world->demoLoaded, &files[0].bytes);
    files[1].name = kRiderFile;
    EncodeRiderFile(rider, &files[1].bytes);
    files[2].name = kEditorFile;
    EncodeRiderFile(job->edited, &files[2].bytes);
    SwapLines(*world, job->copy->lines);
    files[3].name = kNamesFile;
    const std::string names = std::string(rider.path) + "\n" + job->edited.path + "\n" +
                              (job->unsaved ? "1" : "0") + "\n";
    files[3].bytes.assign(names.begin(), names.end());
    return files;
  });
}

// A change of the lines is seen at once; one of the riders or the start only when compareRest.
void NoteChanges(Game& game, bool compareRest) {
  Autosave& autosave = game.autosave;
  bool changed = game.track.world.linesStamp != autosave.seenLines;
  autosave.seenLines = game.track.world.linesStamp;
  if (compareRest) {
    std::vector<uint8_t> rest = RestOf(game);
    changed = changed || rest != autosave.seenRest;
    autosave.seenRest = std::move(rest);
  }
  if (changed) {
    autosave.dirty = true;
    autosave.lastChange = autosave.step;
  }
}

void BeginCopy(Game& game) {
  Autosave& autosave = game.autosave;
  if (autosave.session.writing) return;           // the writer still has the copy
  autosave.copying = true;
  autosave.dirty = false;
  BeginTrackCopy(autosave.copy, game.track.world, game.track.rider);
}

std::string TimeOf(const std::string& version) {
  // YYYY-MM-DD_HH-MM-SS_PID: the time with colons, then the day.
  if (version.size() < 19) return version;
  std::string time = version.substr(11, 8);
  time[2] = time[5] = ':';
  return time + " on " + version.substr(0, 10);
}

}  // namespace

void StartAutosave(Game& game) {
  Autosave& autosave = game.autosave;
  autosave.seenLines = game.track.world.linesStamp;
  autosave.seenRest = RestOf(game);
  if (!OpenAutosaveSession(autosave.session, (std::string(PlayerFolder()) + "\\autosave").c_str())) {
    Log("no autosave: the autosave folder cannot be written");
    return;
  }
  const std::string version = NewestCrashedVersion(autosave.session);
  if (version.empty()) return;
  Log("the last game did not end cleanly: autosave %s found", version.c_str());
  const std::string question =
      "The last game did not end cleanly.\nRestore what was autosaved at " + TimeOf(version) + "?";
  if (Platform().question("Velmora", question.c_str()) && RestoreAutosave(game, version)) ToTrackScreen(game);
}

void StepAutosave(Game& game) {
  Autosave& autosave = game.autosave;
  if (autosave.session.folder.empty()) return;
  autosave.step += 1;
  std::string result;
  bool failed = false;
  if (TakeAutosaveResult(autosave.session, &result, &failed))
    failed ? Log("autosave failed: %s", result.c_str()) : Log("Autosaved:autosave\\%s", result.c_str());
  NoteChanges(game, autosave.step % kAutosaveCheckSteps == 0);
  if (autosave.copying) {
    if (ContinueTrackCopy(autosave.copy, game.track.world, game.track.rider, kAutosaveLinesPerStep)) {
      autosave.copying = false;
      Write(game);
    }
    return;
  }
  if (autosave.dirty && autosave.step - autosave.lastChange >= kAutosaveQuietSteps) BeginCopy(game);
}

void AutosaveOnSwitch(Game& game) {
  Autosave& autosave = game.autosave;
  if (autosave.session.folder.empty() || autosave.copying) return;
  NoteChanges(game, true);
  if (autosave.dirty) BeginCopy(game);
}

void EndAutosave(Game& game) { CloseAutosaveSession(game.autosave.session); }

bool RestoreAutosave(Game& game, const std::string& version) {
  const std::string folder = AutosaveVersionPath(game.autosave.session, version);
  std::vector<uint8_t> bytes;
  std::string riderName, editorName, unsaved;
  if (ReadWholeFile((folder + "\\" + kNamesFile).c_str(), &bytes)) {
    std::istringstream names(std::string(bytes.begin(), bytes.end()));
    std::getline(names, riderName);
    std::getline(names, editorName);
    std::getline(names, unsaved);
  }
  std::string track = folder + "\\track.track";
  if (!PlatformIsRegularFile(track.c_str())) track = folder + "\\track.demo";
  if (!RestoreTrackFiles(game.track, track.c_str(), (folder + "\\" + kRiderFile).c_str(), riderName.c_str())) {
    Log("autosave %s not restored: its track was refused", version.c_str());
    PostMessage(game.messages, "autosave %s not restored: its track was refused", version.c_str());
    return false;
  }
  UseRiderSheet(game.track.rider.spriteSheet);
  RestoreEditorRider(game.riderEditor, (folder + "\\" + kEditorFile).c_str(), editorName.c_str(), unsaved == "1");
  Log("Autosave restored:%s", version.c_str());
  PostMessage(game.messages, "Autosave restored:%s", version.c_str());
  return true;
}
