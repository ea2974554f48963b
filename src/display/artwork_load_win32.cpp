#include "display/artwork_load_win32.h"

#include <objidl.h>
// Keep after objidl.h, which it builds on.
#include <gdiplus.h>

#include <string>

#include "display/artwork_fit.h"
#include "display/dib_section_win32.h"
#include "settings/display_item.h"

namespace sabla {
namespace {

namespace flat = Gdiplus::DllExports;

class GdipImage {
 public:
  explicit GdipImage(const std::wstring& path) {
    if (flat::GdipLoadImageFromFile(path.c_str(), &image_) != Gdiplus::Ok) image_ = nullptr;
  }
  ~GdipImage() {
    if (image_) flat::GdipDisposeImage(image_);
  }
  GdipImage(const GdipImage&) = delete;
  GdipImage& operator=(const GdipImage&) = delete;

  Gdiplus::GpImage* get() const { return image_; }
  Size size() const {
    UINT width = 0;
    UINT height = 0;
    if (!image_ || flat::GdipGetImageWidth(image_, &width) != Gdiplus::Ok ||
        flat::GdipGetImageHeight(image_, &height) != Gdiplus::Ok) {
      return Size{};
    }
    // GDI cannot make bitmaps anywhere near this size; such an image is not drawn.
    constexpr UINT kLargestSide = 0x7FFF;
    if (width > kLargestSide || height > kLargestSide) return Size{};
    return Size{static_cast<int32_t>(width), static_cast<int32_t>(height)};
  }

 private:
  Gdiplus::GpImage* image_ = nullptr;
};

bool draw_image(HDC dc, const GdipImage& image, Size size) {
  Gdiplus::GpGraphics* graphics = nullptr;
  if (flat::GdipCreateFromHDC(dc, &graphics) != Gdiplus::Ok) return false;
  const bool drawn = flat::GdipDrawImageRectI(graphics, image.get(), 0, 0, size.width,
                                              size.height) == Gdiplus::Ok;
  flat::GdipDeleteGraphics(graphics);
  return drawn;
}

Size box_of(const DisplayItem& item) {
  return Size{item.rect.right - item.rect.left, item.rect.bottom - item.rect.top};
}

}  // namespace

void release_artwork(WindowDrawing& drawing) {
  drawing.surfaces[static_cast<size_t>(MemoryDcRole::kArtwork)].reset();
  drawing.surfaces[static_cast<size_t>(MemoryDcRole::kArtworkCache)].reset();
}

std::optional<LoadedArtwork> render_artwork_file(WindowDrawing& drawing, std::wstring_view path,
                                                 const DisplayItem& item) {
  release_artwork(drawing);
  if (!drawing.gdiplus.token()) return std::nullopt;
  const GdipImage image{std::wstring(path)};
  const Size image_size = image.size();
  if (image_size.width == 0 || image_size.height == 0) return std::nullopt;
  const Size fitted = artwork_target_size(image_size, box_of(item), item.keep_aspect != 0);

  const HDC artwork_dc = drawing.memory_dcs[static_cast<size_t>(MemoryDcRole::kArtwork)].get();
  const HDC cache_dc = drawing.memory_dcs[static_cast<size_t>(MemoryDcRole::kArtworkCache)].get();
  SurfaceBitmap& artwork = drawing.surfaces[static_cast<size_t>(MemoryDcRole::kArtwork)];
  SurfaceBitmap& cache = drawing.surfaces[static_cast<size_t>(MemoryDcRole::kArtworkCache)];
  const HDC reference = drawing.window_dc.get();
  artwork = SurfaceBitmap(artwork_dc, create_dib_section(reference, image_size));
  if (!artwork || !draw_image(artwork_dc, image, image_size)) {
    release_artwork(drawing);
    return std::nullopt;
  }
  // A box of no size shows nothing, but the image stays loaded for when the design changes.
  cache = SurfaceBitmap(cache_dc, create_dib_section(reference, fitted));
  if (cache) {
    StretchBlt(cache_dc, 0, 0, fitted.width, fitted.height, artwork_dc, 0, 0, image_size.width,
               image_size.height, SRCCOPY);
  }
  return LoadedArtwork{image_size, cache ? fitted : Size{}};
}

}  // namespace sabla
