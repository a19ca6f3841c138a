#include "redline/PagePool.h"

#include <cstdlib>
#include <mutex>
#include <new>
#include <unordered_set>
#include <vector>

#include <pugixml.hpp>

namespace redline {

namespace {

// The library asks for its pages in one size, a little over 32 KiB; anything else is malloc's.
constexpr std::size_t kPageAtLeast = 32768, kPageBelow = 32768 + 1024;

std::mutex mutex;
std::size_t pageSize = 0;        // what the library asks for a page, once seen
std::unordered_set<void*> lent;  // every page the pool made, lent out or free
std::vector<void*> freePages;

void* Allocate(std::size_t size) {
    if (size >= kPageAtLeast && size < kPageBelow) {
        std::lock_guard<std::mutex> lock(mutex);
        if (pageSize == 0) pageSize = size;
        if (size == pageSize) {
            if (!freePages.empty()) {
                void* page = freePages.back();
                freePages.pop_back();
                return page;
            }
            void* page = std::malloc(size);
            if (!page) return nullptr;
            try {
                lent.insert(page);
                // Room for every page to come back, so that letting one go never allocates.
                if (freePages.capacity() < lent.size()) freePages.reserve(2 * lent.size());
            } catch (const std::bad_alloc&) {
                lent.erase(page);
                std::free(page);
                return nullptr;  // the library reports it as out of memory
            }
            return page;
        }
    }
    return std::malloc(size);
}

// Blocks the pool did not make (other sizes, or made before the pool was in use) go to free().
void Deallocate(void* block) {
    if (!block) return;
    {
        std::lock_guard<std::mutex> lock(mutex);
        if (lent.count(block)) {
            freePages.push_back(block);  // within the room reserved when it was made
            return;
        }
    }
    std::free(block);
}

}  // namespace

void SharePages() {
    static std::once_flag once;
    std::call_once(once, [] { pugi::set_memory_management_functions(Allocate, Deallocate); });
}

void ReleasePages() {
    std::lock_guard<std::mutex> lock(mutex);
    for (void* page : freePages) {
        lent.erase(page);
        std::free(page);
    }
    freePages.clear();  // its room stays, for the pages still lent out
}

std::size_t PooledPages() {
    std::lock_guard<std::mutex> lock(mutex);
    return freePages.size();
}

}  // namespace redline
