#include "logging/rig_poller.h"

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <utility>

namespace kontura {

// Owned jointly by the poller and its thread: a thread left to finish a
// stuck reading still finds its rig and its lock.
struct RigPoller::Shared {
  std::unique_ptr<Rig> rig;
  int poll_ms = 500;
  std::mutex mutex;
  std::condition_variable wake;  // the stop request, and the thread's end
  bool stop = false;
  bool finished = false;
  bool fresh = false;
  RigReading latest;

  void Run() {
    std::unique_lock<std::mutex> lock(mutex);
    while (!stop) {
      lock.unlock();
      RigReading r = rig->Read();  // may wait for the rig's time-out
      lock.lock();
      latest = std::move(r);
      fresh = true;
      wake.wait_for(lock, std::chrono::milliseconds(poll_ms), [this] { return stop; });
    }
    lock.unlock();
    rig.reset();  // the connection closes on this thread, as it was used
    lock.lock();
    finished = true;
    wake.notify_all();
  }
};

RigPoller::RigPoller(std::unique_ptr<Rig> rig, int poll_ms) : m_shared(std::make_shared<Shared>()) {
  m_shared->rig = std::move(rig);
  if (poll_ms > 0) m_shared->poll_ms = poll_ms;
  std::thread([shared = m_shared] { shared->Run(); }).detach();
}

RigPoller::~RigPoller() {
  std::unique_lock<std::mutex> lock(m_shared->mutex);
  m_shared->stop = true;
  m_shared->wake.notify_all();
  m_shared->wake.wait_for(lock, std::chrono::milliseconds(kStopWaitMs), [this] { return m_shared->finished; });
}

bool RigPoller::Take(RigReading* reading) {
  std::lock_guard<std::mutex> lock(m_shared->mutex);
  if (!m_shared->fresh) return false;
  *reading = m_shared->latest;
  m_shared->fresh = false;
  return true;
}

}  // namespace kontura
