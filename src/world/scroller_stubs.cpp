// Placeholder bodies, replaced as the views land.
#include "world/scroller.h"
#include "platform/console.h"

int TScroller::FBoot() {
  FDefaultState();
  Scrollers[0] = std::make_shared<TScroller>();
  Scrollers[1] = std::make_shared<TScroller>();
  return 0;
}
int TScroller::FDefaultState() { return 0; }
int TScroller::FEvaluateScrollLocks() { return 0; }
int TScroller::MDraw(const TActor*, int, int) { return 0; }
void TScroller::MMoveCamera(const TActor&) {}
