// The web backend's frame and clock: the back buffer handed to the page's canvas, the browser's
// queued events delivered when a pass takes its input, the pads read, and the space pause kept
// as a time before which the page runs no pass.
#include "platform/web/web_backend.h"

#include <emscripten.h>
#include <emscripten/html5.h>

#include <cmath>

#include "platform/input.h"

WebBackend::WebBackend(std::unique_ptr<HeadlessBackend> script) : Script(std::move(script)) {}

bool WebBackend::OpenWindow(int width, int height, const std::string& title) {
  if (emscripten_set_canvas_element_size("#canvas", width, height) != EMSCRIPTEN_RESULT_SUCCESS) {
    return false;
  }
  FrameWidth = width;
  FrameHeight = height;
  Rgba.assign(static_cast<size_t>(width) * height * 4, 255);
  EM_ASM({ RavelonPage.windowOpened($0, $1, UTF8ToString($2)); }, width, height, title.c_str());
  // A scripted run hears nothing from the browser: a stray key must not change the frames.
  if (!Script) ListenToBrowser();
  return true;
}

void WebBackend::Queue(ScriptedEvent::Kind kind, int a, int b) {
  // The pointer only counts where it stands when the pass takes its input.
  if (kind == ScriptedEvent::Kind::MouseMove && !Pending.empty() &&
      Pending.back().kind == ScriptedEvent::Kind::MouseMove) {
    Pending.back().a = a;
    Pending.back().b = b;
    return;
  }
  ScriptedEvent event;
  event.kind = kind;
  event.a = a;
  event.b = b;
  Pending.push_back(event);
}

void WebBackend::PointerAt(double css_x, double css_y, double css_width, double css_height) {
  if (css_width <= 0 || css_height <= 0) return;
  // The canvas is shown at a whole multiple of the frame: a page pixel maps back by division.
  const int x = static_cast<int>(std::floor(css_x * FrameWidth / css_width));
  const int y = static_cast<int>(std::floor(css_y * FrameHeight / css_height));
  Queue(ScriptedEvent::Kind::MouseMove, x, y);
}

void WebBackend::FocusLost() {
  Queue(ScriptedEvent::Kind::FocusLost);
}

void WebBackend::PumpEvents() {
  if (Script) {
    Script->PumpEvents();
    return;
  }
  // The pads are read, not queued.
  for (const ScriptedEvent& event : Pending)
    InputDeliver(event);
  Pending.clear();
  GamePads.Sample();
}

void WebBackend::ReadJoystick(int port) {
  if (Script) {
    Script->ReadJoystick(port);
    return;
  }
  InputSetJoystick(port, GamePads.Read(port));
}

void WebBackend::Present(const uint32_t* pixels, int width, int height, int sync) {
  if (Script) Script->Present(pixels, width, height, sync);
  LastPixels = pixels;
  Show(pixels, width, height);
}

void WebBackend::ShowAgain() {
  if (LastPixels) Show(LastPixels, FrameWidth, FrameHeight);
}

uint32_t WebBackend::Millis() {
  if (Script) return Script->Millis();
  return static_cast<uint32_t>(static_cast<uint64_t>(emscripten_get_now()));
}

void WebBackend::Sleep(int ms) {
  if (Script) {
    Script->Sleep(ms);
    return;
  }
  if (ms > 0) PausedUntil = emscripten_get_now() + ms;
}

bool WebBackend::Paused() {
  return !Script && emscripten_get_now() < PausedUntil;
}

bool WebBackend::EndOfPass() {
  return Script ? Script->EndOfPass() : true;
}
