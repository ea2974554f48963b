#pragma once
// Move-only owners for the few Windows handles the stand-in holds.
#include <windows.h>

#include <utility>

namespace standin {

// Owns one handle and gives it back to the system with Traits::close.
template <typename Traits>
class UniqueHandle {
 public:
  using Handle = typename Traits::Handle;

  UniqueHandle() = default;
  explicit UniqueHandle(Handle handle) : handle_(handle) {}
  ~UniqueHandle() { reset(); }
  UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.release()) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;

  Handle get() const { return handle_; }
  explicit operator bool() const { return handle_ != Handle{}; }
  Handle release() { return std::exchange(handle_, Handle{}); }
  void reset(Handle handle = Handle{}) {
    if (handle_ != Handle{}) Traits::close(handle_);
    handle_ = handle;
  }

 private:
  Handle handle_{};
};

struct ModuleTraits {
  using Handle = HMODULE;
  static void close(HMODULE h) { FreeLibrary(h); }
};
struct WindowTraits {
  using Handle = HWND;
  // The window may already be gone when its parent or the user closed it.
  static void close(HWND h) {
    if (IsWindow(h)) DestroyWindow(h);
  }
};
struct GdiObjectTraits {
  using Handle = HGDIOBJ;
  static void close(HGDIOBJ h) { DeleteObject(h); }
};
struct MemoryDcTraits {
  using Handle = HDC;
  static void close(HDC h) { DeleteDC(h); }
};
struct LocalMemoryTraits {
  using Handle = HLOCAL;
  static void close(HLOCAL h) { LocalFree(h); }
};

using UniqueModule = UniqueHandle<ModuleTraits>;
using UniqueWindow = UniqueHandle<WindowTraits>;
using UniqueGdiObject = UniqueHandle<GdiObjectTraits>;
using UniqueMemoryDc = UniqueHandle<MemoryDcTraits>;
using UniqueLocalMemory = UniqueHandle<LocalMemoryTraits>;

// A window's device context from GetDC, released to the same window.
class WindowDc {
 public:
  enum Area { kClientArea, kWholeWindow };
  explicit WindowDc(HWND window, Area area = kClientArea)
      : window_(window), dc_(area == kWholeWindow ? GetWindowDC(window) : GetDC(window)) {}
  ~WindowDc() {
    if (dc_) ReleaseDC(window_, dc_);
  }
  WindowDc(WindowDc&& other) noexcept
      : window_(other.window_), dc_(std::exchange(other.dc_, nullptr)) {}
  WindowDc& operator=(WindowDc&&) = delete;
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;

  HDC get() const { return dc_; }
  explicit operator bool() const { return dc_ != nullptr; }

 private:
  HWND window_;
  HDC dc_;
};

// Selects an object into a device context for as long as it lives, then restores the old one.
class SelectedObject {
 public:
  SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
  ~SelectedObject() {
    if (previous_ && previous_ != HGDI_ERROR) SelectObject(dc_, previous_);
  }
  SelectedObject(const SelectedObject&) = delete;
  SelectedObject& operator=(const SelectedObject&) = delete;

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

// A registered window class, unregistered when the owner goes.
class RegisteredClass {
 public:
  RegisteredClass() = default;
  explicit RegisteredClass(const WNDCLASSEXW& wc)
      : instance_(wc.hInstance), atom_(RegisterClassExW(&wc)) {}
  ~RegisteredClass() {
    if (atom_) UnregisterClassW(MAKEINTATOM(atom_), instance_);
  }
  RegisteredClass(RegisteredClass&& other) noexcept
      : instance_(other.instance_), atom_(std::exchange(other.atom_, 0)) {}
  RegisteredClass& operator=(RegisteredClass&& other) noexcept {
    std::swap(instance_, other.instance_);
    std::swap(atom_, other.atom_);
    return *this;
  }
  RegisteredClass(const RegisteredClass&) = delete;
  RegisteredClass& operator=(const RegisteredClass&) = delete;

  explicit operator bool() const { return atom_ != 0; }

 private:
  HINSTANCE instance_ = nullptr;
  ATOM atom_ = 0;
};

}  // namespace standin
