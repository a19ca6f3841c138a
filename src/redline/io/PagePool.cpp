#include "redline/io/PagePool.h"

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

struct Pool {
    std::mutex mutex;
    std::size_t pageSize = 0;        // what the library asks for a page, once seen
    std::unordered_set<void*> lent;  // every page the pool made, lent out or free
    std::vector<void*> freePages;
};

// Never destroyed: a tree that outlives the program's other statics still gives its pages back.
Pool& ThePool() {
    static Pool* pool = new Pool;
    return *pool;
}

void* Allocate(std::size_t size) {
    if (size >= kPageAtLeast && size < kPageBelow) {
        Pool& pool = ThePool();
        std::lock_guard<std::mutex> lock(pool.mutex);
        if (pool.pageSize == 0) pool.pageSize = size;
        if (size == pool.pageSize) {
            if (!pool.freePages.empty()) {
                void* page = pool.freePages.back();
                pool.freePages.pop_back();
                return page;
            }
            void* page = std::malloc(size);
            if (!page) return nullptr;
            try {
                pool.lent.insert(page);
                // Room for every page to come back, so that letting one go never allocates.
                if (pool.freePages.capacity() < pool.lent.size()) {
                    pool.freePages.reserve(2 * pool.lent.size());
                }
            } catch (const std::bad_alloc&) {
                pool.lent.erase(page);
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
        Pool& pool = ThePool();
        std::lock_guard<std::mutex> lock(pool.mutex);
        if (pool.lent.count(block)) {
            pool.freePages.push_back(block);  // within the room reserved when it was made
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
    Pool& pool = ThePool();
    std::lock_guard<std::mutex> lock(pool.mutex);
    for (void* page : pool.freePages) {
        pool.lent.erase(page);
        std::free(page);
    }
    pool.freePages.clear();  // its room stays, for the pages still lent out
}

std::size_t PooledPages() {
    Pool& pool = ThePool();
    std::lock_guard<std::mutex> lock(pool.mutex);
    return pool.freePages.size();
}

}  // namespace redline
