// The macro manager as the user meets it: Option's dialog code in its test
// host over a program folder of its own, keystrokes sent through the system
// (so the low-level key capture hook sees them), the store read back from
// config\sequence.dat with the system's profile functions. The damaged-file
// start-up runs in the real Option.
#include <gtest/gtest.h>

#include <windows.h>
#include <oleacc.h>

#include <cstring>
#include <string>
#include <vector>

#include "common/text_format.h"
#include "common/trace_points.h"
#include "option/model/dialogs/macro_record.h"
#include "tests/e2e/harness/harness_win.h"
#include "tests/e2e/macros/macro_host_protocol.h"
#include "tests/e2e/option/option_driver_win.h"
#include "tests/support/artifacts_folder_win.h"
#include "tools/SkinGallery/gallery_window_win.h"

namespace {

using namespace std::chrono_literals;

constexpr const char* kManagerTitle = " Gaming Mouse Macro Manager";
constexpr const char* kStore = "config\\sequence.dat";
constexpr UINT kMacroList = 4096;
constexpr UINT kEventList = 4097;
constexpr UINT kRepeatEdit = 4010;
constexpr UINT kDelayKind = 135;
constexpr UINT kWarningOk = 1001;
constexpr UINT kEditDelay = 1004;
constexpr UINT kDeleteEvent = 1005;

constexpr UINT Control(int key) {
    return 3000 + static_cast<UINT>(key);
}
enum Key { kOk = 1, kCancel = 2, kNew = 4, kDelete = 5, kRecord = 7, kDelays = 8, kRepeat = 9 };

void Shot(HWND hwnd, const std::string& name) {
    const std::string folder = testsupport::ArtifactsFolder("macros");
    if (folder.empty() || hwnd == nullptr)
        return;
    RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    EXPECT_TRUE(gallery::SaveWindowShot(hwnd, folder + name + ".bmp")) << name;
}

// The test's own keystrokes, as the keyboard would give them.
void SendKey(BYTE vk, bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = vk;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyA(vk, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    SendInput(1, &input, sizeof input);
}

// Lets the tick count move on, so the next key comes measurably later.
void LetTimePass(DWORD ms) {
    const DWORD start = GetTickCount();
    ASSERT_TRUE(e2e::WaitUntil([&] { return GetTickCount() - start >= ms; }));
}

struct Item {
    std::string text;
    UINT data;
};

std::vector<Item> Items(HWND list) {
    std::vector<Item> items;
    const auto count = static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        // Across processes the wide form comes back whole (the narrow one
        // arrives as wide characters under Wine).
        wchar_t wide[256] = {};
        SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(wide));
        char text[256] = {};
        WideCharToMultiByte(CP_ACP, 0, wide, -1, text, sizeof text, nullptr, nullptr);
        items.push_back({text, static_cast<UINT>(
                                   SendMessageA(list, LB_GETITEMDATA, static_cast<WPARAM>(i), 0))});
    }
    return items;
}

std::vector<std::string> Texts(HWND list) {
    std::vector<std::string> texts;
    for (const Item& item : Items(list)) texts.push_back(item.text);
    return texts;
}

int EventCount(HWND list) {
    int n = 0;
    for (const Item& item : Items(list)) n += LOWORD(item.data) != kDelayKind ? 1 : 0;
    return n;
}

std::vector<int> Delays(HWND list) {
    std::vector<int> delays;
    for (const Item& item : Items(list)) {
        if (LOWORD(item.data) == kDelayKind)
            delays.push_back(std::atoi(item.text.c_str()));
    }
    return delays;
}

option::MacroRecord Record(const std::string& name, int events) {
    option::MacroRecord r{};
    option::CopyName(r.name, sizeof r.name, name);
    r.eventCount = events;
    for (int i = 0; i < events; ++i)
        r.events[i] = {static_cast<std::uint8_t>(4 + i / 2), static_cast<std::uint8_t>(1 + i % 2),
                       0};
    return r;
}

