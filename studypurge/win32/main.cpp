// studypurge.exe: removes the stored data of chosen analysis products from a PLANDRY
// part or assembly document.
#include <windows.h>

#include "CkwpurgeApp.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    return spwin::CkwpurgeApp(instance).InitInstance();
}
