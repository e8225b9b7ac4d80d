#include "track/track_file.h"

#include <cmath>
#include <cstdio>
#include <cstring>

#include "platform/platform.h"
#include "rider/current_rider.h"
#include "rider/rider_file.h"
#include "shell/log.h"
#include "shell/notice.h"
#include "shell/paths.h"
#include "shell/safe_save.h"
#include "track/world.h"

static const char kTrackMagic[17] = "TOLK_RIDER_TRACK";  // 16 characters and the zero
constexpr size_t kMagicBytes = sizeof kTrackMagic;

// The last load's file bytes and staging record. Their memory is kept for the next load, so a
// large track does not fault in fresh pages on every load; they hold nothing a later load reads.
// Reset never.
static struct {
  std::vector<uint8_t> bytes;
  TrackFileContent content;
} loadState;

static const char kDemoAsTrackTitle[] =
    "Are you trying to cheat? or its just a mistake? Do not modify demo files, be honest!";
static const char kTrackAsDemoTitle[] = "you are trying to load track file with demo extension!";

// ---- internal ----

static float LoadF32(const uint8_t* b) {
  const uint32_t u = LoadLE32(b);
  float value;
  memcpy(&value, &u, 4);
  return value;
}

// A stored line is damaged when a value is not a number or the thickness is beyond what any
// line can have; other odd lines (too far out, zero length, negative thickness) are the world's
// to refuse one by one.
static bool LineValuesSound(float x1, float y1, float x2, float y2, float thickness) {
  return std::isfinite(x1) && std::isfinite(y1) && std::isfinite(x2) && std::isfinite(y2) &&
         std::isfinite(thickness) && thickness <= kMaxLineThickness;
}

// count as stored: read signed, 0 or less means no records; more than the bytes left can hold
// means the file is damaged.
static bool ReadSectionCount(ByteReader& in, uint32_t recordBytes, uint32_t* count) {
  int32_t stored;
  if (!in.readI32(&stored)) return false;
  *count = stored > 0 ? uint32_t(stored) : 0;
  return *count <= in.left() / recordBytes;
}

static bool ReadSolidSection(ByteReader& in, bool demoOrder, std::vector<StagedSolidLine>* out) {
  uint32_t count;
  if (!ReadSectionCount(in, kSolidLineBytes, &count)) return false;
  out->resize(count);
  const uint8_t* b = in.data + in.position;
  for (StagedSolidLine& line : *out) {
    line.x1 = LoadF32(b);
    line.y1 = LoadF32(b + 4);
    if (demoOrder) {
      line.thickness = LoadF32(b + 8);
      line.kind = LoadLE32(b + 12);
      line.x2 = LoadF32(b + 16);
      line.y2 = LoadF32(b + 20);
    } else {
      line.x2 = LoadF32(b + 8);
      line.y2 = LoadF32(b + 12);
      line.thickness = LoadF32(b + 16);
      line.kind = LoadLE32(b + 20);
    }
    if (!LineValuesSound(line.x1, line.y1, line.x2, line.y2, line.thickness)) return false;
    b += kSolidLineBytes;
  }
  in.position += size_t(count) * kSolidLineBytes;
  return true;
}

static bool ReadScenerySection(ByteReader& in, bool demoOrder, std::vector<StagedSceneryLine>* out) {
  uint32_t count;
  if (!ReadSectionCount(in, kSceneryLineBytes, &count)) return false;
  out->resize(count);
  const uint8_t* b = in.data + in.position;
  for (StagedSceneryLine& line : *out) {
    const uint8_t* f = demoOrder ? b + 3 : b;         // the floats
    const uint8_t* c = demoOrder ? b : b + 20;        // the colour
    line.x1 = LoadF32(f);
    line.y1 = LoadF32(f + 4);
    line.x2 = LoadF32(f + 8);
    line.y2 = LoadF32(f + 12);
    line.thickness = LoadF32(f + 16);
    line.r = c[0];
    line.g = c[1];
    line.b = c[2];
    if (!LineValuesSound(line.x1, line.y1, line.x2, line.y2, line.thickness)) return false;
    b += kSceneryLineBytes;
  }
  in.position += size_t(count) * kSceneryLineBytes;
  return true;
}