// What a screen reader reads for the items of a list, through the system's
// accessibility functions: each item's name, and whether it is selected.
struct SpokenItem {
    std::string name;
    bool selected;
    bool operator==(const SpokenItem&) const = default;
};
std::vector<SpokenItem> SpokenItems(HWND list) {
    std::vector<SpokenItem> items;
    const bool com = SUCCEEDED(CoInitialize(nullptr));
    IAccessible* object = nullptr;
    long count = 0;
    // __uuidof, not IID_IAccessible: the 64-bit oleacc import library, linked
    // here, exports that name as a function.
    if (SUCCEEDED(AccessibleObjectFromWindow(list, OBJID_CLIENT, __uuidof(IAccessible),
                                             reinterpret_cast<void**>(&object))) &&
        object != nullptr && object->get_accChildCount(&count) == S_OK) {
        for (long id = 1; id <= count; ++id) {
            VARIANT child{};
            child.vt = VT_I4;
            child.lVal = id;
            BSTR name = nullptr;
            char text[256] = {};
            if (object->get_accName(child, &name) == S_OK && name != nullptr) {
                WideCharToMultiByte(CP_ACP, 0, name, -1, text, sizeof text - 1, nullptr, nullptr);
                SysFreeString(name);
            }
            VARIANT state{};
            object->get_accState(child, &state);
            items.push_back({text, state.vt == VT_I4 && (state.lVal & STATE_SYSTEM_SELECTED) != 0});
        }
    }
    if (object != nullptr)
        object->Release();
    if (com)
        CoUninitialize();
    return items;
}

// The keys of section Macros, as the system reads the section.
std::vector<std::string> StoreKeys(const std::string& path) {
    std::vector<char> buffer(1 << 20);
    const DWORD length = GetPrivateProfileSectionA("Macros", buffer.data(),
                                                   static_cast<DWORD>(buffer.size()), path.c_str());
    std::vector<std::string> keys;
    for (const char* p = buffer.data(); p < buffer.data() + length && *p != '\0';
         p += std::strlen(p) + 1) {
        const std::string entry = p;
        keys.push_back(entry.substr(0, entry.find('=')));
    }
    return keys;
}

// The host program with the manager open on `selectName`.
class Host {
  public:
    Host(const e2e::ProgramFolder& folder, const std::string& selectName = "") {
        EXPECT_TRUE(folder.AddTestProgram("macro_manager_host.exe", "MacroHost.exe"));
        EXPECT_TRUE(process_.Start(folder.File("MacroHost.exe"), selectName));
        EXPECT_TRUE(e2e::WaitUntil([this] { return Item(kEventList) != nullptr; }));
    }
    ~Host() {
        if (process_.WaitExit(10s) == -1)
            process_.Kill();
    }

    HWND Manager() const { return FindWindowA(nullptr, kManagerTitle); }
    HWND Owner() const { return FindWindowA(nullptr, macro_host::kHostTitle); }
    HWND Item(UINT id) const { return GetDlgItem(Manager(), static_cast<int>(id)); }
    e2e::Program& Process() { return process_; }

    void Click(int key) const { Post(Manager(), Control(key)); }
    // A check button flips when the mouse button is released over it.
    void Toggle(int key) const {
        PostMessageA(Item(Control(key)), WM_LBUTTONUP, 0, MAKELPARAM(4, 4));
    }
    void Command(UINT id) const { PostMessageA(Manager(), WM_COMMAND, id, 0); }
    bool Recording() const {
        HWND ok = Item(Control(kOk));
        return ok != nullptr && !IsWindowEnabled(ok);
    }
    void SelectMacro(int index) const {
        HWND list = Item(kMacroList);
        SendMessageA(list, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
        PostMessageA(Manager(), WM_COMMAND, MAKEWPARAM(kMacroList, LBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(list));
    }
    // Types `text` into the in-place edit of `list` and presses Enter.
    bool TypeInPlace(UINT list, const std::string& text) const {
        HWND edit = nullptr;
        if (!e2e::WaitUntil([&] {
                edit = FindWindowExA(Item(list), nullptr, "Edit", nullptr);
                return edit != nullptr;
            })) {
            ADD_FAILURE() << "no in-place edit on list " << list << ": "
                          << ::testing::PrintToString(Texts(Item(list)))
                          << ::testing::PrintToString(process_.DebugTexts());
            return false;
        }
        SendMessageA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
        PostMessageA(edit, WM_KEYUP, VK_RETURN, static_cast<LPARAM>(0xC0000001u));
        return e2e::WaitUntil([&] { return !IsWindow(edit); });
    }
    // A warning dialog over the manager (found by its OK button).
    HWND Warning() const {
        HWND found = nullptr;
        e2e::WaitUntil([&] {
            found = nullptr;
            for (HWND w = FindWindowExA(nullptr, nullptr, "#32770", nullptr); w != nullptr;
                 w = FindWindowExA(nullptr, w, "#32770", nullptr)) {
                if (GetWindow(w, GW_OWNER) == Manager() && IsWindowVisible(w) &&
                    GetDlgItem(w, kWarningOk) != nullptr)
                    found = w;
            }
            return found != nullptr;
        });
        return found;
    }
    bool WaitStopped() const {
        return e2e::WaitUntil([this] { return !Recording(); });
    }

    static void Post(HWND dialog, UINT id) {
        PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(dialog, static_cast<int>(id))));
    }

