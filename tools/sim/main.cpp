#include "frame/main_program.h"
#include "platform/headless_backend.h"

int main() {
  HeadlessBackend backend;
  SetBackend(&backend);
  backend.OnEndOfPass = [](int pass) { return pass < 1; };
  return RunRavelon();
}
