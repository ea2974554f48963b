#pragma once
#include <unknwn.h>
#include <windows.h>

#include <utility>

namespace sabla {

// An owned COM interface pointer: one reference, released when the owner goes. Move-only, so a
// reference is never released twice or silently shared.
template <class T>
class ComPtr {
 public:
  ComPtr() = default;
  // Takes over a reference the caller already holds.
  explicit ComPtr(T* pointer) noexcept : pointer_(pointer) {}
  // Adds a reference of its own to `pointer`.
  static ComPtr copy_of(T* pointer) noexcept {
    if (pointer) pointer->AddRef();
    return ComPtr(pointer);
  }
  ~ComPtr() { reset(); }
  ComPtr(ComPtr&& other) noexcept : pointer_(other.release()) {}
  ComPtr& operator=(ComPtr&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }
  ComPtr(const ComPtr&) = delete;
  ComPtr& operator=(const ComPtr&) = delete;

  T* get() const noexcept { return pointer_; }
  T* operator->() const noexcept { return pointer_; }
  explicit operator bool() const noexcept { return pointer_ != nullptr; }

  // For functions that hand out a new reference: drops the current one first.
  T** put() noexcept {
    reset();
    return &pointer_;
  }
  void** put_void() noexcept { return reinterpret_cast<void**>(put()); }

  T* release() noexcept { return std::exchange(pointer_, nullptr); }
  void reset(T* pointer = nullptr) noexcept {
    T* old = std::exchange(pointer_, pointer);
    if (old) old->Release();
  }

  // Asks for the interface `iid` and keeps it as a `U`: the caller vouches that the interface
  // derives from `U` (a dual interface can be held as IDispatch).
  template <class U>
  HRESULT query(REFIID iid, ComPtr<U>& out) const noexcept {
    if (!pointer_) {
      out.reset();
      return E_POINTER;
    }
    const HRESULT hr = pointer_->QueryInterface(iid, out.put_void());
    if (FAILED(hr)) out.reset();
    return hr;
  }

 private:
  T* pointer_ = nullptr;
};

}  // namespace sabla
