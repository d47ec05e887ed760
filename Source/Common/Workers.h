// Pure computation shared out over threads: the caller's thread and up to
// threads - 1 more each run the same work, which takes its jobs from a shared
// counter until none is left; all have ended when this returns. A worker
// calls no suite and writes nothing but its own rooms and the jobs it takes.
#pragma once

#include <exception>
#include <thread>
#include <vector>

template <typename Work>
void runOnWorkers(unsigned threads, Work& work)
{
    std::vector<std::thread> workers;
    try {
        workers.reserve(threads);
        for (unsigned t = 1; t < threads; t++)
            workers.emplace_back([&work]() { work(); });
    } catch (const std::exception&) {
        // No more threads to be had: those there are do the work.
    }
    work();
    for (std::thread& worker : workers)
        worker.join();
}
