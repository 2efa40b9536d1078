// The picture area: the 800 x 500 letterbox viewport 50 pixels above the window's bottom edge, with
// either of the two projections every drawing of the presentation uses. Each leaves the modelview
// matrix current and set to the identity.
#pragma once

// 45-degree perspective at the fixed aspect 4:3 (although the viewport is 8:5), near plane the
// float 0.01 widened, far plane 100.
void setPictureAreaPerspective();
// 800 x 600 overlay units with y pointing down, squeezed onto the 500-pixel-high viewport.
void setPictureAreaOrtho();
