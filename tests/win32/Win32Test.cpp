// The native Windows front-end under Wine (no display needed): the main window's layout and
// tab order, its start-up, the registry store and the splash window.
#include <gtest/gtest.h>

#include <windows.h>

#include <oleacc.h>

#include <fstream>

#include "app/Form1Composition.h"
#include "app/Product.h"
#include "com/ComOwners.h"
#include "com/ComText.h"
#include "support/ScriptedServices.h"
#include "win32/Form1Window.h"
#include "win32/RegistrySettingsStore.h"
#include "win32/SplashWindow.h"
#include "win32/Win32EventPump.h"
#include "win32/Win32OpenFileDialog.h"

namespace {

RECT ClientRectOf(HWND control) {
    RECT rect{};
    GetWindowRect(control, &rect);
    MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

std::string Text(HWND window) {
    wchar_t text[256] = {};
    GetWindowTextW(window, text, 256);
    return com::Utf8(text);
}

// A 24-bit bitmap file of `width` x `height` pixels, all one colour.
void WriteBitmap(const std::string& path, int width, int height) {
    const int stride = (width * 3 + 3) / 4 * 4;
    const DWORD pixels = static_cast<DWORD>(stride * height);
    const DWORD headers = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
    BITMAPFILEHEADER file{0x4D42, headers + pixels, 0, 0, headers};
    BITMAPINFOHEADER info{sizeof info, width, height, 1, 24, BI_RGB, pixels, 3780, 3780, 0, 0};
    std::ofstream out(com::Wide(path).c_str(), std::ios::binary);
    out.write(reinterpret_cast<const char*>(&file), sizeof file);
    out.write(reinterpret_cast<const char*>(&info), sizeof info);
    out << std::string(pixels, '\x60');
}

class Form1WindowTest : public ::testing::Test {
  protected:
    ScriptedPlatform s{"C:\\nonexistent"};
    Form1Window form{s.platform, GetModuleHandleW(nullptr)};
};

// The window's layout against its design, at 96 and at 144 dots per inch.
class Form1WindowLayout : public ::testing::TestWithParam<int> {
  protected:
    Form1WindowLayout() { CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED); }
    ~Form1WindowLayout() override { CoUninitialize(); }
    LONG pixels(int twips) const { return MulDiv(twips, GetParam(), 1440); }

    ScriptedPlatform s{"C:\\nonexistent"};
    Form1Window form{s.platform, GetModuleHandleW(nullptr), GetParam()};
};

// What the accessibility layer answers as the control's name.
std::string AccessibleName(HWND control) {
    com::ComPtr<IAccessible> accessible;
    if (FAILED(
            AccessibleObjectFromWindow(control, OBJID_CLIENT, IID_IAccessible, accessible.out()))) {
        return "(no accessible object)";
    }
    VARIANT self{};
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    BSTR name = nullptr;
    if (FAILED(accessible->get_accName(self, &name)) || !name) return "";
    const std::string text = com::Utf8(name);
    SysFreeString(name);
    return text;
}

}  // namespace

TEST_P(Form1WindowLayout, EveryControlSitsWhereTheDesignPutsItAndTabFollowsItsOrder) {
    const WindowDesign& design = kForm1Design;
    const HWND window = form.handle();
    RECT client{};
    GetClientRect(window, &client);
    EXPECT_EQ(client.right, pixels(design.client.width));
    EXPECT_EQ(client.bottom, pixels(design.client.height));
    EXPECT_EQ(Text(window), design.caption);
    const LONG style = GetWindowLongW(window, GWL_STYLE);
    EXPECT_TRUE(style & WS_MINIMIZEBOX);
    EXPECT_FALSE(style & (WS_MAXIMIZEBOX | WS_THICKFRAME));
    HWND below = nullptr;
    for (const ControlDesign& control : design.controls) {
        const HWND hwnd = form.control(control.name);
        ASSERT_NE(hwnd, nullptr) << control.name;
        const TwipRect place = PlaceOnWindow(design, control);
        const RECT at = ClientRectOf(hwnd);
        EXPECT_EQ(at.left, pixels(place.left)) << control.name;
        EXPECT_EQ(at.top, pixels(place.top)) << control.name;
        EXPECT_EQ(at.right - at.left, pixels(place.width)) << control.name;
        EXPECT_EQ(at.bottom - at.top, pixels(place.height)) << control.name;
        // Stacked in the designed order: each lies above the one before it.
        if (below) {
            EXPECT_EQ(GetWindow(hwnd, GW_HWNDNEXT), below) << control.name;
        }
        below = hwnd;
        if (control.kind == ControlKind::Button && *control.accessibleName) {
            EXPECT_EQ(AccessibleName(hwnd), control.accessibleName);
        }
    }
    form.showCentred();
    EXPECT_EQ(GetFocus(), form.control(design.firstFocus));
    const auto order = TabOrder(design);
    for (std::size_t i = 1; i <= order.size(); ++i) {
        MSG tab{GetFocus(), WM_KEYDOWN, VK_TAB, 0, 0, {}};
        ASSERT_TRUE(form.takeKey(tab));
        EXPECT_EQ(GetFocus(), form.control(order[i % order.size()]->name)) << i;
    }
}

