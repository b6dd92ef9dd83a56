// Open devices by handle. Handle values are never reused, so a call with the handle of a
// closed device fails with MMSYSERR_INVALHANDLE instead of reaching a newer device.
#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <unordered_map>

#include "platform/win32/mmsystem.h"
#include "platform/wave/header_queue.h"

namespace morvex::wave {

template <typename Handle, typename Device>
class HandleTable {
 public:
  Handle Add(std::shared_ptr<Device> device) {
    std::lock_guard lock(mutex_);
    uintptr_t id = next_++;
    devices_.emplace(id, std::move(device));
    return reinterpret_cast<Handle>(id);
  }

  // The device stays alive for as long as the caller holds it, even if it is closed meanwhile.
  std::shared_ptr<Device> Find(Handle handle) const {
    std::lock_guard lock(mutex_);
    auto it = devices_.find(reinterpret_cast<uintptr_t>(handle));
    return it == devices_.end() ? nullptr : it->second;
  }

  // Runs `call` on the device, or fails with MMSYSERR_INVALHANDLE.
  template <typename Call>
  MMRESULT With(Handle handle, Call call) const {
    std::shared_ptr<Device> device = Find(handle);
    return device ? call(*device) : MMSYSERR_INVALHANDLE;
  }

  // The same for a call with a buffer header, checked first.
  template <typename Call>
  MMRESULT WithHeader(Handle handle, WAVEHDR* header, UINT headerSize, Call call) const {
    MMRESULT result = CheckHeader(header, headerSize);
    if (result != MMSYSERR_NOERROR) return result;
    return With(handle, [&](Device& device) { return call(device, header); });
  }

  void Remove(Handle handle) {
    std::shared_ptr<Device> removed;  // released after the lock, outside the table
    std::lock_guard lock(mutex_);
    auto it = devices_.find(reinterpret_cast<uintptr_t>(handle));
    if (it == devices_.end()) return;
    removed = std::move(it->second);
    devices_.erase(it);
  }

 private:
  mutable std::mutex mutex_;
  std::unordered_map<uintptr_t, std::shared_ptr<Device>> devices_;
  uintptr_t next_ = 1;
};

}  // namespace morvex::wave
