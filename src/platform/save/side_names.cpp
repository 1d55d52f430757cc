// The side names beside a file being replaced, and the links a save follows to its target.
#include "platform/save/side_names.h"

#include <sys/stat.h>
#include <unistd.h>

const char* const kSafeWriteTag = ".writing-";
const char* const kSaveNewTag = ".saving-";
const char* const kSaveOldTag = ".previous-";

namespace {

constexpr int kLinkDepth = 16;

}  // namespace

// Something may sit at a name we would like (a stale file, a link, a FIFO, a folder): the next
// name is tried rather than anything being written through it.
std::string NameBeside(const std::string& path, const char* tag, int attempt) {
  return path + tag + std::to_string(getpid()) + "-" + std::to_string(attempt);
}

bool ResolveTarget(const std::string& path, std::string& target) {
  std::string current = path;
  for (int depth = 0; depth < kLinkDepth; ++depth) {
    struct stat info {};
    if (lstat(current.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) {
      target = current;
      return true;
    }
    char link[4096];
    const ssize_t n = readlink(current.c_str(), link, sizeof link);
    if (n <= 0 || static_cast<size_t>(n) >= sizeof link) return false;
    const std::string to(link, static_cast<size_t>(n));
    current = to[0] == '/' ? to : FolderOf(current) + "/" + to;
  }
  return false;
}

std::string FolderOf(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

std::string BaseOf(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool StartsWith(const std::string& text, const std::string& prefix) {
  return text.compare(0, prefix.size(), prefix) == 0;
}