  private:
    e2e::Program process_;
};

TEST(MacroManager, RecordsThroughTheHookEditsAndSaves) {
    e2e::ProgramFolder folder;
    Host host(folder);
    HWND macros = host.Item(kMacroList);
    HWND events = host.Item(kEventList);
    ASSERT_NE(macros, nullptr);
    ASSERT_NE(events, nullptr);
    Shot(host.Manager(), "macro_manager_empty");

    // Recording needs a macro: the notice, and nothing records.
    host.Click(kRecord);
    HWND notice = host.Warning();
    ASSERT_NE(notice, nullptr);
    Shot(notice, "macro_set_warning");
    // Enter and Escape answer nothing: only its buttons close it.
    for (WPARAM key : {VK_RETURN, VK_ESCAPE}) {
        PostMessageA(notice, WM_KEYDOWN, key, 1);
        PostMessageA(notice, WM_KEYUP, key, static_cast<LPARAM>(0xC0000001u));
    }
    e2e::ObserveFor(500ms);
    EXPECT_TRUE(IsWindow(notice) && IsWindowVisible(notice));
    Host::Post(notice, kWarningOk);
    ASSERT_TRUE(e2e::WaitUntil([&] { return !IsWindow(notice); }));
    // The manager active again, so that no late activation takes the focus
    // from the name edit below (leaving an empty edit drops its item).
    ASSERT_TRUE(e2e::WaitUntil([&] { return GetForegroundWindow() == host.Manager(); }));
    EXPECT_FALSE(host.Recording());

    // New macros; a name equal apart from case and blanks is refused, one
    // that merely begins with an existing name is not.
    host.Click(kNew);
    ASSERT_TRUE(host.TypeInPlace(kMacroList, "Fire"));
    host.Click(kNew);
    ASSERT_TRUE(host.TypeInPlace(kMacroList, "  fIRE "));
    ASSERT_TRUE(e2e::WaitUntil([&] { return Texts(macros) == std::vector<std::string>{"Fire"}; }));
    host.Click(kNew);
    ASSERT_TRUE(host.TypeInPlace(kMacroList, "Fireball"));
    ASSERT_TRUE(e2e::WaitUntil([&] {
        return Texts(macros) == std::vector<std::string>{"Fire", "Fireball"};
    })) << ::testing::PrintToString(Texts(macros));
    EXPECT_EQ(SendMessageA(macros, LB_GETCURSEL, 0, 0), 1);

    // "Fire", delays recorded: a held key is one press, and 40 events end
    // the recording even when more keys are already on their way.
    host.SelectMacro(0);
    host.Toggle(kDelays);
    host.Click(kRecord);
    ASSERT_TRUE(e2e::WaitUntil([&] { return host.Recording(); }));
    for (int i = 0; i < 4; ++i) SendKey('A', false);  // the key repeats while held
    SendKey('A', true);
    ASSERT_TRUE(e2e::WaitUntil([&] { return EventCount(events) == 2; }));
    LetTimePass(40);
    SendKey('B', false);
    SendKey('B', true);
    ASSERT_TRUE(e2e::WaitUntil([&] { return EventCount(events) == 4; }));
    const std::vector<Item> first = Items(events);
    ASSERT_GE(first.size(), 4u);
    EXPECT_EQ(first[0].text, "A");
    EXPECT_EQ(LOWORD(first[0].data), 138u);  // press
    const std::vector<int> delays = Delays(events);
    ASSERT_FALSE(delays.empty());
    EXPECT_GE(*std::max_element(delays.begin(), delays.end()), 40);
    Shot(host.Manager(), "macro_manager_recording");
    for (int i = 0; i < 19; ++i) {
        const BYTE vk = static_cast<BYTE>(i % 2 == 0 ? 'C' : 'D');
        SendKey(vk, false);
        SendKey(vk, true);
    }
    ASSERT_TRUE(host.WaitStopped());
    ASSERT_TRUE(host.Process().WaitForDebugText(trace::kKeyHookRemoved));
    EXPECT_EQ(EventCount(events), 40);
    // A screen reader hears each event with its kind, which the list shows
    // only as a picture, and each macro by its name, the selected one so.
    const std::vector<SpokenItem> spokenEvents = SpokenItems(events);
    const std::vector<Item> shownEvents = Items(events);
    ASSERT_EQ(spokenEvents.size(), shownEvents.size());
    EXPECT_EQ(spokenEvents[0].name, "Press A");
    for (std::size_t i = 0; i < shownEvents.size(); ++i) {
        const UINT kind = LOWORD(shownEvents[i].data);
        const char* word = kind == 138 ? "Press " : kind == 137 ? "Release " : "Delay ";
        EXPECT_EQ(spokenEvents[i].name, word + shownEvents[i].text) << i;
    }
    EXPECT_EQ(SpokenItems(macros), (std::vector<SpokenItem>{{"Fire", true}, {"Fireball", false}}));

    // "Fireball" without delays: no delay however slowly the keys come.
    host.SelectMacro(1);
    host.Toggle(kDelays);
    host.Click(kRecord);
    ASSERT_TRUE(e2e::WaitUntil([&] { return host.Recording(); }));
    SendKey('X', false);
    LetTimePass(40);
    SendKey('X', true);
    SendKey('Y', false);
    SendKey('Y', true);
    ASSERT_TRUE(e2e::WaitUntil([&] { return EventCount(events) == 4; }));
    host.Click(kRecord);
    ASSERT_TRUE(host.WaitStopped());
    EXPECT_TRUE(Delays(events).empty());

    // Back on "Fire": a delay edited above the limit keeps 6350, an empty
    // edit keeps the line and stores 1, an event deleted.
    host.SelectMacro(0);
    ASSERT_TRUE(e2e::WaitUntil([&] { return EventCount(events) == 40; }));
    int delayItem = -1;
    const std::vector<Item> items = Items(events);
    for (std::size_t i = 0; i < items.size() && delayItem < 0; ++i) {
        if (LOWORD(items[i].data) == kDelayKind)
            delayItem = static_cast<int>(i);
    }
    ASSERT_GE(delayItem, 0);
    SendMessageA(events, LB_SETCURSEL, static_cast<WPARAM>(delayItem), 0);
    host.Command(kEditDelay);
    ASSERT_TRUE(host.TypeInPlace(kEventList, "99999"));
    ASSERT_TRUE(e2e::WaitUntil([&] { return Items(events)[delayItem].text == "6350 ms"; }));
    SendMessageA(events, LB_SETCURSEL, static_cast<WPARAM>(delayItem), 0);
    host.Command(kEditDelay);
    ASSERT_TRUE(host.TypeInPlace(kEventList, ""));
    ASSERT_TRUE(e2e::WaitUntil([&] { return Items(events)[delayItem].text == "1 ms"; }));
    SendMessageA(events, LB_SETCURSEL, 0, 0);
    host.Command(kDeleteEvent);
    ASSERT_TRUE(e2e::WaitUntil([&] { return EventCount(events) == 39; }));

    // The context menu opens on a right click of the event list, over it.
    RECT listArea{};
    GetWindowRect(events, &listArea);
    SetCursorPos((listArea.left + listArea.right) / 2, listArea.top + 40);
    PostMessageA(events, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(20, 40));
    HWND menu = nullptr;
    ASSERT_TRUE(e2e::WaitUntil([&] {
        menu = FindWindowA("#32768", nullptr);
        return menu != nullptr && IsWindowVisible(menu);
    }));
    Shot(GetDesktopWindow(), "macro_manager_context_menu");
    PostMessageA(menu, WM_KEYDOWN, VK_ESCAPE, 1);
    ASSERT_TRUE(e2e::WaitUntil([&] { return !IsWindow(menu) || !IsWindowVisible(menu); }));
    // The menu key opens it below the selected event instead, wherever the
    // pointer is.
    SendMessageA(events, LB_SETCURSEL, 2, 0);
    RECT row{};
    SendMessageA(events, LB_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&row));
    POINT below{row.left, row.bottom};
    ClientToScreen(events, &below);
    PostMessageA(events, WM_KEYDOWN, VK_APPS, 1);
    RECT placed{};
    ASSERT_TRUE(e2e::WaitUntil([&] {
        menu = FindWindowA("#32768", nullptr);
        return menu != nullptr && IsWindowVisible(menu) && GetWindowRect(menu, &placed);
    }));
    EXPECT_EQ(placed.left, below.x);
    EXPECT_EQ(placed.top, below.y);
    PostMessageA(menu, WM_KEYDOWN, VK_ESCAPE, 1);
    ASSERT_TRUE(e2e::WaitUntil([&] { return !IsWindow(menu) || !IsWindowVisible(menu); }));

    // Repeat on, with a count above the limit typed first.
    HWND repeat = host.Item(kRepeatEdit);
    SendMessageA(repeat, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("99999"));
    host.Toggle(kRepeat);
    std::string shown;
    EXPECT_TRUE(e2e::WaitUntil([&] {
        wchar_t text[16] = {};
        // GetWindowText would give another process's edit its caption only.
        SendMessageW(repeat, WM_GETTEXT, 16, reinterpret_cast<LPARAM>(text));
        shown.assign(text, text + wcslen(text));
        return shown == "65535";
    })) << shown;
    Shot(host.Manager(), "macro_manager");

    // OK saves: exactly number and keys 0..N-1, readable by the system.
    host.Click(kOk);
    ASSERT_TRUE(host.Process().WaitForDebugText(text::Format(macro_host::kTraceStore, 2)));
    // The host's report comes line by line.
    EXPECT_TRUE(
        host.Process().WaitForDebugText(text::Format(macro_host::kTraceMacro, "Fire", 39, 65535)));
    EXPECT_TRUE(
        host.Process().WaitForDebugText(text::Format(macro_host::kTraceMacro, "Fireball", 4, 0)));
    EXPECT_TRUE(host.Process().WaitForDebugText(text::Format(macro_host::kTraceHook, 0)));
    EXPECT_EQ(host.Process().WaitExit(), 0);
    const std::string path = folder.File(kStore);
    EXPECT_EQ(StoreKeys(path), (std::vector<std::string>{"number", "0", "1"}));
    option::MacroRecord fire{};
    ASSERT_TRUE(GetPrivateProfileStructA("Macros", "0", &fire, sizeof fire, path.c_str()));
    EXPECT_STREQ(fire.name, "Fire");
    EXPECT_EQ(fire.eventCount, 39);
    EXPECT_EQ(fire.repeatValue, 65535);
    EXPECT_EQ(fire.events[0].keyCode, 0x04);  // the A press went, its release stays
    EXPECT_EQ(fire.events[0].state, 2);
    for (int i = 0; i < fire.eventCount; ++i) EXPECT_LE(fire.events[i].delayMs, 6350);
    option::MacroRecord fireball{};
    ASSERT_TRUE(GetPrivateProfileStructA("Macros", "1", &fireball, sizeof fireball, path.c_str()));
    EXPECT_STREQ(fireball.name, "Fireball");
    EXPECT_EQ(fireball.eventCount, 4);
    for (int i = 0; i < fireball.eventCount; ++i) EXPECT_EQ(fireball.events[i].delayMs, 0);
}

