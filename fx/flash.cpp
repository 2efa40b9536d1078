#include "fx/flash.h"

void FlashOverlay::draw(float decay) {
  decayBy(decay);
}
