#include "platform/com/taskmem.h"

#include <atomic>
#include <cstdlib>

namespace {
std::atomic<int32_t> outstanding_blocks{0};
}

void* CoTaskMemAlloc(size_t size) {
  void* block = malloc(size == 0 ? 1 : size);
  if (block != nullptr) ++outstanding_blocks;
  return block;
}

void* CoTaskMemRealloc(void* block, size_t size) {
  if (block == nullptr) return CoTaskMemAlloc(size);
  if (size == 0) {
    CoTaskMemFree(block);
    return nullptr;
  }
  return realloc(block, size);
}

void CoTaskMemFree(void* block) {
  if (block == nullptr) return;
  --outstanding_blocks;
  free(block);
}

int32_t TaskMemoryOutstandingBlocks() { return outstanding_blocks.load(); }
