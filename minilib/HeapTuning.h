// Turns on the low-fragmentation front end for every heap of the process. Windows does so
// by default for the process heap; Wine's C runtime heap starts without it, and the log's
// per-line allocations from several threads then queue on one heap lock.
#pragma once

namespace minilib {

void EnableLowFragmentationHeaps();

}  // namespace minilib
