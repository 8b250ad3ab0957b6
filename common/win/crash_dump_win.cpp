#include "common/win/crash_dump_win.h"

#include <dbghelp.h>

#include "common/path_join.h"
#include "common/win/scoped_win.h"

namespace win {

namespace {

constexpr int kProgramNameMax = 32;
constexpr int kFolderMax = 1024;
// More dumps than this in the folder are left for the next crash to prune.
constexpr int kPruneScanMax = 64;
constexpr DWORD kDumpThreadStack = 256 * 1024;
// A dump of a small program takes well under a second on Windows, and
// under Wine, whose dbghelp reads its own libraries' debug information
// first, up to half a minute on a busy machine. A hung one must not keep the
// crashed program around for ever (its held keys are let go of before).
constexpr DWORD kDumpWaitMs = 120000;
// Thread information helps read the dump and adds little to its size; a
// dbghelp that refuses it gets the plain kind.
constexpr auto kDumpKind = static_cast<MINIDUMP_TYPE>(MiniDumpNormal | MiniDumpWithThreadInfo);

using WriteDumpFn = BOOL(WINAPI*)(HANDLE, DWORD, HANDLE, MINIDUMP_TYPE,
                                  PMINIDUMP_EXCEPTION_INFORMATION,
                                  PMINIDUMP_USER_STREAM_INFORMATION,
                                  PMINIDUMP_CALLBACK_INFORMATION);

// Everything the filter needs is prepared at installation: on a crash the
// heap may be what broke.
struct CrashState {
    wchar_t folder[kFolderMax];  // "<program folder>logs\"
    wchar_t program[kProgramNameMax + 1];
    CrashRelease release;
    volatile LONG entered;
    EXCEPTION_POINTERS* exception;
    DWORD threadId;
};
CrashState g_crash{};

struct FoundDump {
    FILETIME written;
    wchar_t name[MAX_PATH];
};
FoundDump g_found[kPruneScanMax];

// Appends `text` to `out` (capacity `size`, NUL-terminated); false when it
// does not fit.
bool Append(wchar_t* out, int size, const wchar_t* text) {
    int at = 0;
    while (at < size && out[at] != L'\0') ++at;
    for (; *text != L'\0'; ++text, ++at) {
        if (at + 1 >= size)
            return false;
        out[at] = *text;
    }
    out[at] = L'\0';
    return true;
}

void AppendNumber(wchar_t* out, int size, unsigned value, int digits) {
    wchar_t text[12] = {};
    for (int i = digits - 1; i >= 0; --i) {
        text[i] = static_cast<wchar_t>(L'0' + value % 10);
        value /= 10;
    }
    Append(out, size, text);
}

// "<folder><program>-YYYYMMDD-HHMMSS-mmm.dmp"
bool DumpPath(wchar_t (&path)[kFolderMax + 64]) {
    SYSTEMTIME now{};
    GetLocalTime(&now);
    path[0] = L'\0';
    const int size = static_cast<int>(sizeof path / sizeof path[0]);
    if (!Append(path, size, g_crash.folder) || !Append(path, size, g_crash.program) ||
        !Append(path, size, L"-"))
        return false;
    AppendNumber(path, size, now.wYear, 4);
    AppendNumber(path, size, now.wMonth, 2);
    AppendNumber(path, size, now.wDay, 2);
    Append(path, size, L"-");
    AppendNumber(path, size, now.wHour, 2);
    AppendNumber(path, size, now.wMinute, 2);
    AppendNumber(path, size, now.wSecond, 2);
    Append(path, size, L"-");
    AppendNumber(path, size, now.wMilliseconds, 3);
    return Append(path, size, L".dmp");
}

void WriteDump() {
    CreateDirectoryW(g_crash.folder, nullptr);
    wchar_t path[kFolderMax + 64];
    if (!DumpPath(path))
        return;
    ScopedModule dbghelp(LoadLibraryW(L"dbghelp.dll"));
    const auto write = dbghelp ? reinterpret_cast<WriteDumpFn>(reinterpret_cast<void*>(
                                     GetProcAddress(dbghelp.Get(), "MiniDumpWriteDump")))
                               : nullptr;
    if (write == nullptr)
        return;
    bool written = false;
    {
        ScopedFileHandle file(CreateFileW(path, GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                          CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file)
            return;
        MINIDUMP_EXCEPTION_INFORMATION exception{};
        exception.ThreadId = g_crash.threadId;
        exception.ExceptionPointers = g_crash.exception;
        exception.ClientPointers = FALSE;
        const HANDLE process = GetCurrentProcess();
        const DWORD id = GetCurrentProcessId();
        written = write(process, id, file.Get(), kDumpKind, &exception, nullptr, nullptr) != FALSE;
        if (!written) {
            SetFilePointer(file.Get(), 0, nullptr, FILE_BEGIN);
            SetEndOfFile(file.Get());
            written = write(process, id, file.Get(), MiniDumpNormal, &exception, nullptr,
                            nullptr) != FALSE;
        }
    }
    if (!written)
        DeleteFileW(path);
}

bool Older(const FoundDump& a, const FoundDump& b) {
    const LONG order = CompareFileTime(&a.written, &b.written);
    return order != 0 ? order < 0 : lstrcmpiW(a.name, b.name) < 0;
}

// Deletes this program's oldest dumps until kKeptCrashDumps are left.
void PruneDumps() {
    wchar_t pattern[kFolderMax + 64] = {};
    const int size = static_cast<int>(sizeof pattern / sizeof pattern[0]);
    if (!Append(pattern, size, g_crash.folder) || !Append(pattern, size, g_crash.program) ||
        !Append(pattern, size, L"-*.dmp"))
        return;
    int count = 0;
    {
        WIN32_FIND_DATAW data{};
        ScopedFind find(FindFirstFileW(pattern, &data));
        if (!find)
            return;
        do {
            if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
                continue;
            g_found[count].written = data.ftLastWriteTime;
            g_found[count].name[0] = L'\0';
            Append(g_found[count].name, MAX_PATH, data.cFileName);
            ++count;
        } while (count < kPruneScanMax && FindNextFileW(find.Get(), &data));
    }
    for (int left = count; left > kKeptCrashDumps; --left) {
        int oldest = -1;
        for (int i = 0; i < count; ++i) {
            if (g_found[i].name[0] != L'\0' && (oldest < 0 || Older(g_found[i], g_found[oldest])))
                oldest = i;
        }
        wchar_t path[kFolderMax + MAX_PATH] = {};
        Append(path, kFolderMax + MAX_PATH, g_crash.folder);
        Append(path, kFolderMax + MAX_PATH, g_found[oldest].name);
        DeleteFileW(path);
        g_found[oldest].name[0] = L'\0';
    }
}

DWORD WINAPI CrashWork(void*) {
    if (g_crash.release != nullptr)
        g_crash.release();
    WriteDump();
    PruneDumps();
    return 0;
}

LONG WINAPI OnUnhandledException(EXCEPTION_POINTERS* exception) {
    // A crash while a crash is handled ends the program at once.
    if (InterlockedExchange(&g_crash.entered, 1) != 0)
        return EXCEPTION_EXECUTE_HANDLER;
    g_crash.exception = exception;
    g_crash.threadId = GetCurrentThreadId();
    // On a thread of its own: the crashed thread may have run out of stack.
    ScopedHandle worker(CreateThread(nullptr, kDumpThreadStack, CrashWork, nullptr, 0, nullptr));
    if (worker)
        WaitForSingleObject(worker.Get(), kDumpWaitMs);
    else
        CrashWork(nullptr);
    // Ends the program with the exception's code, without the system's crash
    // dialog, which would keep held keys down until someone answers it.
    return EXCEPTION_EXECUTE_HANDLER;
}

}  // namespace

std::wstring LogsFolderW() {
    wchar_t path[kFolderMax] = {};
    const DWORD length = GetModuleFileNameW(nullptr, path, kFolderMax);
    if (length == 0 || length >= kFolderMax)
        return L"logs";
    std::wstring folder(path, length);
    const std::size_t slash = folder.find_last_of(L"\\/");
    folder.resize(slash == std::wstring::npos ? 0 : slash + 1);
    return paths::JoinPath(folder, L"logs");
}

void InstallCrashDumps(const wchar_t* programName, CrashRelease release) {
    const std::wstring folder = paths::JoinPath(LogsFolderW(), L"");
    g_crash.folder[0] = L'\0';
    g_crash.program[0] = L'\0';
    if (!Append(g_crash.folder, kFolderMax, folder.c_str()) ||
        !Append(g_crash.program, kProgramNameMax + 1, programName))
        return;
    g_crash.release = release;
    SetUnhandledExceptionFilter(OnUnhandledException);
}

bool LatestCrashDump(const std::wstring& logsFolder, CrashDumpFile& latest) {
    WIN32_FIND_DATAW data{};
    ScopedFind find(FindFirstFileW(paths::JoinPath(logsFolder, L"*.dmp").c_str(), &data));
    if (!find)
        return false;
    bool found = false;
    WIN32_FIND_DATAW newest{};
    do {
        if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
            continue;
        if (!found || CompareFileTime(&data.ftLastWriteTime, &newest.ftLastWriteTime) > 0 ||
            (CompareFileTime(&data.ftLastWriteTime, &newest.ftLastWriteTime) == 0 &&
             lstrcmpiW(data.cFileName, newest.cFileName) > 0))
            newest = data;
        found = true;
    } while (FindNextFileW(find.Get(), &data));
    if (!found)
        return false;
    char name[MAX_PATH * 3] = {};
    WideCharToMultiByte(CP_UTF8, 0, newest.cFileName, -1, name, sizeof name, nullptr, nullptr);
    latest.name = name;
    latest.size = (static_cast<std::uint64_t>(newest.nFileSizeHigh) << 32) | newest.nFileSizeLow;
    latest.written = newest.ftLastWriteTime;
    return true;
}

}  // namespace win
