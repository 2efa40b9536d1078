// The contact sheet drawn with cairo (scaling and labels) and written through the PNG writer, so it
// carries no time stamp either.
#include "tools/headless/contact_sheet.h"

#include <cairo.h>

#include <cstdlib>

#include "app/timeline.h"
#include "tools/common/png_writer.h"
#include "tools/headless/frame_pixels.h"

namespace headless {
namespace {

constexpr int kEndScene = kSceneCount;

constexpr int kColumns = 4;
constexpr int kCellWidth = 320;
constexpr int kCellHeight = 240;
constexpr int kLabelHeight = 24;
constexpr int kMargin = 8;

// Copies an 800x600 RGB frame into a cairo surface of its own.
cairo_surface_t* frameSurface(const std::vector<uint8_t>& rgb) {
  cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_RGB24, kFrameWidth, kFrameHeight);
  if (cairo_surface_status(s) != CAIRO_STATUS_SUCCESS) return s;
  cairo_surface_flush(s);
  unsigned char* data = cairo_image_surface_get_data(s);
  const int stride = cairo_image_surface_get_stride(s);
  for (int y = 0; y < kFrameHeight; ++y) {
    auto* out = reinterpret_cast<uint32_t*>(data + y * stride);
    const uint8_t* in = rgb.data() + size_t(y) * kFrameWidth * 3;
    for (int x = 0; x < kFrameWidth; ++x, in += 3)
      out[x] = (uint32_t(in[0]) << 16) | (uint32_t(in[1]) << 8) | in[2];
  }
  cairo_surface_mark_dirty(s);
  return s;
}

void drawCell(cairo_t* cr, const SheetCell& cell, int x, int y) {
  if (cell.rgb.size() == size_t(kFrameWidth) * kFrameHeight * 3) {
    cairo_surface_t* frame = frameSurface(cell.rgb);
    cairo_save(cr);
    cairo_translate(cr, x, y);
    cairo_scale(cr, double(kCellWidth) / kFrameWidth, double(kCellHeight) / kFrameHeight);
    cairo_set_source_surface(cr, frame, 0, 0);
    cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_GOOD);
    cairo_paint(cr);
    cairo_restore(cr);
    cairo_surface_destroy(frame);
  }
  cairo_set_source_rgb(cr, 0.9, 0.9, 0.9);
  cairo_move_to(cr, x + 4, y + kCellHeight + kLabelHeight - 7);
  cairo_show_text(cr, cell.label.c_str());
}

}  // namespace

std::vector<SheetPick> pickSheetFrames(const std::vector<uint32_t>& times) {
  std::vector<SheetPick> picks;
  for (int scene = 0; scene < 6; ++scene) {
    const uint32_t low = scene == 0 ? 0 : sceneEnds[scene - 1];
    const uint32_t middle = low + (sceneEnds[scene] - low) / 2;
    size_t best = times.size();
    for (size_t i = 0; i < times.size(); ++i) {
      if (sceneIndexAt(times[i]) != scene) continue;
      if (best == times.size() ||
          std::llabs(int64_t(times[i]) - middle) < std::llabs(int64_t(times[best]) - middle))
        best = i;
    }
    if (best == times.size()) continue;
    picks.push_back(
        {best, "scene " + std::to_string(scene + 1) + "  " + std::to_string(times[best]) + " ms"});
  }
  if (!times.empty() && sceneIndexAt(times.back()) == kEndScene)
    picks.push_back({times.size() - 1, "end  " + std::to_string(times.back()) + " ms"});
  return picks;
}

bool writeContactSheet(const std::string& path, const std::vector<SheetCell>& cells,
                       std::string& error) {
  const int count = int(cells.size());
  const int columns = count < kColumns ? (count > 0 ? count : 1) : kColumns;
  const int rows = count > 0 ? (count + columns - 1) / columns : 1;
  const int width = kMargin + columns * (kCellWidth + kMargin);
  const int height = kMargin + rows * (kCellHeight + kLabelHeight + kMargin);

  cairo_surface_t* sheet = cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height);
  cairo_t* cr = cairo_create(sheet);
  cairo_set_source_rgb(cr, 0.12, 0.12, 0.12);
  cairo_paint(cr);
  cairo_select_font_face(cr, "DejaVu Sans", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
  cairo_set_font_size(cr, 14.0);
  for (int i = 0; i < count; ++i)
    drawCell(cr, cells[size_t(i)], kMargin + (i % columns) * (kCellWidth + kMargin),
             kMargin + (i / columns) * (kCellHeight + kLabelHeight + kMargin));
  cairo_destroy(cr);
  cairo_surface_flush(sheet);

  bool ok = cairo_surface_status(sheet) == CAIRO_STATUS_SUCCESS;
  std::vector<uint8_t> rgb;
  if (ok) {
    const unsigned char* data = cairo_image_surface_get_data(sheet);
    const int stride = cairo_image_surface_get_stride(sheet);
    rgb.reserve(size_t(width) * height * 3);
    for (int y = 0; y < height; ++y) {
      const auto* row = reinterpret_cast<const uint32_t*>(data + y * stride);
      for (int x = 0; x < width; ++x) {
        rgb.push_back(uint8_t(row[x] >> 16));
        rgb.push_back(uint8_t(row[x] >> 8));
        rgb.push_back(uint8_t(row[x]));
      }
    }
  }
  cairo_surface_destroy(sheet);
  if (!ok) {
    error = "cannot draw the contact sheet";
    return false;
  }
  return writePng(path, rgb.data(), width, height, error);
}

}  // namespace headless
