#include "analysis/parallel_workers.hpp"

#include <algorithm>
#include <exception>
#include <thread>
#include <vector>

namespace trelvik {

int OptimisationWorkerCount() {
  const unsigned cores = std::thread::hardware_concurrency();
  return cores >= 2 ? 2 : 1;
}

void RunOnWorkers(int count, const std::function<void(int worker)>& body) {
  std::vector<std::thread> threads;
  int started = 1;
  for (int worker = 1; worker < count; ++worker) {
    try {
      threads.emplace_back(body, worker);
      ++started;
    } catch (const std::exception&) {
      break;
    }
  }
  body(0);
  for (int worker = started; worker < count; ++worker) body(worker);
  for (std::thread& thread : threads) thread.join();
}

}  // namespace trelvik
