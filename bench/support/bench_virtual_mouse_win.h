// The virtual mouse a benchmark measures against, and the transfers it logs.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace bench {

// Runs one command of `dist`\VirtualMouse.exe and waits for it; its exit code
// (0 success, -1 when it did not start or end).
long VirtualMouseCommand(const std::string& dist, const std::string& arguments);

// Starts the virtual mouse of `dist`, plugged, logging its transfers to `log`,
// and waits until its window is up; false when it did not come.
bool StartVirtualMouse(const std::string& dist, const std::string& log);

// Asks the virtual mouse to quit and waits until its window is gone.
void QuitVirtualMouse(const std::string& dist);

// One transfer as the virtual mouse logged it: its stamp (microseconds),
// whether it was a command (feature report) or a chunk, and a command's code.
struct Transfer {
    std::int64_t us = 0;
    bool command = false;
    unsigned code = 0;
};

// The transfers in `log`, in order.
std::vector<Transfer> Transfers(const std::string& log);

// The virtual mouse's own stamps (microseconds) of the transfers in `log`, in order.
std::vector<std::int64_t> TransferStamps(const std::string& log);

// Waits until `log` has not grown for `quietMs`, at most `timeoutMs`; false
// on time-out.
bool WaitUntilQuiet(const std::string& log, unsigned quietMs, unsigned timeoutMs);

}  // namespace bench
