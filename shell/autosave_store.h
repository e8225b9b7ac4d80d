// The autosave folder: versions written whole on a thread of their own, the newest few of each
// run kept, and the markers by which a run that did not end cleanly is noticed at the next start.
//
//   autosave/YYYY-MM-DD_HH-MM-SS_PID/   one version: the files of one autosave
//   autosave/running-PID                a marker, held locked while that run lives
//
// A version appears whole or not at all: it is written as a hidden folder and renamed. A run
// that ends cleanly removes its marker; a crash, a kill or a power loss leaves it, and the lock
// the kernel dropped with the process tells a marker left behind from one of a run still going.
#pragma once
#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "platform/platform.h"

constexpr int kKeptAutosaves = 5;                 // versions of each run
constexpr double kAutosaveDaysKept = 7;           // a clean exit removes versions older than this

struct AutosaveFile {
  std::string name;
  std::vector<uint8_t> bytes;
};
// Makes the files of a version; runs on the writer's thread, so it may touch only what it owns.
using AutosaveEncoder = std::function<std::vector<AutosaveFile>()>;

struct AutosaveSession {
  std::string folder;                             // stored path of the autosave folder; "" = off
  int pid = 0;
  int marker = -1;                                // our marker's lock
  std::vector<int> crashedRuns;                   // runs whose marker was left behind, found at the start
  std::thread writer;
  std::atomic<bool> writing{false};
  std::string result;                             // the written version's name, or why it failed
  bool failed = false;

  ~AutosaveSession() {
    if (writer.joinable()) writer.join();
  }
};

// The start of a run: notes the runs that did not end cleanly and removes their markers, then
// sets ours. False (autosave off) when the folder or the marker cannot be made.
bool OpenAutosaveSession(AutosaveSession& session, const char* storedFolder);
std::string AutosaveVersionName(const LocalTime& time, int pid);  // sorts by time
// The newest version a run that did not end cleanly left; "" when there is none.
std::string NewestCrashedVersion(const AutosaveSession& session);
std::string AutosaveVersionPath(const AutosaveSession& session, const std::string& version);
// Encodes and writes a version on the writer's thread, then removes the run's versions beyond the
// newest five. False when a write is still going on or the session is off.
bool StartAutosaveWrite(AutosaveSession& session, const std::string& version, AutosaveEncoder encode);
// After a write ended: true once, with the version written or (failed) the reason.
bool TakeAutosaveResult(AutosaveSession& session, std::string* result, bool* failed);
// A clean exit: waits for the write, removes our marker and every version older than a week.
void CloseAutosaveSession(AutosaveSession& session);
