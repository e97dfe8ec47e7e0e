#pragma once
// Runs one body on up to two workers: the calling thread and one more.
#include <functional>

namespace trelvik {

// The number of workers the optimisation splits its work over (1 or 2).
int OptimisationWorkerCount();

// Calls body(0) .. body(count - 1), body(0) on the calling thread and the
// others on threads of their own, and returns when all have returned. A
// worker whose thread cannot be started runs afterwards on the calling
// thread, so the bodies must never wait for one another.
void RunOnWorkers(int count, const std::function<void(int worker)>& body);

}  // namespace trelvik
