// The context menus' Win32 side: the menu resource's first popup shown at a
// point of the text window, the choice returned to the marking.
#include <windows.h>

#include "support/platform.h"
#include "support/app_win32.h"

int plat_context_menu(const char* menuName, int x, int y) {
    if (!App.mainWindow || menuName == nullptr) return 0;
    HMENU menu = LoadMenuA(App.instance, menuName);
    if (!menu) return 0;
    int command = 0;
    if (HMENU popup = GetSubMenu(menu, 0)) {
        POINT at{x, y};
        ClientToScreen(App.mainWindow, &at);
        // The default flags, and the choice returned rather than sent: the
        // marking posts it to the main window.
        command = static_cast<int>(TrackPopupMenu(popup, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RETURNCMD, at.x,
                                                  at.y, 0, App.mainWindow, nullptr));
    }
    DestroyMenu(menu);
    return command;
}
