// The emulated handheld as it is switched on for Dernolo, for scenario tests and benchmarks alike:
// the journal and planned failures cleared, a 240 x 320 screen, a fresh window manager with the
// standard controls and the shell, and the program-wide state as it is before the program starts.
// The device root and the program's path are the caller's.
#pragma once

void switchDernoloDeviceOn();
void switchDernoloDeviceOff();
