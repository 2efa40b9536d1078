// The additive white flash drawn over the whole picture area at the end of every frame.
#pragma once

class FlashOverlay {
 public:
  // Opacity to exactly 1.0; triggers do not accumulate.
  void trigger() { alpha = 1.0f; }
  // Lowers the opacity by decay (clamped at 0.0), then draws the flash quad at that opacity.
  void draw(float decay);
  // The arithmetic of draw() without the drawing.
  void decayBy(float decay) {
    alpha = alpha - decay;
    if (alpha < 0.0f) alpha = 0.0f;
  }

  float alpha = 0.0f;  // 0.0 invisible to 1.0 full white
};
