// The shared environment of the Wine test program: main window, App, dialog
// manager and the recording box hook.
#include "wine_environment.h"

#include "framework/dialog_win32.h"
#include "framework/messages_win32.h"
#include "shell/app_win32.h"

#include <gtest/gtest.h>

#include <cstring>
#include <deque>

namespace {

constexpr const char* kClassName = "Y8WineTestMain";

struct EnvironmentState {
    std::vector<WineBox> boxes;
    std::deque<int> answers;
    std::vector<WineCommand> commands;
    bool ownFont = false;
};

EnvironmentState E;

int recordBox(const char* text, unsigned style, const char* caption, HWND owner) {
    WineBox box;
    box.text = text ? text : "";
    box.style = style;
    box.caption = caption ? caption : "";
    box.owner = owner;
    box.mainEnabled = App.mainWindow && IsWindowEnabled(App.mainWindow);
    E.boxes.push_back(box);
    if (!E.answers.empty()) {
        int answer = E.answers.front();
        E.answers.pop_front();
        return answer;
    }
    return (style & 0x0F) != MB_OK ? IDCANCEL : IDOK;
}

LRESULT CALLBACK mainProc(HWND w, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_COMMAND) E.commands.push_back({LOWORD(wParam), lParam});
    return DefWindowProcA(w, msg, wParam, lParam);
}

class WineEnvironment : public ::testing::Environment {
  public:
    void SetUp() override {
        App.instance = GetModuleHandleA(nullptr);
        std::strncpy(App.title, "ZEMO Editor", sizeof App.title - 1);

        WNDCLASSA wc = {};
        wc.style = CS_DBLCLKS;
        wc.lpfnWndProc = mainProc;
        wc.hInstance = App.instance;
        wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
        wc.lpszClassName = kClassName;
        ASSERT_NE(RegisterClassA(&wc), 0) << "window class";

        App.mainWindow = CreateWindowExA(0, kClassName, App.title,
                                         WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, 0, 900, 700,
                                         nullptr, nullptr, App.instance, nullptr);
        ASSERT_NE(App.mainWindow, nullptr) << "main window";
        ShowWindow(App.mainWindow, SW_SHOW);
        SetForegroundWindow(App.mainWindow);

        App.font = CreateFontA(16, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, ANSI_CHARSET,
                               OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                               FIXED_PITCH | FF_MODERN, "Courier New");
        E.ownFont = App.font != nullptr;
        if (!App.font) App.font = static_cast<HFONT>(GetStockObject(ANSI_FIXED_FONT));

        dlg_init();
        box_set_hook(recordBox);
        runState = 2;  // wine_pump is the message loop
        wine_pump();
    }

    void TearDown() override {
        dlg_close_all();
        wine_pump();
        runState = 3;
        if (App.mainWindow) DestroyWindow(App.mainWindow);
        App.mainWindow = nullptr;
        dlg_exit();
        box_set_hook(nullptr);
        if (E.ownFont) DeleteObject(App.font);
        App.font = nullptr;
        UnregisterClassA(kClassName, App.instance);
    }
};

::testing::Environment* const kEnvironment =
    ::testing::AddGlobalTestEnvironment(new WineEnvironment);

}  // namespace

void wine_queue_box_answer(int answer) { E.answers.push_back(answer); }

const std::vector<WineBox>& wine_seen_boxes() { return E.boxes; }

void wine_clear_boxes() {
    E.boxes.clear();
    E.answers.clear();
}

void wine_pump() {
    // A bound, so that a message that keeps posting itself cannot hang the run.
    MSG msg;
    for (int n = 0; n < 100000 && PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE); ++n) {
        if (msg.message == WM_QUIT) continue;
        if (App.accelerators && App.mainWindow &&
            TranslateAcceleratorA(App.mainWindow, App.accelerators, &msg))
            continue;
        if (dlg_is_message(&msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

const std::vector<WineCommand>& wine_main_commands() { return E.commands; }

void wine_clear_main_commands() { E.commands.clear(); }
