// Writing one file so that its name holds either what was there before or the whole new file:
// a fresh side name beside the target, opened exclusively and never through a link, every write
// and the close checked, synced, then renamed into place. A target that exists and is not a
// regular file (a link, a folder, a FIFO, a device) is refused. Every file the game and its tools
// write goes through here; the map pair's save (atomic_files.cpp) builds on the same pieces.
#pragma once

#include <sys/types.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/save/atomic_files.h"

// Creates a fresh file beside `path` ("<path><tag><process>-<n>"), trying further names while
// something sits at one; -1 with errno when none could be made. `name` is the one made.
int CreateBeside(const SaveFileOps& ops, const std::string& path, const char* tag, mode_t mode,
                 std::string& name);
// Writes everything, resuming after short writes and interruptions.
bool WriteAll(const SaveFileOps& ops, int fd, const uint8_t* data, size_t size);
// Empty when `path` may be written over (nothing there, or a regular file); otherwise why not.
std::string WhyNotWritable(const std::string& path);
// The permission bits a new file gets from the umask.
mode_t NewFileMode();

// A file written a piece at a time (a recording, a trace). Appends are kept in memory until
// Flush (or until 64 KiB are waiting: never within one Append); Publish puts the file under its
// name early, so a game that dies later still leaves everything flushed until then; Commit finishes
// it. Destroyed unfinished, an unpublished side file is removed. After the first failure every call
// fails and Why() says what went wrong.
class SafeFileWriter {
 public:
  SafeFileWriter() = default;
  SafeFileWriter(const SafeFileWriter&) = delete;
  SafeFileWriter& operator=(const SafeFileWriter&) = delete;
  ~SafeFileWriter();

  bool Open(const std::string& path);
  void Append(const std::string& text);
  void Append(const uint8_t* data, size_t size);
  bool Flush();
  bool Publish();
  bool Commit();
  // Gives up: an unpublished side file is removed, a published file keeps what was flushed.
  void Abandon() { Discard(); }
  bool IsOpen() const { return Fd >= 0; }
  const std::string& Why() const { return Reason; }

 private:
  bool RenameIntoPlace();
  bool Fail(const std::string& why);
  void Discard();

  std::string Target, Side, Reason;
  std::vector<uint8_t> Pending;
  int Fd = -1;
  bool Published = false;
};

// The whole file in one go; false with `why` on failure (nothing changed at `path` then).
bool WriteFileSafely(const std::string& path, const std::vector<uint8_t>& bytes, std::string& why);
