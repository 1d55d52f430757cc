#include "builders.h"
#include "canvas.h"
#include "output.h"
namespace art {
bool BuildActorSheet(const std::string&, const std::string& outDir) {
  return WriteCanvas(outDir + "/ActorGfxKelpo.bmp", Canvas(16 * 8, 24 * 6));
}
}  // namespace art
