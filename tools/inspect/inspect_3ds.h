// `demotool inspect 3ds FILE`: the scene as the reader sees it, as JSON on stdout.
#pragma once

int inspect3ds(const char* path);
