// The player's pads in a web page, in the order the page saw them connected: the first is port
// 0. The browser hides a pad until a button on it is pressed; after that it comes and goes as
// it is plugged in and out.
#pragma once

#include <string>
#include <vector>

#include "platform/input.h"

class WebPads {
 public:
  // Takes the browser's present readings (once a pass) and notices pads that came or went.
  // Nothing is read before the browser has announced a pad: asking for the readings every
  // pass keeps the browser polling its devices, pad or none.
  void Sample();
  void Announced() { Listening = true; }
  // The pad at the port as the game reads it; present = false where there is none.
  JoystickReading Read(int port) const;
  int Count() const { return static_cast<int>(Ports.size()); }

 private:
  struct Pad {
    long index = -1;  // the browser's number for it
    std::string name;
    JoystickReading reading;
  };
  std::vector<Pad> Ports;
  bool Listening = false;  // the browser has announced a pad since the page opened
};
