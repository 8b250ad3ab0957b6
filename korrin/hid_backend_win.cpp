#include "korrin/backend_win.h"
#include "korrin/hid_system_win.h"

namespace korrin {

namespace {

bool Usable(const unsigned char* data, int length) {
    return data != nullptr && length > 0;
}

std::span<const std::uint8_t> In(const unsigned char* data, int length) {
    return {data, static_cast<std::size_t>(length)};
}

std::span<std::uint8_t> Out(unsigned char* data, int length) {
    return {data, static_cast<std::size_t>(length)};
}

}  // namespace

HidBackend::HidBackend()
    : device_(WindowsHid(), Diagnostics(), RememberedChoices(), {}, DescriptionInUse()) {}

void HidBackend::SetIds(std::uint16_t vendorId, std::uint16_t productId) {
    device_.SetIds(vendorId, productId);
}

bool HidBackend::Present() {
    return device_.Probe();
}

bool HidBackend::OpenFeature() {
    return device_.OpenFeature();
}

void HidBackend::CloseFeature() {
    device_.CloseFeature();
}

bool HidBackend::OpenReport() {
    return device_.OpenReport();
}

void HidBackend::CloseReport() {
    device_.CloseReport();
}

int HidBackend::SetFeature(const unsigned char* data, int length) {
    return Usable(data, length) ? device_.SetFeature(In(data, length)) : 0;
}

int HidBackend::Write(const unsigned char* data, int length) {
    return Usable(data, length) ? device_.Write(In(data, length)) : 0;
}

int HidBackend::GetFeature(unsigned char* data, int length) {
    return Usable(data, length) ? device_.GetFeature(Out(data, length)) : 0;
}

int HidBackend::Read(unsigned char* data, int length) {
    return Usable(data, length) ? device_.Read(Out(data, length)) : 0;
}

}  // namespace korrin

namespace korrin {

std::string HidBackend::Report() {
    return device_.Report();
}

}  // namespace korrin
