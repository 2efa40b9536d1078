#include "app/frame_timer.h"

FrameTimer frameTimer;