INSTANTIATE_TEST_SUITE_P(DotsPerInch, Form1WindowLayout, ::testing::Values(96, 144));

TEST_F(Form1WindowTest, StartUpDressesTheWindowAndTheBoxesAreRememberedAsTyped) {
    HICON blank = reinterpret_cast<HICON>(SendMessageW(form.handle(), WM_GETICON, ICON_BIG, 0));
    form.Form_Load();
    EXPECT_EQ(Text(form.handle()), kProductName);
    EXPECT_NE(reinterpret_cast<HICON>(SendMessageW(form.handle(), WM_GETICON, ICON_BIG, 0)), blank);
    EXPECT_EQ(s.prompts.applicationTitle(), "Quorvane Paired Office Paper Examiners");
    SetWindowTextW(form.control("Text1"), L"C:\\a b\\Übersicht.doc");
    EXPECT_EQ(s.settings.writes, (std::vector<std::string>{"Excel File=C:\\a b\\Übersicht.doc"}));
    EXPECT_EQ(form.Text1().currentText(), "C:\\a b\\Übersicht.doc");
}

TEST(RegistrySettingsStore, TextComesBackExactlyAndMissingValuesReadAsTheDefault) {
    RegistrySettingsStore store("Software\\Quorvane Tests");
    const std::string app = "Meldrisk", section = kProductName;
    EXPECT_EQ(store.read(app, section, "Excel File"), "");
    EXPECT_EQ(store.read(app, section, "ShowAgain", "0"), "0");
    for (const std::string text :
         {"  C:\\Tools\\Samples\\sample1.doc ", "", "Übersicht 文件.docx"}) {
        store.write(app, section, "Excel File", text);
        EXPECT_EQ(store.read(app, section, "Excel File"), text);
    }
    EXPECT_EQ(store.read("Another", section, "Excel File"), "");
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Quorvane Tests");
}

TEST(Win32OpenFileDialog, TheFilterBecomesPartsEndedByNuls) {
    EXPECT_EQ(Win32OpenFileDialog::FilterText("All Excel Files (*.doc*)|*.doc*|"),
              std::wstring(L"All Excel Files (*.doc*)\0*.doc*\0\0", 33));
}

TEST(SplashWindow, FitsItsPictureAndStoresTheChoiceAtOnce) {
    wchar_t folder[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, folder);
    const std::string app = com::Utf8(folder) + "quorvane-splash-test";
    CreateDirectoryW(com::Wide(app).c_str(), nullptr);
    CreateDirectoryW(com::Wide(app + "\\Splash").c_str(), nullptr);
    WriteBitmap(app + "\\Splash\\welcome.bmp", 200, 150);
    ScriptedPlatform s(app);
    SplashWindow splash(s.settings, s.prompts, GetModuleHandleW(nullptr));
    struct ClickingPump : EventPump {
        HWND box;
        void handleEventsFor(double) override { SendMessageW(box, BM_CLICK, 0, 0); }
    } pump;
    pump.box = splash.checkBox();
    s.clock.readings = {0.0, 0.0, 5.0};
    SplashShow(splash, s.settings, s.clock, pump, app, false);
    EXPECT_EQ(s.settings.writes, (std::vector<std::string>{"ShowAgain=1"}));
    RECT window{};
    GetWindowRect(splash.handle(), &window);
    EXPECT_EQ(window.right - window.left, 200);
    EXPECT_EQ(window.bottom - window.top, 170);
    EXPECT_FALSE(IsWindowVisible(splash.handle()));
    DeleteFileW(com::Wide(app + "\\Splash\\welcome.bmp").c_str());
    RemoveDirectoryW(com::Wide(app + "\\Splash").c_str());
    RemoveDirectoryW(com::Wide(app).c_str());
}

TEST(Win32EventPump, WaitingLeavesTheProcessorIdle) {
    auto busy = [] {
        FILETIME created, ended, kernel, user;
        GetProcessTimes(GetCurrentProcess(), &created, &ended, &kernel, &user);
        auto ticks = [](FILETIME t) {
            return (ULONGLONG(t.dwHighDateTime) << 32) | t.dwLowDateTime;
        };
        return (ticks(kernel) + ticks(user)) / 1e7;  // 100-ns ticks to seconds
    };
    const double before = busy();
    const DWORD start = GetTickCount();
    Win32EventPump().handleEventsFor(0.5);
    EXPECT_GE(GetTickCount() - start, 450u);
    EXPECT_LT(busy() - before, 0.1);
}
