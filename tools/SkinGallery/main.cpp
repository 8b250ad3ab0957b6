// SkinGallery: a review and test tool for the skinned controls (not shipped).
//   SkinGallery.exe [/skin <ini>] [/log <file>] [/shot <bmp>]
//       shows the gallery window built from <ini> (default: a demo skin made
//       in the temporary folder) and appends every control message to <file>.
//   SkinGallery.exe /render <skin ini path> <out folder> [<language module> [<locale>]]
//       writes <out>\<base>_normal.bmp, _over.bmp, _down.bmp, _disable.bmp,
//       with the skin's words from the language module (lan.dll) when given,
//       in the language of <locale> ("de-DE"; English without one), and
//       <out>\<base>_words.txt: what is wrong with the words as drawn (see
//       RenderSkin), empty when they are sound.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

#include <shellapi.h>

#include "option/skin/skin_hint_win.h"
#include "option/skin/skin_loader_win.h"
#include "common/win/language_module_win.h"
#include "common/win/scoped_win.h"
#include "option/skin/skin_menu_win.h"
#include "option/skin/skin_text_win.h"
#include "tools/SkinGallery/gallery_window_win.h"
#include "tools/SkinGallery/test_skin.h"

namespace {

win::LanguageModule g_language;

std::string LanguageWord(unsigned id) {
    return g_language.Text(id);
}

const std::string& LanguageLocale() {
    return g_language.Locale();
}

// The `index`th argument as the system holds it (UTF-16): a path need not be
// expressible in the ANSI code page main's arguments come in.
std::wstring WideArgument(int index) {
    int count = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &count);
    if (argv == nullptr)
        return {};
    // CommandLineToArgvW hands back one LocalAlloc block.
    const win::ScopedLocal owner(argv);
    return index < count ? std::wstring(argv[index]) : std::wstring();
}

}  // namespace

int main(int argc, char** argv) {
    skin::RegisterSkinMessages();
    if (argc >= 2 && std::strcmp(argv[1], "/render") == 0) {
        if (argc < 4 || argc > 6) {
            std::fprintf(stderr,
                         "usage: SkinGallery /render <skin ini path> <out folder> "
                         "[<language module> [<locale>]]\n");
            return 1;
        }
        if (argc >= 5) {
            g_language.Reset(
                LoadLibraryExW(WideArgument(4).c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
            // A locale the module lacks shows English, as the programs do.
            g_language.Choose(argc == 6 ? argv[5] : "en-US");
            if (g_language.Handle() != nullptr)
                skin::SetWordSource({&LanguageWord, &LanguageLocale});
        }
        std::string error;
        std::string out = argv[3];
        // "C:\out\" arrives as C:\out" (the backslash escapes the quote).
        if (!out.empty() && out.back() == '"')
            out.back() = '\\';
        // The pseudo-language is longer than any real one by design and may
        // end a word in its ellipsis; a real language may not.
        const bool pseudo = argc == 6 && std::strncmp(argv[5], "qps-", 4) == 0;
        const int code = gallery::RenderSkin(
            argv[2], out, pseudo ? skin::CutWords::Allowed : skin::CutWords::Faulty, error);
        if (code != 0)
            std::fprintf(stderr, "SkinGallery: %s\n", error.c_str());
        return code;
    }

    std::string ini;
    std::string log;
    std::string shot;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::strcmp(argv[i], "/skin") == 0)
            ini = argv[i + 1];
        else if (std::strcmp(argv[i], "/log") == 0)
            log = argv[i + 1];
        else if (std::strcmp(argv[i], "/shot") == 0)
            shot = argv[i + 1];
    }
    if (ini.empty()) {
        char temp[MAX_PATH] = {};
        GetTempPathA(MAX_PATH, temp);
        const std::string folder = std::string(temp) + "SkinGalleryDemo\\";
        CreateDirectoryA(folder.c_str(), nullptr);
        if (!gallery::WriteTestSkin(folder)) {
            std::fprintf(stderr, "SkinGallery: cannot write the demo skin to %s\n", folder.c_str());
            return 2;
        }
        ini = folder + "gallery.ini";
    }
    if (GetFileAttributesA(ini.c_str()) == INVALID_FILE_ATTRIBUTES) {
        std::fprintf(stderr, "SkinGallery: skin description file not found: %s\n", ini.c_str());
        return 2;
    }
    const std::size_t slash = ini.find_last_of("\\/");
    skin::SetSkinFolder(slash == std::string::npos ? ".\\" : ini.substr(0, slash + 1));
    const std::string file = slash == std::string::npos ? ini : ini.substr(slash + 1);

    skin::CCoolMenu::Install();
    int exitCode = 0;
    {
        gallery::GalleryWindow window;
        if (!window.Create(file, log)) {
            std::fprintf(stderr, "SkinGallery: cannot create the window\n");
            skin::CCoolMenu::Uninstall();
            return 3;
        }
        skin::SetHintWindow(window.Hwnd());
        ShowWindow(window.Hwnd(), SW_SHOW);
        UpdateWindow(window.Hwnd());
        if (!shot.empty()) {
            // Let every control paint before the picture is taken.
            MSG m;
            const DWORD until = GetTickCount() + 500;
            while (GetTickCount() < until) {
                while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&m);
                Sleep(20);
            }
            gallery::SaveWindowShot(window.Hwnd(), shot);
        }
        MSG m;
        while (IsWindow(window.Hwnd()) && GetMessageA(&m, nullptr, 0, 0) > 0) {
            TranslateMessage(&m);
            DispatchMessageA(&m);
        }
    }
    skin::CCoolMenu::Uninstall();
    return exitCode;
}
