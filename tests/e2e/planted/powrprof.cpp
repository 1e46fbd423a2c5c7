// A Powrprof.dll that a test plants beside the program. It exports no
// SetSuspendState, so a program that loaded it would report the function missing.
#include <windows.h>

extern "C" __declspec(dllexport) int planted_marker() { return 1; }

BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) { return TRUE; }
