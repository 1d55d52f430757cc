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
// Writes everything, resuming after short writes and interruptions; `written`, when given, gets
// how much was stored, on failure too.
bool WriteAll(const SaveFileOps& ops, int fd, const uint8_t* data, size_t size,
              size_t* written = nullptr);
// Empty when `path` may be written over (nothing there, or a regular file not read-only);
// otherwise why not.
std::string WhyNotWritable(const std::string& path);
// The one rule for a file made read-only, for every writer and every user, root too: no write
// bit in its mode (`mode`, its st_mode) at all, or no leave to write it. A file system mounted
// read-only is the folder's doing, not the file's.
bool ReadOnlyFile(const std::string& path, mode_t mode);
// The permission bits a new file gets from the umask.
mode_t NewFileMode();

// A file written a piece at a time (a recording, a trace). Appends are kept in memory until
// Flush (or until 64 KiB are waiting: never within one Append); Publish puts the file under its
// name early, so a game that dies later still leaves everything flushed until then; Commit finishes
// it. Destroyed unfinished, an unpublished side file is removed. After the first failure every call
// fails and Why() says what went wrong. A write that fails part way (a full disk, a file-size
// limit) is taken back to the end of the last Append stored whole, so a published file never ends
// in the middle of one: a stream of one Append per frame ends at a complete frame.
class SafeFileWriter {
 public:
  SafeFileWriter() = default;
  SafeFileWriter(const SafeFileWriter&) = delete;
  SafeFileWriter& operator=(const SafeFileWriter&) = delete;
  ~SafeFileWriter();

  // Before anything is made, the side files a killed writer of the same target left (a writer no
  // longer running, see side_names.h: LeftoversBeside) are removed when they are empty or begin
  // with `signature`, the way every file of this output begins; none without a signature.
  bool Open(const std::string& path, const std::string& signature = {});
  void Append(const std::string& text);
  void Append(const uint8_t* data, size_t size);
  bool Flush();
  bool Publish();
  bool Commit();
  // Gives up: an unpublished side file is removed, a published file keeps what was flushed.
  void Abandon() { Discard(); }
  bool IsOpen() const { return Fd >= 0; }
  // True once a call has failed.
  bool Failed() const { return !Reason.empty(); }
  // How many Appends the file holds whole (all of them until a failure).
  size_t WholeAppends() const { return StoredAppends; }
  const std::string& Why() const { return Reason; }

 private:
  bool RenameIntoPlace();
  bool Fail(const std::string& why);
  void Discard();

  std::string Target, Side, Reason;
  std::vector<uint8_t> Pending;
  std::vector<size_t> PendingEnds;  // where each waiting Append ends in Pending
  size_t StoredAppends = 0;
  off_t StoredBytes = 0;
  int Fd = -1;
  bool Published = false;
};

// The whole file in one go; false with `why` on failure (nothing changed at `path` then). The
// leftovers of a killed write of `path` that began as these bytes begin go first.
bool WriteFileSafely(const std::string& path, const std::vector<uint8_t>& bytes, std::string& why);
