// The pages of the XML trees a comparison builds come from one pool that all its threads share.
// A comparison lets go of pages as it writes (the original's paragraphs as they are used up, the
// revised ones as they are merged anew) while the result takes new ones; malloc keeps a heap for
// each thread, and a page let go in the heap of the thread that read it would not serve the
// thread that builds the result.
#pragma once

#include <cstddef>

namespace redline {

// Lends the XML library's pages from the pool from now on (the first call; later ones do
// nothing). Blocks the library had before are taken back as well: all are malloc's.
void SharePages();

// Gives the pool's free pages back to malloc, so that nothing is held between comparisons.
void ReleasePages();

// How many free pages the pool holds.
std::size_t PooledPages();

}  // namespace redline