// A section whose version word is not this file's: its records are passed over unread, so the
// next section starts where the writer put it.
static bool SkipSection(ByteReader& in, uint32_t recordBytes) {
  uint32_t count;
  if (!ReadSectionCount(in, recordBytes, &count)) return false;
  return in.skip(size_t(count) * recordBytes);
}

static bool ReadSection(ByteReader& in, bool demoPath, bool solid, TrackFileContent* out) {
  uint32_t version;
  if (!in.readU32(&version)) return false;
  const uint32_t expected = demoPath ? kDemoVersion : kTrackVersion;
  if (version == expected)
    return solid ? ReadSolidSection(in, demoPath, &out->solids) : ReadScenerySection(in, demoPath, &out->scenery);
  if (version == kDemoVersion && !demoPath)
    out->notices.push_back(TrackNotice::DemoAsTrack);
  else if (version == kTrackVersion && demoPath)
    out->notices.push_back(TrackNotice::TrackAsDemo);
  else
    out->notices.push_back(TrackNotice::UnknownSection);
  return SkipSection(in, solid ? kSolidLineBytes : kSceneryLineBytes);
}

// A line whose extents and thickness add up to two cells (600 units) or less is listed in at
// most eight cells, a cost that grows with the file like its bytes do; only the longer lines, each
// of which may claim thousands, are priced against the budget. A NaN never counts as long: the
// world refuses such a line anyway.
static bool PricedLine(float x1, float y1, float x2, float y2, float thickness) {
  return std::fabs(x2 - x1) + std::fabs(y2 - y1) + thickness > 600.0f;
}

// Sums the grid cells the long lines the world will take are listed in, before any line is
// registered; false and a log line once the sum passes kMaxTrackGridCells.
static bool LinesFitTheGrids(const TrackFileContent& content) {
  int64_t cells = 0;
  for (const StagedSolidLine& s : content.solids) {
    if (!PricedLine(s.x1, s.y1, s.x2, s.y2, s.thickness)) continue;
    if (CheckLine({s.x1, s.y1}, {s.x2, s.y2}, s.thickness) != LineFault::None) continue;
    cells += LineWalkCellsAtMost({s.x1, s.y1}, {s.x2, s.y2}, s.thickness);
    if (cells > kMaxTrackGridCells) break;
  }
  for (const StagedSceneryLine& s : content.scenery) {
    if (cells > kMaxTrackGridCells) break;
    if (!PricedLine(s.x1, s.y1, s.x2, s.y2, s.thickness)) continue;
    if (CheckLine({s.x1, s.y1}, {s.x2, s.y2}, s.thickness) != LineFault::None) continue;
    cells += SceneryCellsAtMost(MakeSceneryLine({s.x1, s.y1}, {s.x2, s.y2}, s.r, s.g, s.b, s.thickness));
  }
  if (cells <= kMaxTrackGridCells) return true;
  Log("track lines need more than %lld grid cells: too long to load", static_cast<long long>(kMaxTrackGridCells));
  return false;
}

static void ShowNotice(TrackNotice notice) {
  switch (notice) {
    case TrackNotice::DemoAsTrack: Platform().messageBox(kDemoAsTrackTitle, ""); break;
    case TrackNotice::TrackAsDemo: Platform().messageBox(kTrackAsDemoTitle, ""); break;
    case TrackNotice::UnknownSection: Log("loading file: unknown format"); break;
  }
}

static void StoreU32(uint8_t* b, uint32_t value) {
  b[0] = uint8_t(value);
  b[1] = uint8_t(value >> 8);
  b[2] = uint8_t(value >> 16);
  b[3] = uint8_t(value >> 24);
}

static void StoreF32(uint8_t* b, float value) {
  uint32_t u;
  memcpy(&u, &value, 4);
  StoreU32(b, u);
}

