// What the system's notices and the library's own checks mean for the client:
// when the mouse in use has arrived or left. Every change is told once;
// a removal needs two failed checks in a row unless something certain says so
// (a removal notice naming one of our channels, a handle notice that its
// device has gone, a virtual mouse's word). A device enumerated anew behind
// our backs (a stale handle that works again once reopened) is told as the
// replug it was: removal, then arrival, so the client sends everything again.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "korrin/hid_device.h"
#include "korrin/korrin_core.h"

namespace korrin {

class PresenceWatch {
  public:
    // 1: the mouse arrived; 0: it left.
    using Tell = std::function<void(int arrived)>;
    PresenceWatch(HidDevice& hid, Tell tell);

    // The state at start, taken as known to the client: nothing is told.
    void Start();
    // Likewise, as another source states it (a virtual mouse).
    void Reset(bool present) { presence_.Reset(present); }
    // The system lists a new HID interface: the mouse may have arrived.
    void InterfaceArrived();
    // The system has removed the HID interface `path`: ours is a certain
    // removal, even when a device of the same name is listed again by now.
    void InterfaceRemoved(const std::string& path);
    // The periodic check: the mouse in use still listed while present, the
    // command channel opening while absent.
    void Poll();
    // A send found its handle stale and went through on a fresh one.
    void Replugged();
    // Handle notices about the device behind a handle of ours on `path`.
    void QueryRemove(const std::string& path);
    void RemoveCancelled(const std::string& path);
    void RemoveComplete(const std::string& path);

    // Presence as another source states it (a virtual mouse: certain).
    void Seen(bool present, bool certain);
    // Something certain says the mouse has gone.
    void RemovedForSure();

    // As last told to the client.
    bool Present() const { return presence_.Present(); }
    // The hardware as last checked, and the collections of the mouse in use.
    bool HardwarePresent() const { return hardwarePresent_; }
    const std::vector<CollectionInfo>& Collections() const { return collections_; }

  private:
    void Check(bool probe);
    void Apply(std::optional<int> change);

    HidDevice& hid_;
    Tell tell_;
    PresenceCheck presence_;
    bool hardwarePresent_ = false;
    std::vector<CollectionInfo> collections_;
};

}  // namespace korrin
