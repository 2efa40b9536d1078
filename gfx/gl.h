// OpenGL 1.1 and GLU, the only graphics interfaces the presentation draws with.
#pragma once

#include <GL/gl.h>
#include <GL/glu.h>