// The records of a section go straight into their place in the buffer: a million lines are
// 24 MB, written field by field without a call per field.
// Only live lines are written, in creation order.
static void WriteSolidLines(std::vector<uint8_t>* out, const World& world, bool demoOrder) {
  const size_t at = out->size();
  out->resize(at + size_t(SolidLineCount(world)) * kSolidLineBytes);
  uint8_t* b = out->data() + at;
  for (const SolidLine& line : world.solidLines) {
    if (!line.live) continue;
    StoreF32(b, line.x1);
    StoreF32(b + 4, line.y1);
    if (demoOrder) {
      StoreF32(b + 8, line.thickness);
      StoreU32(b + 12, uint32_t(line.kind));
      StoreF32(b + 16, line.x2);
      StoreF32(b + 20, line.y2);
    } else {
      StoreF32(b + 8, line.x2);
      StoreF32(b + 12, line.y2);
      StoreF32(b + 16, line.thickness);
      StoreU32(b + 20, uint32_t(line.kind));
    }
    b += kSolidLineBytes;
  }
}

static void WriteSceneryLines(std::vector<uint8_t>* out, const World& world, bool demoOrder) {
  const size_t at = out->size();
  out->resize(at + size_t(SceneryLineCount(world)) * kSceneryLineBytes);
  uint8_t* b = out->data() + at;
  for (const SceneryLine& line : world.sceneryLines) {
    if (!line.live) continue;
    uint8_t* f = demoOrder ? b + 3 : b;             // the floats
    uint8_t* c = demoOrder ? b : b + 20;            // the colour
    StoreF32(f, line.x1);
    StoreF32(f + 4, line.y1);
    StoreF32(f + 8, line.x2);
    StoreF32(f + 12, line.y2);
    StoreF32(f + 16, line.thickness);
    c[0] = line.r;
    c[1] = line.g;
    c[2] = line.b;
    b += kSceneryLineBytes;
  }
}

// ---- public ----

bool IsDemoPath(const char* path) {
  size_t length = strlen(path);
  return length >= 4 && memcmp(path + length - 4, "demo", 4) == 0;
}

FileLoad ParseTrackFile(const uint8_t* bytes, size_t size, bool demoPath, TrackFileContent* out) {
  out->solids.clear();
  out->scenery.clear();
  out->notices.clear();
  out->hasStartFlag = false;
  out->startFlag = 0;
  out->start.points.clear();
  out->start.links.clear();
  out->start.joints.clear();
  out->hasRiderName = false;
  out->riderName[0] = 0;
  if (size <= kMagicBytes) return FileLoad::NotOpened;
  if (memcmp(bytes, kTrackMagic, kMagicBytes) != 0) return FileLoad::Refused;
  ByteReader in{bytes, size, kMagicBytes};
  if (!ReadSection(in, demoPath, true, out) || !ReadSection(in, demoPath, false, out)) return FileLoad::Refused;
  if (!LinesFitTheGrids(*out)) return FileLoad::Refused;

  // Items 4 to 6 are each optional at the end of the file; a record cut inside is damage.
  if (in.left() == 0) return FileLoad::Loaded;
  out->hasStartFlag = true;
  in.readU8(&out->startFlag);
  if (out->startFlag && !ParseSnapshot(in, &out->start)) return FileLoad::Refused;

  if (in.left() == 0) return FileLoad::Loaded;
  uint32_t length;
  if (!in.readU32(&length) || length == 0 || length > in.left() || length > kMaxRiderName) return FileLoad::Refused;
  const uint8_t* text = bytes + in.position;
  const void* zero = memchr(text, 0, length);
  if (!zero) return FileLoad::Refused;
  memcpy(out->riderName, text, size_t(static_cast<const uint8_t*>(zero) - text) + 1);
  // An empty name is how a track says it stores no rider: the same as a file without item 6.
  out->hasRiderName = out->riderName[0] != 0;
  return FileLoad::Loaded;
}

void EncodeTrackFile(const World& world, const CurrentRider& rider, bool demoPath, std::vector<uint8_t>* out) {
  out->clear();
  out->reserve(kMagicBytes + 16 + size_t(SolidLineCount(world)) * kSolidLineBytes +
               size_t(SceneryLineCount(world)) * kSceneryLineBytes + 1024);
  ByteWriter writer{out};
  const uint32_t version = demoPath ? kDemoVersion : kTrackVersion;
  writer.writeBytes(kTrackMagic, kMagicBytes);
  // The counts are the live lines: exactly the records that follow.
  writer.writeU32(version);
  writer.writeU32(uint32_t(SolidLineCount(world)));
  WriteSolidLines(out, world, demoPath);
  writer.writeU32(version);
  writer.writeU32(uint32_t(SceneryLineCount(world)));
  WriteSceneryLines(out, world, demoPath);
  writer.writeU8(world.startFlagSet);
  if (world.startFlagSet) WriteSnapshot(world.startSnapshot, writer);
  // A rider whose path could not be kept relative to the exec folder is written as the empty
  // name, which stores no rider.
  writer.writeString(rider.path);
}

