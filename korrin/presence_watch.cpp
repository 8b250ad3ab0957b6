#include "korrin/presence_watch.h"

namespace korrin {

PresenceWatch::PresenceWatch(HidDevice& hid, Tell tell) : hid_(hid), tell_(std::move(tell)) {}

void PresenceWatch::Start() {
    hardwarePresent_ = hid_.Probe(&collections_);
    presence_.Reset(hardwarePresent_);
}

void PresenceWatch::Check(bool probe) {
    // The read/write probe only when the mouse may have arrived; a mouse in
    // use is only looked for in the listing, which opens nothing another
    // program could be refused for.
    hardwarePresent_ =
        probe || !presence_.Present() ? hid_.Probe(&collections_) : hid_.Listed(&collections_);
    Apply(presence_.Update(hardwarePresent_));
}

void PresenceWatch::Apply(std::optional<int> change) {
    if (change)
        tell_(*change);
}

void PresenceWatch::InterfaceArrived() {
    Check(true);
}

void PresenceWatch::InterfaceRemoved(const std::string& path) {
    if (hid_.OwnsPath(path))
        RemovedForSure();
    else
        Check(false);
}

void PresenceWatch::Poll() {
    Check(false);
}

void PresenceWatch::Replugged() {
    if (presence_.Present())
        tell_(0);
    presence_.Reset(true);
    tell_(1);
}

void PresenceWatch::QueryRemove(const std::string& path) {
    hid_.QueryRemove(path);
}

void PresenceWatch::RemoveCancelled(const std::string& path) {
    hid_.RemoveCancelled(path);
}

void PresenceWatch::RemoveComplete(const std::string& path) {
    if (hid_.RemoveComplete(path))
        RemovedForSure();
}

void PresenceWatch::Seen(bool present, bool certain) {
    Apply(presence_.Update(present, certain));
}

void PresenceWatch::RemovedForSure() {
    hardwarePresent_ = false;
    Apply(presence_.Update(false, true));
}

}  // namespace korrin
