// SkinGallery.exe as the artwork helper and the reviewers use it: the
// /render contract, and the gallery window seen from another process.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tests/e2e/harness/wait_until_win.h"
#include "tests/support/file_bytes.h"
#include "tests/support/program_folder_win.h"
#include "tests/win/option/skin/skin_test_support.h"
#include "tools/SkinGallery/gallery_window_win.h"
#include "tools/SkinGallery/test_skin.h"

namespace {

std::string GalleryExe() {
    if (const std::string bin = testsupport::TestBinFolder(); !bin.empty()) {
        const std::string exe = bin + "SkinGallery.exe";
        if (GetFileAttributesA(exe.c_str()) != INVALID_FILE_ATTRIBUTES)
            return exe;
    }
    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string folder(self);
    folder.resize(folder.find_last_of('\\') + 1);
    for (const char* rel : {"", "..\\..\\..\\testbin\\", "..\\testbin\\"}) {
        const std::string exe = folder + rel + "SkinGallery.exe";
        if (GetFileAttributesA(exe.c_str()) != INVALID_FILE_ATTRIBUTES)
            return exe;
    }
    return {};
}

struct Child {
    PROCESS_INFORMATION pi{};
    bool ok = false;
};

Child Start(const std::string& arguments, const std::string& stderrPath = {}) {
    Child child;
    const std::string exe = GalleryExe();
    if (exe.empty())
        return child;
    std::string line = "\"" + exe + "\" " + arguments;
    STARTUPINFOA si{};
    si.cb = sizeof si;
    HANDLE err = INVALID_HANDLE_VALUE;
    if (!stderrPath.empty()) {
        SECURITY_ATTRIBUTES sa{sizeof sa, nullptr, TRUE};
        err = CreateFileA(stderrPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &sa, CREATE_ALWAYS,
                          FILE_ATTRIBUTE_NORMAL, nullptr);
        si.dwFlags = STARTF_USESTDHANDLES;
        si.hStdError = err;
        si.hStdOutput = err;
        si.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    }
    child.ok = CreateProcessA(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                              &si, &child.pi) != FALSE;
    if (err != INVALID_HANDLE_VALUE)
        CloseHandle(err);
    return child;
}

DWORD Finish(Child& child, DWORD timeoutMs) {
    DWORD code = 0xFFFFFFFF;
    if (!child.ok)
        return code;
    if (WaitForSingleObject(child.pi.hProcess, timeoutMs) != WAIT_OBJECT_0)
        TerminateProcess(child.pi.hProcess, 99);
    GetExitCodeProcess(child.pi.hProcess, &code);
    CloseHandle(child.pi.hProcess);
    CloseHandle(child.pi.hThread);
    child.ok = false;
    return code;
}

using testsupport::FileBytes;

std::vector<std::string> LogLines(const std::string& path) {
    std::vector<std::string> lines;
    std::istringstream in(FileBytes(path));
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

// The shown gallery window, or null when none appeared.
HWND WaitForGallery() {
    HWND w = nullptr;
    e2e::WaitUntil([&] {
        w = FindWindowA(nullptr, gallery::kGalleryTitle);
        return w != nullptr && IsWindowVisible(w);
    });
    return w != nullptr && IsWindowVisible(w) ? w : nullptr;
}

COLORREF Ref(gallery::Color c) {
    return RGB(c.r, c.g, c.b);
}

TEST(SkinGalleryRender, WritesTheFourStatePicturesOfTheShapedWindow) {
    ASSERT_FALSE(GalleryExe().empty()) << "SkinGallery.exe not found";
    const std::string folder = skintest::FreshFolder("render_skin");
    ASSERT_TRUE(gallery::WriteTestSkin(folder));
    const std::string out = skintest::FreshFolder("render_out");
    // Without the trailing backslash, which would escape the closing quote.
    Child child =
        Start("/render \"" + folder + "gallery.ini\" \"" + out.substr(0, out.size() - 1) + "\"");
    ASSERT_TRUE(child.ok);
    ASSERT_EQ(Finish(child, 60000), 0u);

    const char* suffixes[] = {"_normal.bmp", "_over.bmp", "_down.bmp", "_disable.bmp"};
    const gallery::Color colors[] = {gallery::kNormalColor, gallery::kOverColor,
                                     gallery::kDownColor, gallery::kDisableColor};
    for (int i = 0; i < 4; ++i) {
        const std::string path = out + "gallery" + suffixes[i];
        HBITMAP picture = static_cast<HBITMAP>(LoadImageA(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0,
                                                          LR_LOADFROMFILE | LR_CREATEDIBSECTION));
        ASSERT_NE(picture, nullptr) << path;
        BITMAP info{};
        GetObjectA(picture, sizeof info, &info);
        EXPECT_EQ(info.bmWidth, 400);
        EXPECT_EQ(std::abs(info.bmHeight), 320);
        EXPECT_EQ(info.bmBitsPixel, 24);
        EXPECT_EQ(skintest::PixelOf(picture, 4, 4), RGB(255, 255, 255)) << path;     // cut corner
        EXPECT_EQ(skintest::PixelOf(picture, 370, 25), RGB(255, 255, 255)) << path;  // hole
        EXPECT_EQ(skintest::PixelOf(picture, 150, 30), Ref(colors[i])) << path;      // body
        EXPECT_EQ(skintest::PixelOf(picture, 60, 62), Ref(gallery::ControlColor(colors[i])))
            << path;  // inside button "1"
        DeleteObject(picture);
        const std::string artifacts = skintest::ArtifactsFolder();
        if (!artifacts.empty())
            CopyFileA(path.c_str(), (artifacts + "skin_render" + suffixes[i]).c_str(), FALSE);
    }
}

TEST(SkinGalleryRender, FailsWithAMessageWhenTheSkinCannotBeLoaded) {
    ASSERT_FALSE(GalleryExe().empty());
    const std::string folder = skintest::FreshFolder("render_bad");
    const std::string err = folder + "stderr.txt";
    Child child = Start("/render \"" + folder + "none.ini\" \"" + folder + "out\"", err);
    ASSERT_TRUE(child.ok);
    EXPECT_NE(Finish(child, 60000), 0u);
    EXPECT_NE(FileBytes(err).find("not found"), std::string::npos) << FileBytes(err);

    ASSERT_TRUE(gallery::WriteTestSkin(folder));
    DeleteFileA((folder + "gallery_over.bmp").c_str());
    child = Start("/render \"" + folder + "gallery.ini\" \"" + folder + "out\"", err);
    ASSERT_TRUE(child.ok);
    EXPECT_NE(Finish(child, 60000), 0u);
    EXPECT_NE(FileBytes(err).find("Over"), std::string::npos) << FileBytes(err);
}

TEST(SkinGalleryWindow, ShapedSizedClickableAndReloadedFromDisk) {
    ASSERT_FALSE(GalleryExe().empty());
    const std::string folder = skintest::FreshFolder("gallery_e2e");
    ASSERT_TRUE(gallery::WriteTestSkin(folder));
    const std::string log = folder + "log.txt";
    DeleteFileA(log.c_str());
    Child child = Start("/skin \"" + folder + "gallery.ini\" /log \"" + log + "\"");
    ASSERT_TRUE(child.ok);
    HWND g = WaitForGallery();
    ASSERT_NE(g, nullptr);
    RECT r;
    GetWindowRect(g, &r);
    EXPECT_EQ(r.left, 0);
    EXPECT_EQ(r.top, 0);
    EXPECT_EQ(r.right, 400);
    EXPECT_EQ(r.bottom, 320);
    EXPECT_NE(WindowFromPoint(POINT{4, 4}), g);
    EXPECT_NE(WindowFromPoint(POINT{370, 25}), g);
    EXPECT_EQ(WindowFromPoint(POINT{150, 30}), g);
    EXPECT_EQ(WindowFromPoint(POINT{60, 62}), GetDlgItem(g, gallery::kIdPush));

    HWND push = GetDlgItem(g, gallery::kIdPush);
    HWND latch = GetDlgItem(g, gallery::kIdLatch);
    ASSERT_NE(push, nullptr);
    ASSERT_NE(latch, nullptr);
    PostMessageA(push, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(40, 12));
    PostMessageA(push, WM_LBUTTONUP, 0, MAKELPARAM(40, 12));
    for (int i = 0; i < 2; ++i) {
        PostMessageA(latch, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(40, 12));
        PostMessageA(latch, WM_LBUTTONUP, 0, MAKELPARAM(40, 12));
    }
    PostMessageA(GetDlgItem(g, gallery::kIdSlider), WM_LBUTTONUP, 0, MAKELPARAM(100, 10));
    // The clicks are handled in the order they were posted: once the slider's
    // line is written, a wrong extra command would have been written before it.
    auto commands = [&] {
        std::vector<std::string> out;
        for (const auto& l : LogLines(log))
            if (l.rfind("command", 0) == 0 || l.rfind("slider", 0) == 0)
                out.push_back(l);
        return out;
    };
    EXPECT_TRUE(e2e::WaitUntil([&] {
        const auto c = commands();
        return !c.empty() && c.back().rfind("slider", 0) == 0;
    })) << "the slider click was not logged";
    EXPECT_EQ(commands(), (std::vector<std::string>{"command 1001 0", "command 1002 0",
                                                    "command 1002 0", "slider 5 1005"}));

    const std::string artifacts = skintest::ArtifactsFolder();
    if (!artifacts.empty()) {
        // Painted before the shot: the paint is sent to the gallery and waited for.
        RedrawWindow(g, nullptr, nullptr,
                     RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        EXPECT_TRUE(gallery::SaveWindowShot(g, artifacts + "skin_gallery.bmp"));
    }
    PostMessageA(g, WM_CLOSE, 0, 0);
    EXPECT_EQ(Finish(child, 20000), 0u);

    // The skin edited on disk is what the next opening shows.
    ASSERT_TRUE(gallery::WriteTestSkin(folder, {360, 280}));
    child = Start("/skin \"" + folder + "gallery.ini\"");
    ASSERT_TRUE(child.ok);
    g = WaitForGallery();
    ASSERT_NE(g, nullptr);
    GetWindowRect(g, &r);
    EXPECT_EQ(r.right - r.left, 360);
    EXPECT_EQ(r.bottom - r.top, 280);
    PostMessageA(g, WM_CLOSE, 0, 0);
    EXPECT_EQ(Finish(child, 20000), 0u);
}

}  // namespace
