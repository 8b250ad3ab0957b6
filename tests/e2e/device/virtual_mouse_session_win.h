// What the device end-to-end tests share: Option's side of the shared block,
// a running virtual mouse with its transfer log and decoded state, and the
// tray icon as the shell sees it.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "common/settings/settings_block.h"
#include "common/text_lines.h"
#include "tests/e2e/harness/harness_win.h"
#include "tests/support/shared_block_win.h"
#include "common/text_lines.h"

namespace e2e {

inline constexpr const char* kMonitorTitle = "Professional Gaming Optical Mouse Monitor";
inline constexpr const char* kOptionTitle = "Professional Gaming Optical Mouse Option";
inline constexpr const char* kVirtualMouseClass = "MouseVirtualDeviceWindow";

using testsupport::ReadSharedBlock;
using testsupport::WriteSharedBlock;

// Does the shell hold Monitor's icon (id 102) for `owner`? Asked by modifying
// it with no changes, which only succeeds for an icon that exists.
bool TrayIconShown(HWND owner);

using text::SplitLines;

// A virtual mouse started in the program folder, logging to vm.log there.
class VirtualMouseSession {
  public:
    explicit VirtualMouseSession(const ProgramFolder& folder);
    ~VirtualMouseSession();

    bool Running() const;
    // Runs a second instance with `arguments`; its exit code (0 = done).
    long Command(const std::string& arguments) const;
    // Log records without sequence number and time ("FEATURE 01 88 ...").
    std::vector<std::string> Log() const;
    // The records after the last `marker` record (all when there is none).
    std::vector<std::string> LogAfter(const std::string& marker) const;
    // The command reports (first three bytes) among `records`.
    static std::vector<std::string> Commands(const std::vector<std::string>& records);
    static int CountPrefix(const std::vector<std::string>& records, const std::string& prefix);
    // A full upload's last key map (profile 5) announced and both of its
    // chunks received: the upload has sent everything.
    static bool FullUploadDone(const std::vector<std::string>& records);
    // The decoded state as the virtual mouse prints it.
    std::vector<std::string> Dump() const;
    // The lines of one profile's section of the dump (1..5).
    static std::vector<std::string> ProfileSection(const std::vector<std::string>& dump, int n);

  private:
    const ProgramFolder& folder_;
    Program process_;
};

}  // namespace e2e
