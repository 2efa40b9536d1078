#include "fx/view.h"

int32_t stripsEnabled = 0;
uint16_t stripOffset = 0;

void setOrthoView() {}
void setPerspectiveView() {}
void drawFrameOverlay(uint16_t) {}
uint16_t stripY(int, uint16_t) {
  return 0;
}
uint16_t advanceStripOffset(uint16_t offset, uint16_t) {
  return offset;
}
void scenePrologue() {}
void particleBlockState() {}
void particleBlock() {}
void modelBlockBegin() {}
void headBlock(uint32_t) {}
void sceneEpilogue(uint32_t) {}
