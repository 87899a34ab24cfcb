// SPDX-License-Identifier: GPL-3.0-or-later
// Chart images as JPEG files, encoded with libjpeg's default settings.
#pragma once

#include <QImage>
#include <optional>
#include <string>

namespace quorin::qtdraw {

// The JPEG bytes of the image; nothing (and `error` says why) when encoding fails.
std::optional<std::string> EncodeJpeg(const QImage& image, std::string* error = nullptr);

// The BMP bytes of the image.
std::optional<std::string> EncodeBmp(const QImage& image);

}  // namespace quorin::qtdraw
