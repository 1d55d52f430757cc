#include "platform/sdl/sdl_window_manager.h"

#include <SDL_syswm.h>

#if defined(RAVELON_WITH_X11) && defined(SDL_VIDEO_DRIVER_X11)

namespace {

// A window manager following the desktop conventions names its check window on the root.
bool RootHasWindowManagerCheck(Display* display) {
  const Atom check = XInternAtom(display, "_NET_SUPPORTING_WM_CHECK", True);
  if (check == None) return false;
  Atom type = None;
  int format = 0;
  unsigned long items = 0, left = 0;
  unsigned char* data = nullptr;
  const int status = XGetWindowProperty(display, DefaultRootWindow(display), check, 0, 1, False,
                                        AnyPropertyType, &type, &format, &items, &left, &data);
  if (data) XFree(data);
  return status == Success && type != None && items > 0;
}

}  // namespace

bool HasWindowManager(SDL_Window* window) {
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (!window || !SDL_GetWindowWMInfo(window, &info)) return true;
  if (info.subsystem != SDL_SYSWM_X11) return true;
  return RootHasWindowManagerCheck(info.info.x11.display);
}

#else

bool HasWindowManager(SDL_Window*) {
  return true;
}

#endif
