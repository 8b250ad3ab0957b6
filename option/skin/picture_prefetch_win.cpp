#include "option/skin/picture_prefetch_win.h"

#include <future>
#include <map>
#include <memory>
#include <mutex>
#include <system_error>
#include <utility>

#include "option/skin/picture_file_win.h"

namespace skin {
namespace {

struct Decoded {
    win::ScopedGdi<HBITMAP> bitmap;
    SIZE size{0, 0};
    int result = 0;
};

struct Store {
    std::mutex lock;
    std::map<std::string, std::future<Decoded>> pictures;
    // Last: at exit the workers end before the pictures they fill go.
    std::vector<std::future<void>> workers;
};

Store& Prefetched() {
    static Store store;
    return store;
}

}  // namespace

void PrefetchPictures(std::vector<std::string> paths) {
    Store& store = Prefetched();
    auto promises = std::make_shared<std::vector<std::promise<Decoded>>>(paths.size());
    {
        const std::lock_guard<std::mutex> hold(store.lock);
        for (std::size_t i = 0; i < paths.size(); ++i) {
            if (store.pictures.count(paths[i]) == 0)
                store.pictures[paths[i]] = (*promises)[i].get_future();
        }
    }
    try {
        store.workers.push_back(std::async(std::launch::async, [paths, promises] {
            for (std::size_t i = 0; i < paths.size(); ++i) {
                Decoded d;
                d.result = DecodePictureFile(paths[i], d.bitmap, d.size);
                (*promises)[i].set_value(std::move(d));
            }
        }));
    } catch (const std::system_error&) {
        // No worker: the pictures are decoded when first loaded.
        const std::lock_guard<std::mutex> hold(store.lock);
        for (const std::string& path : paths) store.pictures.erase(path);
    }
}

bool TakePrefetchedPicture(const std::string& path, win::ScopedGdi<HBITMAP>& target, SIZE& size,
                           int& result) {
    Store& store = Prefetched();
    std::future<Decoded> pending;
    {
        const std::lock_guard<std::mutex> hold(store.lock);
        const auto found = store.pictures.find(path);
        if (found == store.pictures.end())
            return false;
        pending = std::move(found->second);
        store.pictures.erase(found);
    }
    Decoded d = pending.get();
    target = std::move(d.bitmap);
    size = d.size;
    result = d.result;
    return true;
}

}  // namespace skin
