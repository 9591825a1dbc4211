// The frame of the program: start-up, the main window, the message loop, the
// shut-down, the DDE service and the about box.
#include "shell/mainwin_win32.h"

#include <commctrl.h>

#include <cstring>

#include "document/docfile.h"
#include "document/filehist.h"
#include "document/filehist_win32.h"
#include "document/linestore.h"
#include "document/undelete.h"
#include "framework/dialog_win32.h"
#include "framework/messages.h"
#include "printing/printing_win32.h"
#include "support/platform.h"
#include "resources/resource.h"
#include "support/app_win32.h"
#include "shell/bindings.h"
#include "shell/config.h"
#include "shell/config_win32.h"
#include "support/devices.h"
#include "support/files.h"
#include "support/profile.h"
#include "support/profile_win32.h"
#include "support/status_win32.h"
#include "support/strfunc.h"
#include "view/options.h"
#include "view/refresh.h"
#include "view/textview.h"
#include "view/textview_win32.h"

bool otherInstance = false;
int windowSlot = 1;

namespace {

constexpr const char* kPlacementKey = "MainWindow";
constexpr const char* kStatusWidths = "12 60 120";

// The frame's own state besides App and runState.
struct ShellState {
    StartConfig config;         // the options of ANW_CONFIG
    bool resultOverride;        // setWindowResult was called for the current message
    LRESULT overrideValue;      // what the main window procedure returns then
    bool fontOwned;             // App.font was created here (not a stock font)
    bool brushOwned;            // App.bgBrush was created here (not a system brush)
    DWORD ddeInstance;          // 0: no DDE
    HSZ ddeService;             // the registered service name
};
ShellState shell = [] {
    ShellState s{};
    configDefaults(&s.config);
    return s;
}();

// The bytes of ANW_CONFIG applied to the options; a missing resource keeps
// every default.
void configLoad(HINSTANCE instance) {
    HRSRC found = FindResourceA(instance, "ANW_CONFIG", RT_RCDATA);
    if (!found) return;
    HGLOBAL loaded = LoadResource(instance, found);
    const void* data = loaded ? LockResource(loaded) : nullptr;
    if (!data) return;
    configApply(&shell.config, static_cast<const char*>(data), SizeofResource(instance, found));
}

bool registerMainClass(HINSTANCE instance) {
    const StartConfig& c = shell.config;
    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof wc;
    wc.style = c.classStyle;
    wc.lpfnWndProc = mainWindowProc;
    wc.hInstance = instance;
    wc.hIcon = LoadIconA(instance, c.largeIcon);
    wc.hIconSm = static_cast<HICON>(LoadImageA(instance, c.smallIcon, IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                               GetSystemMetrics(SM_CYSMICON), 0));
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = App.bgBrush;
    wc.lpszClassName = App.className;
    return RegisterClassExA(&wc) != 0;
}

// Show commands for which the stored placement of the main window is restored.
bool restoresPlacement(int showCommand) {
    switch (showCommand) {
    case SW_SHOWNORMAL:
    case SW_SHOWNOACTIVATE:
    case SW_SHOW:
    case SW_SHOWNA:
    case SW_RESTORE:
    case SW_SHOWDEFAULT:
        return true;
    default:
        return false;
    }
}

void windowShow(int showCommand) {
    int restored = 0;
    if (restoresPlacement(showCommand))
        restored = restore_window_pos(App.mainWindow, kPlacementKey, shell.config.wpSection, 0);
    if (restored == PLACEMENT_SHOW_MAXIMIZED && shell.config.maxi) ShowWindow(App.mainWindow, SW_SHOWMAXIMIZED);
    else ShowWindow(App.mainWindow, showCommand);
    UpdateWindow(App.mainWindow);
}

// The one message loop: accelerators, then the open dialogs, then dispatch.
int messageLoop() {
    MSG msg = {};
    BOOL got;
    while ((got = GetMessageA(&msg, nullptr, 0, 0)) != 0) {
        if (got == -1) break;  // no message can come any more
        if (InSendMessage()) ReplyMessage(0);
        if (App.accelerators && TranslateAcceleratorA(App.mainWindow, App.accelerators, &msg)) continue;
        if (dlg_is_message(&msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return static_cast<int>(msg.wParam);
}

void cleanUp() {
    if (shell.fontOwned) DeleteObject(App.font);
    shell.fontOwned = false;
    if (shell.brushOwned && App.bgBrush) DeleteObject(App.bgBrush);
    shell.brushOwned = false;
    App.bgBrush = nullptr;
    ddeStop();
    dlg_exit();
    free_texts();
}

// The shut-down, once: false when the window stays. A WM_CLOSE or 1998 that
// arrives while the question is up (runState 4) is ignored; when "Ja" could not
// be carried out the program runs on as it was.
bool closeMainWindow(HWND window) {
    if (runState != 2) return false;
    runState = 4;
    drag_accept(App.mainWindow, 0);
    if (!shutdownMayEnd()) {
        drag_accept(App.mainWindow, 1);
        runState = 2;
        return false;
    }
    save_window_pos(window, kPlacementKey, shell.config.wpSection);
    dlg_close_all();
    appShutdown();
    runState = 5;
    return true;
}

}  // namespace

const StartConfig& startConfig() { return shell.config; }

HBRUSH backgroundBrush(const StartConfig& c, HINSTANCE instance, bool* owned) {
    *owned = true;
    switch (c.background) {
    case Background::Colour:
        if (HBRUSH brush = CreateSolidBrush(RGB(c.red, c.green, c.blue))) return brush;
        break;
    case Background::System:
        *owned = false;
        return GetSysColorBrush(COLOR_WINDOW);
    case Background::Bitmap:
        if (HBITMAP bitmap = LoadBitmapA(instance, c.bgBitmap)) {
            HBRUSH brush = CreatePatternBrush(bitmap);
            DeleteObject(bitmap);  // the brush keeps its own copy
            if (brush) return brush;
        }
        [[fallthrough]];
    case Background::Workspace:
        if (HBRUSH brush = CreateSolidBrush(GetSysColor(COLOR_APPWORKSPACE))) return brush;
        break;
    }
    *owned = false;  // the system's own brush is never deleted
    return GetSysColorBrush(COLOR_APPWORKSPACE);
}

HFONT programFont(const StartConfig& c, bool* owned) {
    HFONT font = nullptr;
    if (c.font[0]) {
        font = CreateFontA(HIWORD(GetDialogBaseUnits()), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, ANSI_CHARSET,
                           OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FIXED_PITCH, c.font);
    }
    *owned = font != nullptr;
    return font ? font : static_cast<HFONT>(GetStockObject(ANSI_FIXED_FONT));
}

// ---------------------------------------------------------------- WinMain

int WINAPI WinMain(HINSTANCE instance, HINSTANCE /*previous*/, LPSTR cmdLine, int showCommand) {
    runState = 0;
    App.instance = instance;
    App.cmdLine = cmdLine ? cmdLine : "";
    configLoad(instance);
    str_ncopy(App.title, shell.config.title, CONFIG_NAME_MAX);
    str_ncopy(App.className, shell.config.className, CONFIG_CLASS_MAX);

    otherInstance = FindWindowA(App.className, nullptr) != nullptr;
    if (shell.config.single && otherInstance) return 0;

    ini_set_file(shell.config.wpFile);
    dlg_init();
    if (!otherInstance) windowSlot = 0;

    App.bgBrush = backgroundBrush(shell.config, instance, &shell.brushOwned);
    if (!registerMainClass(instance)) return 0;
    runState = 1;

    App.menu = LoadMenuA(instance, "ANW_MENU");
    App.accelerators = LoadAcceleratorsA(instance, "ANW_ACCEL");
    App.arrowCursor = LoadCursor(nullptr, IDC_ARROW);
    App.waitCursor = LoadCursor(nullptr, IDC_WAIT);
    App.ownCursor = LoadCursorA(instance, "KAL_CUR");

    App.mainWindow = CreateWindowExA(0, App.className, App.title, shell.config.windowStyle, CW_USEDEFAULT,
                                     CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, App.menu, instance,
                                     nullptr);
    if (!App.mainWindow) return 0;

    App.font = programFont(shell.config, &shell.fontOwned);
    InitCommonControls();
    if (appInit() == -1) return 0;

    windowShow(showCommand);
    if (shell.config.ddeServer) ddeStart(App.className);

    runState = 2;
    const int code = messageLoop();

    runState = 3;
    cleanUp();
    runState = 9;
    return code;
}

// ---------------------------------------------------------------- the main window

LRESULT CALLBACK mainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    shell.resultOverride = false;
    switch (message) {
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case CMD_EXIT:
            PostMessageA(App.mainWindow, WM_CLOSE, 0, 0);
            break;
        case CMD_ABOUT:
            DialogBoxParamA(App.instance, "ANW_ABOUT", window, aboutProc, 0);
            break;
        default:
            if (runState == 2) appProc(message, wParam, lParam);
            break;
        }
        return 0;
    case WM_DRAWITEM:
        if (runState == 2) {
            appProc(message, wParam, lParam);
            return 1;
        }
        break;
    case WM_DESTROY:
        status_destroy();  // the bar goes with the window: later status texts do nothing
        PostQuitMessage(0);
        return 0;
    case WM_SIZE:
        status_resize(LOWORD(lParam), HIWORD(lParam));
        break;
    case WM_CLOSE:
        if (!closeMainWindow(window)) return 0;
        return DefWindowProcA(window, message, wParam, lParam);
    default:
        break;
    }
    if (runState == 2) appProc(message, wParam, lParam);
    if (shell.resultOverride) return shell.overrideValue;
    return DefWindowProcA(window, message, wParam, lParam);
}

void setWindowResult(LRESULT value) {
    shell.resultOverride = true;
    shell.overrideValue = value;
}

void appCursor(int kind) {
    HCURSOR cursor = kind == 1 ? App.waitCursor : kind == 2 ? App.ownCursor : App.arrowCursor;
    if (cursor) SetCursor(cursor);
}

// ---------------------------------------------------------------- the program's start and end

int appInit() {
    files_win32_install();
    printing_win32_install();

    char program[FILE_PATH_MAX + 1], iniTemplate[FILE_PATH_MAX + 1];
    if (plat_program_path(program, sizeof program) && installTemplatePath(iniTemplate, program) > 0) {
        ini_install(iniTemplate);
    }

    status_create(kStatusWidths);

    Y8_ASSERT("mainwin", __LINE__, windowCreate(), "windowCreate()");
    Y8_ASSERT("mainwin", __LINE__, storeCreate(), "storeCreate()");
    viewCreate();
    undeleteCreate();
    historyCreate();
    historyMenuInstall();  // the recent files appear at the end of "&Datei"
    extensionsInstall();   // the directory panel hides files by the settings' patterns

    toolsBind();  // the tools' keys and refresh listeners, before the first key or refresh

    rowsReady = 1;
    optionsSetDefaults();
    optionsLoad();
    docNew();

    refreshAll();

    startupReset();
    commandLineProcess();
    drag_accept(App.mainWindow, 1);
    return 0;
}

void appShutdown() {
    optionsSave();
    historyDestroy();
    undeleteDestroy();
    viewDestroy();
    storeDestroy();
    windowDestroy();
    slotRelease(windowSlot);
}

// ---------------------------------------------------------------- DDE service

bool ddeStart(const char* service) {
    if (shell.ddeInstance) return false;
    DWORD instance = 0;
    if (DdeInitializeA(&instance, ddeCallback, APPCLASS_STANDARD | CBF_SKIP_ALLNOTIFICATIONS | CBF_FAIL_ADVISES, 0) !=
        DMLERR_NO_ERROR)
        return false;
    shell.ddeInstance = instance;
    shell.ddeService = DdeCreateStringHandleA(instance, service, CP_WINANSI);
    if (shell.ddeService && DdeNameService(instance, shell.ddeService, nullptr, DNS_REGISTER)) return true;
    ddeStop();
    return false;
}

void ddeStop() {
    if (!shell.ddeInstance) return;
    if (shell.ddeService) {
        DdeNameService(shell.ddeInstance, shell.ddeService, nullptr, DNS_UNREGISTER);
        DdeFreeStringHandle(shell.ddeInstance, shell.ddeService);
    }
    DdeUninitialize(shell.ddeInstance);
    shell.ddeInstance = 0;
    shell.ddeService = nullptr;
}

HDDEDATA CALLBACK ddeCallback(UINT type, UINT /*format*/, HCONV /*conversation*/, HSZ string1, HSZ string2,
                              HDDEDATA data, ULONG_PTR /*data1*/, ULONG_PTR /*data2*/) {
    switch (type) {
    case XTYP_CONNECT: {
        char asked[DDE_SERVICE_MAX + 1];
        if (!DdeQueryStringA(shell.ddeInstance, string2, asked, sizeof asked, CP_WINANSI)) return nullptr;
        return reinterpret_cast<HDDEDATA>(static_cast<INT_PTR>(ddeServiceMatches(asked, App.className)));
    }
    case XTYP_EXECUTE: {
        unsigned char bytes[DDE_DATA_MAX];
        const DWORD got = data ? DdeGetData(data, bytes, sizeof bytes, 0) : 0;
        char topic[DDE_TOPIC_MAX + 1] = "";
        DdeQueryStringA(shell.ddeInstance, string1, topic, sizeof topic, CP_WINANSI);
        if (data) DdeFreeDataHandle(data);
        char text[DDE_DATA_MAX + 1];
        char topicText[DDE_TOPIC_MAX + 1];
        ddeExecuteTake(bytes, got, topic, text, topicText);
        ddeExecuteHook(text, topicText);
        return reinterpret_cast<HDDEDATA>(static_cast<INT_PTR>(DDE_FACK));
    }
    default:
        return nullptr;
    }
}

// ---------------------------------------------------------------- about box

INT_PTR CALLBACK aboutProc(HWND dialog, UINT message, WPARAM wParam, LPARAM /*lParam*/) {
    switch (message) {
    case WM_INITDIALOG: {
        RECT box = {};
        GetWindowRect(dialog, &box);
        int x = 0;
        int y = 0;
        aboutPlace(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), box.right - box.left,
                   box.bottom - box.top, &x, &y);
        SetWindowPos(dialog, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        return TRUE;
    }
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
            EndDialog(dialog, LOWORD(wParam));
            return TRUE;
        }
        break;
    default:
        break;
    }
    return FALSE;
}
