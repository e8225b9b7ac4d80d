// Whole-file binary streams. Strings on disk: a 32-bit little-endian length that counts
// the terminating zero, then the characters and the zero. Other fields are encoded in memory
// with shell/byte_stream.h.
#pragma once
#include <cstdint>
#include <cstdio>

class FileReader {
 public:
  explicit FileReader(const char* path);          // regular files only; not open on failure
  virtual ~FileReader();
  FileReader(const FileReader&) = delete;
  FileReader& operator=(const FileReader&) = delete;

  virtual uint32_t size();                        // bytes, taken at opening (0 when not open)
  virtual uint32_t seek(uint32_t position);       // to min(position, size); returns tell
  virtual uint32_t read(void* buffer, uint32_t count);  // returns bytes read
  virtual uint32_t tell();
  bool isOpen() const { return file_ != nullptr; }
  uint32_t left() { return size() - tell(); }     // bytes not yet read

  // Reads a stored string into buffer (capacity bytes, capacity >= 1). Always zero-terminates
  // and stores at most capacity - 1 characters, skipping the rest of the string's bytes.
  // Returns the stored length L (counting the zero) or 0 for a damaged string (length 0 or
  // past the end of the file: nothing stored, position at the end). *truncated tells a cut.
  uint32_t readString(char* buffer, uint32_t capacity, bool* truncated = nullptr);

 private:
  FILE* file_ = nullptr;
  uint32_t size_ = 0;
};

class FileWriter {
 public:
  explicit FileWriter(const char* path);          // truncates; not open on failure
  virtual ~FileWriter();
  FileWriter(const FileWriter&) = delete;
  FileWriter& operator=(const FileWriter&) = delete;

  virtual uint32_t tell();
  virtual uint32_t seek(uint32_t position);       // to min(position, bytes written); returns tell
  virtual bool write(const void* buffer, uint32_t count);  // false when not open or not all written
  virtual bool isOpen();
  bool writeString(const char* text);            // length + 1, then the text and its zero
  // Flushes and syncs to disk, then closes; false when anything written so far failed.
  bool finish();
  bool failed() const { return failed_; }

 private:
  FILE* file_ = nullptr;
  uint32_t count_ = 0;
  bool failed_ = false;
};
