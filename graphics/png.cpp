#include "graphics/png.h"

#include <png.h>

#include <cstdio>
#include <memory>

namespace {

struct cFileCloser {
  void operator()(FILE* f) const {
    if (f) std::fclose(f);
  }
};

void appendToVector(png_structp png, png_bytep data, png_size_t length) {
  auto* out = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(png));
  out->insert(out->end(), data, data + length);
}
void flushNothing(png_structp) {}

// libpng reports errors by long jump; messages go nowhere, the caller gets false.
void quietWarning(png_structp, png_const_charp) {}

}  // namespace

std::vector<uint8_t> encodePng(const CWReadOnlyUnpackedSprite& surface, const cColourTable& colours) {
  std::vector<uint8_t> out;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, quietWarning);
  if (!png) return {};
  png_infop info = png_create_info_struct(png);
  if (!info || setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, info ? &info : nullptr);
    return {};
  }
  const cSpriteSize size = surface.size();
  png_set_write_fn(png, &out, appendToVector, flushNothing);
  png_set_IHDR(png, info, static_cast<png_uint_32>(size.width), static_cast<png_uint_32>(size.height), 8,
               PNG_COLOR_TYPE_PALETTE, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  png_color palette[256];
  for (int i = 0; i < 256; ++i) palette[i] = {colours[i].red, colours[i].green, colours[i].blue};
  png_set_PLTE(png, info, palette, 256);
  png_set_compression_level(png, 9);
  png_write_info(png, info);
  for (int y = 0; y < size.height; ++y)
    png_write_row(png, const_cast<png_bytep>(surface.pixelAddress(0, y)));
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return out;
}

bool writePng(const std::string& path, const CWReadOnlyUnpackedSprite& surface, const cColourTable& colours,
              std::string& error) {
  const std::vector<uint8_t> bytes = encodePng(surface, colours);
  if (bytes.empty()) {
    error = "Billedet kunne ikke laves om til PNG.";
    return false;
  }
  std::unique_ptr<FILE, cFileCloser> f(std::fopen(path.c_str(), "wb"));
  if (!f || std::fwrite(bytes.data(), 1, bytes.size(), f.get()) != bytes.size() ||
      std::fclose(f.release()) != 0) {
    error = "Kan ikke skrive filen " + path + ".";
    return false;
  }
  return true;
}

bool readPngRgba(const std::string& path, cRgbaPicture& picture, std::string& error) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&image, path.c_str())) {
    error = "Kan ikke læse PNG-filen " + path + ": " + image.message;
    return false;
  }
  image.format = PNG_FORMAT_RGBA;
  picture.width = static_cast<int>(image.width);
  picture.height = static_cast<int>(image.height);
  picture.rgba.assign(PNG_IMAGE_SIZE(image), 0);
  if (!png_image_finish_read(&image, nullptr, picture.rgba.data(), 0, nullptr)) {
    error = "Kan ikke læse PNG-filen " + path + ": " + image.message;
    png_image_free(&image);
    return false;
  }
  return true;
}
