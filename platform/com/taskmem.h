// The COM task allocator: the memory that crosses an interface. A server allocates the arrays it
// returns inside output records with CoTaskMemAlloc and the caller frees them with CoTaskMemFree;
// BSTRs and the texts of StringFromCLSID come from here too.
//
// The system mixes two allocators: arrays that a data class allocates with new[] are released with
// delete[], arrays that a server returns are released with CoTaskMemFree. The blocks come from the
// malloc family, so in the sanitizer build a block released with the wrong call is reported as an
// alloc-dealloc mismatch.
//
// The process-wide count of outstanding blocks (allocated and not yet freed, BSTRs included) lets
// tests show that every returned array was freed. All calls may run on any thread.
#pragma once

#include <cstddef>
#include <cstdint>

// A block of at least `size` bytes (a zero size still gives a distinct block), or null.
void* CoTaskMemAlloc(size_t size);
// Null `block` allocates; a zero `size` frees the block and returns null; a failure returns null
// and leaves the block as it was.
void* CoTaskMemRealloc(void* block, size_t size);
// Null is accepted and ignored.
void CoTaskMemFree(void* block);

// The number of task-allocator blocks allocated and not yet freed in this process.
int32_t TaskMemoryOutstandingBlocks();
