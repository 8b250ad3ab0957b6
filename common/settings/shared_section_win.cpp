#include "common/settings/shared_section_win.h"

#include <cstring>

namespace settings {

SharedSection::~SharedSection() {
    Close();
}

bool SharedSection::MutexExists() {
    const win::ScopedHandle mutex(OpenMutexA(SYNCHRONIZE, FALSE, kSharedMutexName));
    return mutex.Valid();
}

SharedSection::CreateResult SharedSection::Create() {
    Close();
    // An existing mutex comes back as a handle to it; that is the take-over.
    mutex_.Reset(CreateMutexA(nullptr, FALSE, kSharedMutexName));
    if (!mutex_)
        return CreateResult::MappingFailed;
    return CreateMapping() ? CreateResult::Created : CreateResult::MappingFailed;
}

bool SharedSection::CreateMapping() {
    // Everybody may open the block: Option may run under another token.
    SECURITY_DESCRIPTOR descriptor;
    InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION);
    SetSecurityDescriptorDacl(&descriptor, TRUE, nullptr, FALSE);
    SECURITY_ATTRIBUTES attributes{sizeof attributes, &descriptor, TRUE};
    mapping_.Reset(CreateFileMappingA(INVALID_HANDLE_VALUE, &attributes, PAGE_READWRITE, 0,
                                      static_cast<DWORD>(kSettingsBlockSize), kSharedSectionName));
    if (!mapping_)
        return false;
    view_.Reset(MapViewOfFile(mapping_.Get(), FILE_MAP_ALL_ACCESS, 0, 0, kSettingsBlockSize));
    if (!view_) {
        mapping_.Reset();
        return false;
    }
    return true;
}

bool SharedSection::Open() {
    Close();
    mutex_.Reset(OpenMutexA(MUTEX_ALL_ACCESS, FALSE, kSharedMutexName));
    mapping_.Reset(OpenFileMappingA(FILE_MAP_READ | FILE_MAP_WRITE, FALSE, kSharedSectionName));
    if (!mapping_)
        return false;
    view_.Reset(MapViewOfFile(mapping_.Get(), FILE_MAP_ALL_ACCESS, 0, 0, kSettingsBlockSize));
    return view_.Valid();
}

void SharedSection::Close() {
    view_.Reset();
    mapping_.Reset();
    mutex_.Reset();
}

// A holder that died mid-copy leaves the mutex abandoned (and owned by us).
// Publishing a whole block repairs the section, so that goes ahead; fetching
// might read half a block, so it is refused and the mutex handed back.
bool SharedSection::Publish(const SettingsBlock& block) {
    if (!view_ || !mutex_)
        return false;
    const win::ScopedMutexOwner owner(mutex_.Get(), INFINITE);
    if (!owner.Owned())
        return false;
    std::memcpy(view_.Get(), &block, kSettingsBlockSize);
    return true;
}

bool SharedSection::Fetch(SettingsBlock& block) {
    if (!view_ || !mutex_)
        return false;
    const win::ScopedMutexOwner owner(mutex_.Get(), INFINITE);
    if (!owner.Owned() || owner.Abandoned())
        return false;
    std::memcpy(&block, view_.Get(), kSettingsBlockSize);
    return true;
}

}  // namespace settings
