#pragma once

// Reading the desktop's pixels from the screen's device context, as they
// stand at the moment of the call. All in real pixels: the program's
// manifest declares it per-monitor DPI aware.

#include "capture/capture_limits.h"

#include <string>
#include <vector>

// The whole desktop across every monitor, and the primary screen in it.
ScreenArea VirtualDesktop();
ScreenArea PrimaryScreen();

// The on-screen rectangle of the visible top-level window captioned title:
// its visible bounds where the system has them, else its window rectangle;
// cut to the desktop. Refused, with a reason, when there is no such window
// or none of it is on the desktop.
bool FindWindowArea(const std::string& title, ScreenArea& area, std::string& reason);

// The area's pixels: 32 bits each (blue, green, red, unused), rows top first,
// width x 4 bytes each.
bool GrabScreenArea(const ScreenArea& area, std::vector<unsigned char>& topFirstBgrx,
                    std::string& reason);
