// Placed first on the portable core's include path: the core never sees Win32.
#error "Win32 header <winnt.h> included in the portable core; move this code into a *_win32.cpp file"
