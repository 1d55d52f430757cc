// SDL keys translated to the game's virtual-key codes: named keys through a table, letters and
// digits by their position on the keyboard, whatever the layout prints on them.
#include "platform/sdl/sdl_keys.h"

namespace {

struct KeyPair {
  SDL_Keycode sdl;
  int game;
};

// Keys whose meaning does not depend on the keyboard layout.
constexpr KeyPair kNamedKeys[] = {
    {SDLK_BACKSPACE, 8},      {SDLK_TAB, 9},           {SDLK_RETURN, 13},
    {SDLK_KP_ENTER, 13},      {SDLK_LSHIFT, 16},       {SDLK_RSHIFT, 16},
    {SDLK_LCTRL, 17},         {SDLK_RCTRL, 17},        {SDLK_LALT, 18},
    {SDLK_RALT, 18},          {SDLK_PAUSE, 19},        {SDLK_CAPSLOCK, 20},
    {SDLK_ESCAPE, 27},        {SDLK_SPACE, 32},        {SDLK_PAGEUP, 33},
    {SDLK_PAGEDOWN, 34},      {SDLK_END, 35},          {SDLK_HOME, 36},
    {SDLK_LEFT, 37},          {SDLK_UP, 38},           {SDLK_RIGHT, 39},
    {SDLK_DOWN, 40},          {SDLK_INSERT, 45},       {SDLK_DELETE, 46},
    {SDLK_KP_0, 96},          {SDLK_KP_1, 97},         {SDLK_KP_2, 98},
    {SDLK_KP_3, 99},          {SDLK_KP_4, 100},        {SDLK_KP_5, 101},
    {SDLK_KP_6, 102},         {SDLK_KP_7, 103},        {SDLK_KP_8, 104},
    {SDLK_KP_9, 105},         {SDLK_KP_MULTIPLY, 106}, {SDLK_KP_PLUS, 107},
    {SDLK_KP_MINUS, 109},     {SDLK_KP_PERIOD, 110},   {SDLK_KP_DIVIDE, 111},
    {SDLK_F1, 112},           {SDLK_F2, 113},          {SDLK_F3, 114},
    {SDLK_F4, 115},           {SDLK_F5, 116},          {SDLK_F6, 117},
    {SDLK_F7, 118},           {SDLK_F8, 119},          {SDLK_F9, 120},
    {SDLK_F10, 121},          {SDLK_F11, 122},         {SDLK_F12, 123},
    {SDLK_NUMLOCKCLEAR, 144}, {SDLK_SCROLLLOCK, 145},  {SDLK_SEMICOLON, 186},
    {SDLK_EQUALS, 187},       {SDLK_COMMA, 188},       {SDLK_MINUS, 189},
    {SDLK_PERIOD, 190},       {SDLK_SLASH, 191},       {SDLK_BACKQUOTE, 192},
    {SDLK_LEFTBRACKET, 219},  {SDLK_BACKSLASH, 220},   {SDLK_RIGHTBRACKET, 221},
    {SDLK_QUOTE, 222},
};

int NamedKey(SDL_Keycode sym) {
  for (const KeyPair& pair : kNamedKeys) {
    if (pair.sdl == sym) return pair.game;
  }
  return 0;
}

}  // namespace

int GameKeyCode(const SDL_Keysym& key) {
  // Letters follow the layout, as the game's key codes do.
  if (key.sym >= SDLK_a && key.sym <= SDLK_z) return 'A' + (key.sym - SDLK_a);
  if (const int named = NamedKey(key.sym)) return named;
  // Layouts that put other symbols on the letter or digit keys still give those keys their
  // codes, by position.
  if (key.scancode >= SDL_SCANCODE_A && key.scancode <= SDL_SCANCODE_Z) {
    return 'A' + (key.scancode - SDL_SCANCODE_A);
  }
  if (key.scancode >= SDL_SCANCODE_1 && key.scancode <= SDL_SCANCODE_9) {
    return '1' + (key.scancode - SDL_SCANCODE_1);
  }
  if (key.scancode == SDL_SCANCODE_0) return '0';
  return 0;
}
