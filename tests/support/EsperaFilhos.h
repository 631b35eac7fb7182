// The end of the children a test forks.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <span>
#include <vector>

// Waits for the children until `limite` from now and gives their wait statuses, in their order. A
// child still running then is killed, its status the kill's, and reported as the fatal failure
// "child <index> did not end": call it inside ASSERT_NO_FATAL_FAILURE to stop the test there.
std::vector<int> EsperaFilhos(std::span<const pid_t> filhos, std::chrono::steady_clock::duration limite);