bool SaveTrack(const World& world, const CurrentRider& rider, const char* path, const NoticeSink& sink) {
  if (!path) return false;
  if (!path[0]) {
    Log("Saving cancelled");
    return false;
  }
  if (world.demoLoaded) {
    Tell(sink, "Nothing saved: a demo track is for viewing only");
    return false;
  }
  if (SolidLineCount(world) < 1 && SceneryLineCount(world) < 1) {
    Tell(sink, "Nothing saved: the track is empty");
    return false;
  }
  const bool demo = IsDemoPath(path);
  // A demo's closing line names no file, so the player is also told the line that does.
  if (demo)
    Notice(sink, "Saving demo:%s", path);
  else
    Log("Saving track:%s", path);
  std::vector<uint8_t> bytes;
  EncodeTrackFile(world, rider, demo, &bytes);
  if (!SaveBytesSafely(path, bytes.data(), bytes.size(), sink)) return false;
  if (demo)
    Notice(sink, "Track saved");
  else
    Notice(sink, "Track saved:%s", path);
  return true;
}

bool ApplyTrackFile(World& world, CurrentRider& rider, const TrackFileContent& content, bool demoPath,
                    const NoticeSink& sink) {
  for (TrackNotice notice : content.notices) ShowNotice(notice);
  ClearSolidLines(world);
  ClearSceneryLines(world);
  int skipped = 0;
  for (const StagedSolidLine& s : content.solids)
    if (AddSolidLine(world, {s.x1, s.y1}, {s.x2, s.y2}, s.thickness, LineKind(s.kind)) == kNoLine) ++skipped;
  for (const StagedSceneryLine& s : content.scenery)
    if (AddSceneryLine(world, {s.x1, s.y1}, {s.x2, s.y2}, s.r, s.g, s.b, s.thickness) == kNoLine) ++skipped;
  if (skipped > 0) Log("%d lines skipped: zero length, too far out or bad thickness", skipped);
  world.demoLoaded = demoPath;

  world.startFlagSet = 0;
  if (content.hasStartFlag && content.startFlag) {
    BuildSnapshot(content.start, world.startSnapshot);
    world.startFlagSet = content.startFlag;
  }
  if (content.hasRiderName) {
    // A name that does not fit beside the exec folder is refused, never cut to another file; a
    // name that climbs out of it would read any file on the disk as a rider.
    char riderPath[kMaxPath];
    if (!StaysInsideProgramFolder(content.riderName))
      Notice(sink, "rider name leaves the program folder, not loaded: %s", content.riderName);
    else if (MakeAbsolutePath(riderPath, content.riderName))
      LoadRider(rider, riderPath, sink);
    RestartRider(world, rider);
  }
  // The flag marks the start state's focus point; (0, 0) when the start state has none.
  if (world.startFlagSet) world.flag = StartPoint(world, rider.focusPointId);
  return content.hasRiderName;
}

FileLoad LoadTrack(World& world, CurrentRider& rider, const char* path, bool* riderRestarted,
                   const NoticeSink& sink) {
  if (!path || !path[0]) {
    Log("%s", FileLoadLine(FileLoad::Cancelled));
    return FileLoad::Cancelled;
  }
  Log("Loading track:%s", path);
  const bool demo = IsDemoPath(path);
  std::vector<uint8_t>& bytes = loadState.bytes;
  TrackFileContent& content = loadState.content;
  FileLoad result = ReadWholeFile(path, &bytes) ? ParseTrackFile(bytes.data(), bytes.size(), demo, &content)
                                                : FileLoad::NotOpened;
  if (result != FileLoad::Loaded) {
    Notice(sink, "%s", FileLoadLine(result));
    return result;
  }
  // The file is whole: only now does the world take it.
  const bool restarted = ApplyTrackFile(world, rider, content, demo, sink);
  if (riderRestarted) *riderRestarted = restarted;
  Log("Track loaded");
  return FileLoad::Loaded;
}
