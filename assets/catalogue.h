// Everything the presentation loads before it starts, in a fixed order: the light, the head, the
// eight picture slots, the particle emitter's settings, the four 3DS scenes and the head's skin.
#pragma once

void loadAssets();
