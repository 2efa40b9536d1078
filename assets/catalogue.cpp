#include "assets/catalogue.h"

void loadAssets() {}
