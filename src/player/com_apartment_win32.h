#pragma once
#include <objbase.h>
#include <windows.h>

namespace sabla {

// Enters a single-threaded COM apartment on this thread for the owner's lifetime, the way every
// player operation brackets its COM use. A thread that is already in the multi-threaded
// apartment can use COM too, but must not be left: only a successful CoInitialize (S_OK, or
// S_FALSE when the thread already was in one) is paired with CoUninitialize.
class ComApartment {
 public:
  ComApartment() noexcept : result_(CoInitialize(nullptr)) {}
  ~ComApartment() {
    if (SUCCEEDED(result_)) CoUninitialize();
  }
  ComApartment(const ComApartment&) = delete;
  ComApartment& operator=(const ComApartment&) = delete;

  // Whether COM can be used on this thread now.
  bool usable() const noexcept { return SUCCEEDED(result_) || result_ == RPC_E_CHANGED_MODE; }
  HRESULT result() const noexcept { return result_; }

 private:
  HRESULT result_;
};

}  // namespace sabla
