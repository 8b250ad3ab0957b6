#include "common/settings/shared_section_win.h"

#include <cstring>

namespace settings {

SharedSection::~SharedSection() {
    Close();
}

bool SharedSection::MutexExists() {
    HANDLE mutex = OpenMutexA(SYNCHRONIZE, FALSE, kSharedMutexName);
    if (mutex == nullptr)
        return false;
    CloseHandle(mutex);
    return true;
}

SharedSection::CreateResult SharedSection::Create() {
    Close();
    // An existing mutex comes back as a handle to it; that is the take-over.
    mutex_ = CreateMutexA(nullptr, FALSE, kSharedMutexName);
    if (mutex_ == nullptr)
        return CreateResult::MappingFailed;
    return CreateMapping() ? CreateResult::Created : CreateResult::MappingFailed;
}

bool SharedSection::CreateMapping() {
    // Everybody may open the block: Option may run under another token.
    SECURITY_DESCRIPTOR descriptor;
    InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION);
    SetSecurityDescriptorDacl(&descriptor, TRUE, nullptr, FALSE);
    SECURITY_ATTRIBUTES attributes{sizeof attributes, &descriptor, TRUE};
    mapping_ = CreateFileMappingA(INVALID_HANDLE_VALUE, &attributes, PAGE_READWRITE, 0,
                                  static_cast<DWORD>(kSettingsBlockSize), kSharedSectionName);
    if (mapping_ == nullptr)
        return false;
    view_ = MapViewOfFile(mapping_, FILE_MAP_ALL_ACCESS, 0, 0, kSettingsBlockSize);
    if (view_ == nullptr) {
        CloseHandle(mapping_);
        mapping_ = nullptr;
        return false;
    }
    return true;
}

bool SharedSection::Open() {
    Close();
    mutex_ = OpenMutexA(MUTEX_ALL_ACCESS, FALSE, kSharedMutexName);
    mapping_ = OpenFileMappingA(FILE_MAP_READ | FILE_MAP_WRITE, FALSE, kSharedSectionName);
    if (mapping_ == nullptr)
        return false;
    view_ = MapViewOfFile(mapping_, FILE_MAP_ALL_ACCESS, 0, 0, kSettingsBlockSize);
    return view_ != nullptr;
}

void SharedSection::Close() {
    if (view_ != nullptr)
        UnmapViewOfFile(view_);
    if (mapping_ != nullptr)
        CloseHandle(mapping_);
    if (mutex_ != nullptr)
        CloseHandle(mutex_);
    view_ = nullptr;
    mapping_ = nullptr;
    mutex_ = nullptr;
}

// A holder that died mid-copy leaves the mutex abandoned (and owned by us).
// Publishing a whole block repairs the section, so that goes ahead; fetching
// might read half a block, so it is refused and the mutex handed back.
bool SharedSection::Publish(const SettingsBlock& block) {
    if (view_ == nullptr || mutex_ == nullptr)
        return false;
    const DWORD wait = WaitForSingleObject(mutex_, INFINITE);
    if (wait != WAIT_OBJECT_0 && wait != WAIT_ABANDONED)
        return false;
    std::memcpy(view_, &block, kSettingsBlockSize);
    ReleaseMutex(mutex_);
    return true;
}

bool SharedSection::Fetch(SettingsBlock& block) {
    if (view_ == nullptr || mutex_ == nullptr)
        return false;
    const DWORD wait = WaitForSingleObject(mutex_, INFINITE);
    if (wait == WAIT_ABANDONED) {
        ReleaseMutex(mutex_);
        return false;
    }
    if (wait != WAIT_OBJECT_0)
        return false;
    std::memcpy(&block, view_, kSettingsBlockSize);
    ReleaseMutex(mutex_);
    return true;
}

}  // namespace settings
