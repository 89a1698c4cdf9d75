#include "console/worker_thread.h"

#include "common/threads/manual_reset_event.h"

namespace {

// The parameter block lives on the starter's stack: the thread copies it, then signals.
struct StartBlock {
  CSorrelmedeDlg* window;
  const WindowCalls* calls;
  const WorkerBody* body;
  ManualResetEvent* started;
};

void runWorker(std::stop_token stop, const StartBlock* block) {
  const WorkerBody body = *block->body;
  WorkerContext context(block->window, *block->calls, std::move(stop));
  block->started->set();  // block is gone from here on
  if (body) body(context);
}

}  // namespace

void WorkerThread::start(const WorkerBody& body, CSorrelmedeDlg* window, const WindowCalls& calls) {
  stopAndJoin();
  ManualResetEvent started;
  const StartBlock block{window, &calls, &body, &started};
  thread_ = std::jthread(runWorker, &block);
  started.wait();
}

void WorkerThread::stopAndJoin() {
  if (!thread_.joinable()) return;
  thread_.request_stop();
  thread_.join();
}
