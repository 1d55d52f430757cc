// What changed in the frame since it was last shown, so the window scales and sends only that.
// The picture of a game standing still changes in a few small places from frame to frame; the
// window may be many times the frame's size, and scaling and sending all of it every frame costs
// more than the game's own pass.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/changed_blocks.h"
#include "platform/render/frame_fit.h"

// A copy of the frame last shown, compared with each new frame row by row.
class ShownFrame {
 public:
  // Compares the frame with the copy and brings the copy up to date. Returns the changed areas:
  // bands of rows, each as wide as its changes, in order from the top and not overlapping. The
  // whole frame after Forget() and whenever the frame's size changed.
  const std::vector<FrameRect>& Update(const uint32_t* frame, int width, int height);
  // What was shown is gone (a new window surface, a new texture): the next frame is whole.
  void Forget() { Width = Height = 0; }
  // Outside these blocks the next frame holds what the frame last given did. Notes add up
  // until an Update takes them; an Update with none noted compares the whole frame.
  void NoteChanges(const ChangedBlocks& blocks) {
    Noted.Add(blocks);
    HasNote = true;
  }

 private:
  ChangedBlocks Noted;
  bool HasNote = false;
  const uint32_t* Source = nullptr;  // the frame last given
  std::vector<uint32_t> Copy;
  std::vector<FrameRect> Changes;
  int Width = 0, Height = 0;
};

// The rows the two lists of areas cover, each row once: per row, from the leftmost to the
// rightmost column any area covers in it, and rows with the same columns joined. What is
// painted area by area from the result is painted exactly once, so a blend over it is too.
// Neither list may overlap itself (Update's never does); when one is empty the other is kept.
std::vector<FrameRect> CoverRows(const std::vector<FrameRect>& a, const std::vector<FrameRect>& b,
                                 int width, int height);

// CoverRows into buffers kept from one flip to the next: once they have grown to the frame's
// size, nothing is allocated.
class RowCover {
 public:
  const std::vector<FrameRect>& Of(const std::vector<FrameRect>& a, const std::vector<FrameRect>& b,
                                   int width, int height);

 private:
  std::vector<FrameRect> Rows;
  std::vector<int> Left, Right;  // per row: the leftmost and past the rightmost column covered
};
