// The still picture "loading.tga" shown once on the whole window while the assets load.
#pragma once

void showLoadingScreen();
