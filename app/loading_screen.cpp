#include "app/loading_screen.h"

void showLoadingScreen() {}
