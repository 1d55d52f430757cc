// The side names beside a file being replaced, and the links a save follows to its target.
#include "platform/save/side_names.h"

#include <dirent.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

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

namespace {

// The process of a side name "<base><tag><process>-<attempt>", or 0 when it is not one.
pid_t ProcessOf(const std::string& name, const std::string& base, const char* tag) {
  const std::string prefix = base + tag;
  if (!StartsWith(name, prefix)) return 0;
  const std::string rest = name.substr(prefix.size());
  const size_t dash = rest.find('-');
  if (dash == 0 || dash == std::string::npos || dash > 9 || dash + 1 == rest.size()) return 0;
  for (size_t i = 0; i < rest.size(); ++i)
    if (i != dash && (rest[i] < '0' || rest[i] > '9')) return 0;
  return static_cast<pid_t>(std::stol(rest.substr(0, dash)));
}

bool WriterGone(pid_t process) {
  return process > 0 && process != getpid() && kill(process, 0) != 0 && errno == ESRCH;
}

}  // namespace

std::vector<std::string> LeftoversBeside(const std::string& path, const char* tag) {
  std::vector<std::string> found;
  const std::string folder = FolderOf(path), base = BaseOf(path);
  DIR* dir = opendir(folder.c_str());
  if (!dir) return found;
  while (const dirent* entry = readdir(dir)) {
    const std::string name = entry->d_name;
    const std::string full = folder + "/" + name;
    struct stat info {};
    if (WriterGone(ProcessOf(name, base, tag)) && lstat(full.c_str(), &info) == 0 &&
        S_ISREG(info.st_mode)) {
      found.push_back(full);
    }
  }
  closedir(dir);
  return found;
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
