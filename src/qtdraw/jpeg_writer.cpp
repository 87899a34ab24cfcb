// SPDX-License-Identifier: GPL-3.0-or-later
#include "qtdraw/jpeg_writer.h"

#include <QBuffer>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <vector>

extern "C" {
#include <jpeglib.h>
}

namespace quorin::qtdraw {

namespace {

// libjpeg reports a fatal error by calling error_exit; jump back out of it instead of
// letting it end the program.
struct ErrorManager {
  jpeg_error_mgr base;
  std::jmp_buf jump;
  char message[JMSG_LENGTH_MAX];
};

void ExitToCaller(j_common_ptr info) {
  auto* manager = reinterpret_cast<ErrorManager*>(info->err);
  (*info->err->format_message)(info, manager->message);
  std::longjmp(manager->jump, 1);
}

// Kept outside the function that calls setjmp, so no local object lives across it.
bool Compress(jpeg_compress_struct& info, ErrorManager& errors, const QImage& rgb, unsigned char** out,
              unsigned long* size) {
  if (setjmp(errors.jump)) return false;
  jpeg_create_compress(&info);
  jpeg_mem_dest(&info, out, size);
  info.image_width = static_cast<JDIMENSION>(rgb.width());
  info.image_height = static_cast<JDIMENSION>(rgb.height());
  info.input_components = 3;
  info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_start_compress(&info, TRUE);
  while (info.next_scanline < info.image_height) {
    JSAMPROW row = const_cast<JSAMPROW>(rgb.constScanLine(static_cast<int>(info.next_scanline)));
    jpeg_write_scanlines(&info, &row, 1);
  }
  jpeg_finish_compress(&info);
  return true;
}

}  // namespace

std::optional<std::string> EncodeJpeg(const QImage& image, std::string* error) {
  if (image.isNull()) {
    if (error) *error = "empty image";
    return std::nullopt;
  }
  const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
  jpeg_compress_struct info{};
  ErrorManager errors{};
  info.err = jpeg_std_error(&errors.base);
  errors.base.error_exit = ExitToCaller;
  unsigned char* out = nullptr;
  unsigned long size = 0;
  const bool ok = Compress(info, errors, rgb, &out, &size);
  jpeg_destroy_compress(&info);
  std::optional<std::string> bytes;
  if (ok && out) {
    bytes = std::string(reinterpret_cast<const char*>(out), size);
  } else if (error) {
    *error = errors.message;
  }
  std::free(out);
  return bytes;
}

std::optional<std::string> EncodeBmp(const QImage& image) {
  QByteArray data;
  QBuffer buffer(&data);
  buffer.open(QIODevice::WriteOnly);
  if (!image.save(&buffer, "BMP")) return std::nullopt;
  return data.toStdString();
}

}  // namespace quorin::qtdraw
