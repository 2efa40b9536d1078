// Projection switches, the per-frame border and strip overlay, and the blocks of the frame skeleton
// that scenes 1 to 6 share.
#pragma once

#include <cstdint>

// The head vertex that scenes 1 and 2 drag downwards; the generator sculpts it onto the chin.
constexpr uint32_t kHeadDragVertex = 1084;

// While non-zero the overlay also draws the six scrolling strips; scene 4 sets it, nothing clears
// it.
extern int32_t stripsEnabled;
// Scroll position of the strips in overlay pixels; wraps modulo 65536.
extern uint16_t stripOffset;

void setOrthoView();
void setPerspectiveView();
void drawFrameOverlay(uint16_t delta);

// The y of strip i (1 to 6) for a strip offset, as handed to Texture::draw (16-bit wrap).
uint16_t stripY(int strip, uint16_t offset);
// stripOffset after a frame of `delta` milliseconds (only the low 16 bits of delta count).
uint16_t advanceStripOffset(uint16_t offset, uint16_t delta);

// Frame skeleton blocks.
void scenePrologue();
void particleBlockState();  // the particle block's state changes alone
void particleBlock();       // state changes, then one update and one draw of `particles`
void modelBlockBegin();     // lighting and depth test on
void headBlock(uint32_t delta);
void sceneEpilogue(uint32_t delta);  // lighting and depth test off, then the overlay