TEST(MacroManager, CancelBringsDeletedMacroBackAndDamagedStoreLoads) {
    e2e::ProgramFolder folder;
    const std::string path = folder.File(kStore);
    const option::MacroRecord fire = Record("Fire", 3);
    const option::MacroRecord fireball = Record("Fireball", 2);
    option::MacroRecord badCount = Record("Broken", 2);
    badCount.eventCount = 99;
    ASSERT_TRUE(WritePrivateProfileStructA("Macros", "0", const_cast<option::MacroRecord*>(&fire),
                                           sizeof fire, path.c_str()));
    ASSERT_TRUE(WritePrivateProfileStructA(
        "Macros", "1", const_cast<option::MacroRecord*>(&fireball), sizeof fireball, path.c_str()));
    ASSERT_TRUE(
        WritePrivateProfileStructA("Macros", "2", &badCount, sizeof badCount, path.c_str()));
    // Key 3 fails its checksum; keys 4.. are missing though number names them.
    std::string damaged(440, '4');
    damaged += "00";
    ASSERT_TRUE(WritePrivateProfileStringA("Macros", "3", damaged.c_str(), path.c_str()));
    ASSERT_TRUE(WritePrivateProfileStringA("Macros", "number", "2000000000", path.c_str()));
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, path.c_str());

    {
        // Opened from a button whose macro is "fireball": that very macro,
        // not the first one whose name begins like it.
        Host host(folder, "fireball");
        HWND macros = host.Item(kMacroList);
        ASSERT_TRUE(e2e::WaitUntil([&] {
            return Texts(macros) == std::vector<std::string>{"Fire", "Fireball"};
        }));
        EXPECT_EQ(SendMessageA(macros, LB_GETCURSEL, 0, 0), 1);

        host.Click(kDelete);
        HWND warning = host.Warning();
        ASSERT_NE(warning, nullptr);
        Shot(warning, "delete_macro_warning");
        Host::Post(warning, kWarningOk);
        ASSERT_TRUE(e2e::WaitUntil([&] { return Texts(macros).size() == 1; }));

        host.Click(kCancel);
        ASSERT_TRUE(host.Process().WaitForDebugText(text::Format(macro_host::kTraceStore, 2)));
        EXPECT_TRUE(host.Process().WaitForDebugText(
            text::Format(macro_host::kTraceMacro, "Fireball", 2, 0)));
        EXPECT_EQ(host.Process().WaitExit(), 0);
    }
    // Cancel wrote nothing.
    EXPECT_EQ(folder.ReadIni(kStore, "Macros", "number"), "2000000000");

    // The real Option starts on the damaged store and writes it back whole.
    e2e::OptionDriver option(folder);
    ASSERT_TRUE(option.Start());
    ASSERT_TRUE(e2e::WaitUntil([&] { return folder.ReadIni(kStore, "Macros", "number") == "2"; }));
    EXPECT_EQ(StoreKeys(path), (std::vector<std::string>{"number", "0", "1"}));
    option::MacroRecord back{};
    ASSERT_TRUE(GetPrivateProfileStructA("Macros", "1", &back, sizeof back, path.c_str()));
    EXPECT_EQ(std::memcmp(&back, &fireball, sizeof back), 0);
}

// Every way out of a recording removes the key capture hook: OK, cancel, the
// owner destroyed under the dialog, and the owner closed the way Monitor
// closes Option.
TEST(MacroManager, KeyHookGoesOnEveryWayOut) {
    enum class Way { Ok, Cancel, OwnerDestroyed, OwnerClosed };
    for (Way way : {Way::Ok, Way::Cancel, Way::OwnerDestroyed, Way::OwnerClosed}) {
        SCOPED_TRACE(static_cast<int>(way));
        e2e::ProgramFolder folder;
        option::MacroRecord one = Record("One", 2);
        ASSERT_TRUE(WritePrivateProfileStructA("Macros", "0", &one, sizeof one,
                                               folder.File(kStore).c_str()));
        ASSERT_TRUE(
            WritePrivateProfileStringA("Macros", "number", "1", folder.File(kStore).c_str()));
        WritePrivateProfileStringA(nullptr, nullptr, nullptr, folder.File(kStore).c_str());

        Host host(folder);
        host.Click(kRecord);
        ASSERT_TRUE(e2e::WaitUntil([&] { return host.Recording(); }));
        switch (way) {
            case Way::Ok:
                host.Click(kOk);
                break;
            case Way::Cancel:
                host.Click(kCancel);
                break;
            case Way::OwnerDestroyed:
                PostMessageA(host.Owner(), macro_host::kMsgDestroyOwner, 0, 0);
                break;
            case Way::OwnerClosed:
                PostMessageA(host.Owner(), WM_CLOSE, 0, 0);
                break;
        }
        EXPECT_TRUE(host.Process().WaitForDebugText(trace::kKeyHookRemoved));
        EXPECT_TRUE(host.Process().WaitForDebugText(text::Format(macro_host::kTraceHook, 0)));
        EXPECT_EQ(host.Process().WaitExit(), 0);
    }
}

}  // namespace
